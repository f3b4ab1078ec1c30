// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta curve` with the options of real stars: limb darkening, third light, velocities.
#include "cli/curve_command.h"
#include "core/projected_orbit.h"
#include "form1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

namespace orvanta::cli {
namespace {

struct Result {
    int status;
    std::string out, err;
};

Result run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runCurveCommand(args, out, err);
    return {status, out.str(), err.str()};
}

/// The data rows of a CSV, each split at its commas.
std::vector<std::vector<std::string>> rows(const std::string& csv) {
    std::vector<std::vector<std::string>> all;
    std::istringstream in(csv);
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (header) {
            header = false;
            continue;
        }
        std::vector<std::string> cells;
        std::istringstream l(line);
        std::string cell;
        while (std::getline(l, cell, ','))
            cells.push_back(cell);
        all.push_back(cells);
    }
    return all;
}

TEST(RealStarOptions, ZeroCoefficientsAndNoThirdLightKeepEveryByte) {
    const std::string plain = run({}).out;
    const Result zero = run({"--limb-a", "0", "--limb-b", "0,0", "--third-light", "0"});
    EXPECT_EQ(zero.status, 0);
    EXPECT_EQ(zero.out, plain);
}

TEST(RealStarOptions, LimbDarkeningChangesOnlyTheEclipses) {
    const auto plain = rows(run({}).out);
    const Result dark = run({"--limb-a", "0.6", "--limb-b", "0.4,0.25"});
    ASSERT_EQ(dark.status, 0) << dark.err;
    EXPECT_NE(dark.out.find("\n# options: third light = 0; limb darkening A u1 = 0.6, u2 = 0; "
                            "limb darkening B u1 = 0.4, u2 = 0.25\nphase,"),
              std::string::npos);
    const auto ld = rows(dark.out);
    ASSERT_EQ(ld.size(), plain.size());
    int changed = 0;
    for (std::size_t i = 0; i < ld.size(); ++i) {
        if (plain[i][4] == "none")
            EXPECT_EQ(ld[i], plain[i]) << "row " << i; // outside the eclipses, every digit
        else
            changed += ld[i][2] != plain[i][2];
        EXPECT_EQ(ld[i][4], plain[i][4]);
    }
    EXPECT_GT(changed, 20);
}

TEST(RealStarOptions, ThirdLightIsItsFractionOfTheLightOutsideTheEclipses) {
    const auto plain = rows(run({}).out);
    const auto third = rows(run({"--third-light", "0.25"}).out);
    ASSERT_EQ(third.size(), plain.size());
    const double top = std::stod(plain[0][2]);
    for (std::size_t i = 0; i < third.size(); i += 37) {
        const double p = std::stod(plain[i][2]), q = std::stod(third[i][2]);
        EXPECT_NEAR(q - p, top / 3, 1e-12 * top); // F / (1 - F) of the two stars' light
    }
    EXPECT_NEAR((std::stod(third[0][2]) - top) / std::stod(third[0][2]), 0.25, 1e-14);
}

TEST(RealStarOptions, VelocitiesAddTwoColumnsAndTheAmplitudes) {
    const Result r = run({"--rv", "--gamma", "-20", "--eccentricity", "0.2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\n# velocities: gamma = -20 km/s; K_A = "), std::string::npos);
    EXPECT_NE(r.out.find("\nphase,time_days,power_w,magnitude,eclipse,rv_a_km_s,rv_b_km_s\n"),
              std::string::npos);
    // The light columns are those of the plain table.
    const auto plain = rows(run({"--eccentricity", "0.2"}).out);
    const auto rv = rows(r.out);
    ASSERT_EQ(rv.size(), plain.size());
    double sum = 0;
    for (std::size_t i = 0; i < rv.size(); ++i) {
        ASSERT_EQ(rv[i].size(), 7u);
        EXPECT_EQ(std::vector<std::string>(rv[i].begin(), rv[i].begin() + 5), plain[i]);
        // Momentum: M_A (v_A - gamma) + M_B (v_B - gamma) = 0 with the default masses.
        sum = 3.59 * (std::stod(rv[i][5]) + 20) + 0.8 * (std::stod(rv[i][6]) + 20);
        EXPECT_NEAR(sum, 0, 1e-8);
    }
}

TEST(RealStarOptions, BadValuesAreUsageErrors) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--limb-a", "1.5"},
                                                 {"--limb-b", "0.5,0.7"},
                                                 {"--limb-a", "x"},
                                                 {"--limb-a", "0.3,"},
                                                 {"--limb-a", "0.1,0.2,0.3"},
                                                 {"--third-light", "1"},
                                                 {"--third-light", "-0.1"},
                                                 {"--gamma", "5"},
                                                 {"--rv=1"},
                                                 {"--gamma"}}) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("orvanta curve: "), std::string::npos);
    }
}

TEST(RealStarOptions, HelpNamesThem) {
    const std::string h = run({"--help"}).out;
    for (const char* o : {"--limb-a U[,U2]", "--third-light F", "--rv", "--gamma V"})
        EXPECT_NE(h.find(o), std::string::npos) << o;
}

} // namespace
} // namespace orvanta::cli
