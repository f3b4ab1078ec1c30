// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta fit`: its options, its errors and exit statuses, and its JSON on a light curve the
// model made.
#include "cli/fit_command.h"
#include "fit/curve_model.h"
#include "form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

namespace orvanta::cli {
namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out, err;
};

Result run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runFitCommand(args, out, err);
    return {status, out.str(), err.str()};
}

/// A phased light curve of the design-time system with radius A 1.1 times the default,
/// 0.005 mag of noise and one outlier, with an error column.
fs::path curveFile() {
    const fs::path path =
        fs::temp_directory_path() / ("orvanta-fit-" + std::to_string(getpid()) + ".txt");
    auto f = std::make_unique<Form1>();
    f->Text9.Text = Str(Val(f->Text9.Text) * 1.1);
    fit::BoxModel model(*f, {});
    std::vector<double> phase, flux;
    for (int i = 0; i < 150; ++i)
        phase.push_back(i / 150.0);
    model.flux({}, phase, flux);
    std::mt19937_64 rng(5);
    std::normal_distribution<double> noise(0, 0.005);
    std::ofstream out(path);
    out << "phase magnitude error\n";
    for (std::size_t i = 0; i < phase.size(); ++i)
        out << phase[i] << ' ' << -2.512 * std::log10(flux[i]) + noise(rng) + (i == 40 ? 0.3 : 0)
            << " 0.005\n";
    return path;
}

TEST(FitCommand, PrintsExactlyTheNamedJsonKeys) {
    const fs::path file = curveFile();
    const Result r = run({file.string(), "--free", "radius-a,mass-a", "--json"});
    fs::remove(file);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string& j = r.out;
    EXPECT_EQ(j.rfind("{\"parameters\":{\"radius-a\":{\"value\":", 0), 0u) << j;
    for (const char* key : {"\"chi2_reduced\":", "\"rms\":", "\"robust_rms\":", "\"points\":150",
                            "\"iterations\":", "\"correlations\":{}"})
        EXPECT_NE(j.find(key), std::string::npos) << key << " in " << j;
    // The masses: no error bar, a note why.
    EXPECT_NE(j.find("\"mass-a\":{\"value\":"), std::string::npos) << j;
    EXPECT_NE(j.find("\"error\":null,\"note\":\"the light curve"), std::string::npos) << j;
    // The radius comes back near 1.1 times the default.
    const std::size_t at = j.find("\"value\":") + 8;
    const double radius = std::stod(j.substr(at));
    Form1 defaults;
    EXPECT_NEAR(radius / Val(defaults.Text9.Text), 1.1, 0.02);
    EXPECT_EQ(j.back(), '\n');
    EXPECT_EQ(std::count(j.begin(), j.end(), '\n'), 1);
}

TEST(FitCommand, ReadableTextWithOutliersAndErrors) {
    const fs::path file = curveFile();
    const Result r = run({file.string(), "--free=radius-a"});
    fs::remove(file);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(": 150 points, 1 outlier left out"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("radius-a = "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" +- "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("reduced chi-square"), std::string::npos) << r.out;
}

TEST(FitCommand, CurvesSwitchWithoutAValueTakesNoArgumentAlong) {
    // --rv takes no value in orvanta curve: the option after it stays an option of the fit.
    const fs::path file = curveFile();
    const Result r = run({file.string(), "--rv", "--free=radius-a", "--json"});
    fs::remove(file);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"parameters\":{\"radius-a\":", 0), 0u) << r.out;
}

/// Exit status 2 and exactly one line on standard error, nothing on standard output.
TEST(FitCommand, RefusesWithOneLine) {
    const fs::path file = curveFile();
    const std::vector<std::vector<std::string>> bad = {
        {},
        {file.string()},
        {file.string(), "--free", "radius-c"},
        {file.string(), "--free", "radius-a,"},
        {file.string(), "--free", "radius-a", "--period", "-3"},
        {file.string(), "--free", "radius-a", "--radius-a", "two"},
        {file.string(), "--free", "radius-a", "--json=yes"},
        {file.string(), "other.txt", "--free", "radius-a"},
        {(fs::temp_directory_path() / "orvanta-no-such-file.txt").string(), "--free", "radius-a"},
        {file.string(), "--free", "radius-a", "--magnitude-a", "1", "--temperature-a", "9000"},
        {file.string(), "--free", "radius-a", "--distance", "0"},
    };
    for (const auto& args : bad) {
        const Result r = run(args);
        std::string shown;
        for (const std::string& a : args)
            shown += a + " ";
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << shown << r.err;
        EXPECT_EQ(r.err.rfind("orvanta fit: ", 0), 0u) << r.err;
    }
    fs::remove(file);
    const Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--free NAME[,NAME...]"), std::string::npos);
    EXPECT_NE(help.out.find("incline3"), std::string::npos);
}

#ifdef ORVANTA_BINARY
/// The built program hands `fit` to the command before any window exists.
TEST(FitCommand, TheProgramRunsIt) {
    const fs::path file = curveFile();
    const std::string command = std::string(ORVANTA_BINARY) + " fit " + file.string() +
                                " --free radius-a --json > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    fs::remove(file);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

} // namespace
} // namespace orvanta::cli
