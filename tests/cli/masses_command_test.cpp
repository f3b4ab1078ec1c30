// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta masses`: its JSON keys, its errors and exit statuses, on velocities that
// `orvanta curve --rv` made and noise was added to.
#include "cli/masses_command.h"

#include "cli/curve_command.h"

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
    const int status = runMassesCommand(args, out, err);
    return {status, out.str(), err.str()};
}

/// `orvanta curve --rv --gamma 8 --eccentricity 0.1 --incline3 25` (the design-time pair),
/// every 40th row's time and velocities with 2 km/s of noise and an error column; without
/// star B's velocities for `singleLined`.
fs::path velocityFile(bool singleLined = false) {
    std::ostringstream table, err;
    EXPECT_EQ(runCurveCommand({"--rv", "--gamma", "8", "--eccentricity", "0.1", "--incline3", "25"},
                              table, err),
              0);
    const fs::path path =
        fs::temp_directory_path() / ("orvanta-masses-" + std::to_string(getpid()) + ".csv");
    std::ofstream out(path);
    out << "HJD,rv_a_km_s,rv_b_km_s,error_km_s\n";
    std::istringstream in(table.str());
    std::mt19937_64 rng(3);
    std::normal_distribution<double> noise(0, 2);
    int row = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("# period")) out << line << '\n';
        if (line.empty() || line[0] == '#' || line.starts_with("phase") || row++ % 40 != 0)
            continue;
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string x; std::getline(fields, x, ',');)
            f.push_back(x);
        out.precision(10);
        out << 2458000 + std::stod(f[1]) << ',' << std::stod(f[5]) + noise(rng) << ',';
        if (!singleLined) out << std::stod(f[6]) + noise(rng);
        out << ",2\n";
    }
    return path;
}

double valueOf(const std::string& json, const std::string& key, const char* part = "value") {
    const std::size_t at = json.find("\"" + key + "\":{\"" + part + "\":");
    if (at == std::string::npos) return NAN;
    return std::stod(json.substr(at + key.size() + std::string(part).size() + 7));
}

double errorOf(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\":{\"value\":");
    if (at == std::string::npos) return NAN;
    const std::size_t e = json.find("\"error\":", at);
    return std::stod(json.substr(e + 8));
}

TEST(MassesCommand, PrintsTheNamedKeysAndGivesTheModelsMassesBack) {
    const fs::path file = velocityFile();
    const Result r = run({file.string(), "--eccentricity", "0.1", "--incline3=25", "--json"});
    fs::remove(file);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string& j = r.out;
    EXPECT_EQ(j.rfind("{\"k_a_km_s\":{\"value\":", 0), 0u) << j;
    for (const char* key :
         {"k_a_km_s", "k_b_km_s", "gamma_km_s", "mass_a_sin3i", "mass_b_sin3i", "a_sin_i_rsun"}) {
        EXPECT_TRUE(std::isfinite(valueOf(j, key))) << key << " in " << j;
        EXPECT_GT(errorOf(j, key), 0) << key << " in " << j;
    }
    // The design-time pair: 3.59 and 0.8 solar masses, 15 solar radii apart.
    EXPECT_NEAR(valueOf(j, "mass_a"), 3.59, 3 * errorOf(j, "mass_a"));
    EXPECT_NEAR(valueOf(j, "mass_b"), 0.8, 3 * errorOf(j, "mass_b"));
    EXPECT_NEAR(valueOf(j, "a_rsun"), 15, 3 * errorOf(j, "a_rsun"));
    EXPECT_NEAR(valueOf(j, "gamma_km_s"), 8, 3 * errorOf(j, "gamma_km_s"));
    EXPECT_NE(j.find("\"weighted\":true"), std::string::npos);
    EXPECT_EQ(std::count(j.begin(), j.end(), '\n'), 1);
}

TEST(MassesCommand, ReadableTextAndItsOutputFile) {
    const fs::path file = velocityFile();
    const fs::path out = file.string() + ".out";
    const Result r =
        run({file.string(), "--eccentricity", "0.1", "--incline3", "25", "-o", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    std::ifstream in(out);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fs::remove(file);
    fs::remove(out);
    EXPECT_NE(text.find("velocities of star A"), std::string::npos) << text;
    for (const char* part : {"K_A ", "K_B ", "gamma ", "M_A sin^3 i = ", "a sin i ", " +- ",
                             "with the model's inclination", "reduced chi-square"})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
}

/// Exit status 2 and exactly one line on standard error, nothing on standard output.
TEST(MassesCommand, RefusesWithOneLine) {
    const fs::path file = velocityFile();
    const fs::path single = fs::temp_directory_path() / "orvanta-masses-single.csv";
    fs::rename(velocityFile(true), single);
    const std::vector<std::vector<std::string>> bad = {
        {},
        {file.string(), "other.txt"},
        {file.string(), "--period", "0"},
        {file.string(), "--json=yes"},
        {file.string(), "--radius-a", "two"},
        {file.string(), "--distance", "0"},
        {file.string(), "--incline2", "90"},
        {single.string()},
        {(fs::temp_directory_path() / "orvanta-no-such-file.txt").string()},
        {fs::temp_directory_path().string()},
    };
    for (const auto& args : bad) {
        const Result r = run(args);
        std::string shown;
        for (const std::string& a : args)
            shown += a + " ";
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << shown << r.err;
        EXPECT_EQ(r.err.rfind("orvanta masses: ", 0), 0u) << r.err;
    }
    fs::remove(file);
    fs::remove(single);
    EXPECT_EQ(run({}).err, "orvanta masses: no radial-velocity file given (see 'orvanta masses "
                           "--help')\n");
    const Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("mass_a_sin3i"), std::string::npos);
}

/// The lessons' velocity files give back the masses and the separation of the inputs that
/// made them (their light curves' headers), with the fitted inclinations of the README.
TEST(MassesCommand, TheTeachingDataGiveTheirInputsBack) {
    struct Case {
        const char* file;
        const char* incline2;
        double massA, massB, distance;
    };
    for (const Case& c :
         {Case{"algol-rv.txt", "-4.44", 3.59, 0.8, 15}, Case{"twins_rv.csv", "-4", 1.1, 1.05, 6}}) {
        const Result r = run({std::string(ORVANTA_SOURCE_DIR) + "/data/" + c.file, "--incline2",
                              c.incline2, "--json"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NEAR(valueOf(r.out, "mass_a"), c.massA, 3 * errorOf(r.out, "mass_a")) << c.file;
        EXPECT_NEAR(valueOf(r.out, "mass_b"), c.massB, 3 * errorOf(r.out, "mass_b")) << c.file;
        EXPECT_NEAR(valueOf(r.out, "a_rsun"), c.distance, 3 * errorOf(r.out, "a_rsun")) << c.file;
    }
}

#ifdef ORVANTA_BINARY
/// The built program hands `masses` to orvanta-analysis.
TEST(MassesCommand, TheProgramRunsIt) {
    const fs::path file = velocityFile();
    const std::string command = std::string(ORVANTA_BINARY) + " masses " + file.string() +
                                " --eccentricity 0.1 --incline3 25 --json > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    fs::remove(file);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

} // namespace
} // namespace orvanta::cli
