// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta fit` with the options of real stars: --third-light and --limb-a give the
// starting values, and --free names them.
#include "cli/fit_command.h"
#include "fit/curve_model.h"
#include "form1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <unistd.h>

namespace orvanta::cli {
namespace {

namespace fs = std::filesystem;

/// A phased curve of the design-time system with a third light of 0.25 and star A's limb
/// darkened (u1 0.5), 0.004 mag of noise.
fs::path curveFile() {
    const fs::path path =
        fs::temp_directory_path() / ("orvanta-fit-light-" + std::to_string(getpid()) + ".txt");
    auto f = std::make_unique<Form1>();
    physics::LightOptions light;
    light.thirdLight = 0.25;
    light.limbA.u1 = 0.5;
    fit::BoxModel model(*f, {}, light);
    std::vector<double> phase, flux;
    for (int i = 0; i < 300; ++i)
        phase.push_back(i / 300.0);
    model.flux({}, phase, flux);
    std::mt19937_64 rng(8);
    std::normal_distribution<double> noise(0, 0.004);
    std::ofstream out(path);
    out << "phase magnitude error\n";
    for (std::size_t i = 0; i < phase.size(); ++i)
        out << phase[i] << ' ' << -2.512 * std::log10(flux[i]) + noise(rng) << " 0.004\n";
    return path;
}

double valueOf(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\":{\"value\":");
    if (at == std::string::npos) return NAN;
    return std::stod(json.substr(at + name.size() + 12));
}

TEST(FitCommand, FitsTheThirdLightAndTheLimbDarkening) {
    const fs::path file = curveFile();
    std::ostringstream out, err;
    const int status = runFitCommand({file.string(), "--third-light", "0.2", "--limb-a", "0.6",
                                      "--free", "third-light,limb-a", "--json"},
                                     out, err);
    std::ostringstream text, textErr;
    const int textStatus = runFitCommand(
        {file.string(), "--third-light", "0.2", "--free", "third-light"}, text, textErr);
    // Without --third-light the start is 0: the options in force are the command line's.
    std::ostringstream bad, badErr;
    const int badStatus =
        runFitCommand({file.string(), "--free", "third-light,limb-c"}, bad, badErr);
    fs::remove(file);
    ASSERT_EQ(status, 0) << err.str();
    EXPECT_NEAR(valueOf(out.str(), "third-light"), 0.25, 0.02) << out.str();
    EXPECT_NEAR(valueOf(out.str(), "limb-a"), 0.5, 0.1) << out.str();
    EXPECT_NE(out.str().find("\"third-light,limb-a\":"), std::string::npos) << out.str();
    ASSERT_EQ(textStatus, 0) << textErr.str();
    EXPECT_NE(text.str().find("  third-light = 0.2"), std::string::npos) << text.str();
    EXPECT_EQ(badStatus, 2);
    EXPECT_NE(badErr.str().find("unknown parameter 'limb-c'"), std::string::npos) << badErr.str();
}

} // namespace
} // namespace orvanta::cli
