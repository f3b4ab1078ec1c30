// SPDX-License-Identifier: GPL-3.0-or-later
// Velocity files: read by the light-curve reader, told from light curves by their columns.
#include "model_fixture.h"

#include "core/velocity_data.h"
#include "render/curve_table.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace orvanta::testing {
namespace {

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, ',');)
        out.push_back(f);
    return out;
}

/// `orvanta curve --rv` turned into an observed file: every 33rd sample's time and velocities
/// with noise of `sigma` km/s and an error column, under the table's period line.
class ModelVelocities : public ModelTest {
protected:
    std::string observedFile(double sigma, std::vector<double>* truthA = nullptr) {
        CurveOptions o;
        o.velocities = true;
        o.gamma = -12.5;
        std::istringstream csv(CurveCsv(LightCurveTable(f, o)));
        std::mt19937 rng(25);
        std::normal_distribution<double> noise(0, sigma);
        std::string out = "# velocities of a model binary\n", line;
        std::size_t row = 0;
        while (std::getline(csv, line)) {
            if (line.starts_with("# period")) out += line + "\n";
            if (line.empty() || line[0] == '#' || line.starts_with("phase")) continue;
            if (row++ % 33 != 0) continue;
            const auto fields = split(line); // phase,time_days,power,magnitude,eclipse,rv_a,rv_b
            if (truthA) truthA->push_back(std::stod(fields[5]));
            out += Str(2459000 + std::stod(fields[1])) + "," +
                   Str(std::stod(fields[5]) + noise(rng)) + "," +
                   Str(std::stod(fields[6]) + noise(rng)) + "," + Str(sigma) + "\n";
        }
        return "HJD,rv_a_km_s,rv_b_km_s,rv_err_km_s\n" + out;
    }
};

TEST_F(ModelVelocities, AFileMadeFromTheModelReadsAsVelocitiesWithItsPeriod) {
    std::vector<double> truth;
    const std::string text = observedFile(2.0, &truth);
    const ObservedFile file = parseObservedFile(text, "rv.txt");
    ASSERT_TRUE(std::holds_alternative<VelocitySet>(file));
    const VelocitySet& v = std::get<VelocitySet>(file);
    EXPECT_EQ(v.name, "rv.txt");
    ASSERT_EQ(v.time.size(), truth.size());
    EXPECT_EQ(v.countA(), truth.size());
    EXPECT_EQ(v.countB(), truth.size());
    EXPECT_EQ(v.timeSystem, "HJD");
    EXPECT_EQ(v.timeColumn, "HJD");
    EXPECT_EQ(v.rvAColumn, "rv_a_km_s");
    EXPECT_EQ(v.rvBColumn, "rv_b_km_s");
    EXPECT_EQ(v.errorAColumn, "rv_err_km_s");
    EXPECT_EQ(v.errorBColumn, "rv_err_km_s");
    ASSERT_TRUE(v.period.has_value());
    EXPECT_NEAR(*v.period, 3.2136767375783, 1e-12);
    double worst = 0;
    for (std::size_t i = 0; i < truth.size(); ++i) {
        worst = std::max(worst, std::fabs(v.rvA[i] - truth[i]));
        EXPECT_EQ(v.errorA[i], 2.0);
        EXPECT_EQ(v.errorB[i], 2.0);
    }
    EXPECT_GT(worst, 0.5); // the noise is there
    EXPECT_LT(worst, 10);  // and no more than noise
    // Read as velocities only, the same.
    const VelocitySet again = parseVelocities(text, "rv.txt");
    EXPECT_EQ(again.rvB, v.rvB);
    EXPECT_NE(describeVelocities(v).find("velocities of star A"), std::string::npos);
}

TEST_F(ModelVelocities, TheModelsOwnTableStaysALightCurve) {
    CurveOptions o;
    o.velocities = true;
    const ObservedFile file = parseObservedFile(CurveCsv(LightCurveTable(f, o)), "curve.csv");
    EXPECT_TRUE(std::holds_alternative<ObservedData>(file));
}

struct HeaderCase {
    const char* text;
    const char* rvA;
    const char* rvB; ///< "" for none
    const char* errorA;
    const char* errorB;
};

class VelocityHeaders : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(VelocityHeaders, PickTheColumnsOfEachStarByName) {
    const HeaderCase& c = GetParam();
    const VelocitySet v = std::get<VelocitySet>(parseObservedFile(c.text, "x"));
    auto name = [](const std::optional<std::string>& s) { return s.value_or(""); };
    EXPECT_EQ(name(v.rvAColumn), c.rvA);
    EXPECT_EQ(name(v.rvBColumn), c.rvB);
    EXPECT_EQ(name(v.errorAColumn), c.errorA);
    EXPECT_EQ(name(v.errorBColumn), c.errorB);
    EXPECT_EQ(v.time.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(
    Names, VelocityHeaders,
    ::testing::Values(
        HeaderCase{"time,rv\n1,5\n2,6\n3,7\n", "rv", "", "", ""},
        HeaderCase{"JD;RV_B;RV_A\n1;5;4\n2;6;4\n3;7;4\n", "RV_A", "RV_B", "", ""},
        HeaderCase{"BJD RV1 RV2 e_RV1 e_RV2\n1 5 4 1 2\n2 6 4 1 2\n3 7 4 1 2\n", "RV1", "RV2",
                   "e_RV1", "e_RV2"},
        HeaderCase{"hjd,v_primary (km/s),v_secondary (km/s),sigma\n1,5,4,1\n2,6,4,1\n3,7,4,1\n",
                   "v_primary (km/s)", "v_secondary (km/s)", "sigma", "sigma"},
        HeaderCase{
            "day\tvelocity\tvelocity\terr\terr\n1\t5\t4\t1\t2\n2\t6\t4\t1\t2\n3\t7\t4\t1\t2\n",
            "velocity", "velocity", "err", "err"},
        HeaderCase{"# period = 2 d\n# phase vrad_a vrad_b\n0.1 5 4\n0.2 6 4\n0.3 7 4\n", "vrad_a",
                   "vrad_b", "", ""},
        // "e" alone names no error: only as the first word of a longer name ("e_RV1").
        HeaderCase{"BJD,RV1,RV2,e\n1,5,4,1\n2,6,4,1\n3,7,4,1\n", "RV1", "RV2", "", ""}));

TEST(VelocityColumns, WithoutAHeaderFollowTheirCount) {
    const VelocitySet two = parseVelocities("1 5\n2 6\n3 7\n", "x");
    EXPECT_EQ(two.countA(), 3u);
    EXPECT_EQ(two.countB(), 0u);
    EXPECT_TRUE(std::isnan(two.errorA[0]));
    const VelocitySet three = parseVelocities("1 5 -5\n2 6 -6\n3 7 -7\n", "x");
    EXPECT_EQ(three.rvB, (std::vector<double>{-5, -6, -7}));
    EXPECT_TRUE(std::isnan(three.errorB[1]));
    const VelocitySet four = parseVelocities("1 5 -5 0.5\n2 6 -6 0.5\n3 7 -7 0.5\n", "x");
    EXPECT_EQ(four.errorA, four.errorB);
    EXPECT_EQ(four.errorB[2], 0.5);
    const VelocitySet five = parseVelocities("1 5 -5 0.5 1\n2 6 -6 0.5 1\n3 7 -7 0.5 1\n", "x");
    EXPECT_EQ(five.errorA[0], 0.5);
    EXPECT_EQ(five.errorB[0], 1.0);
    // The window reads the same text as a light curve: no header names velocities.
    EXPECT_TRUE(std::holds_alternative<ObservedData>(parseObservedFile("1 5\n2 6\n3 7\n", "x")));
}

TEST(VelocityRows, AbsentValuesAreNaNAndUnreadableRowsAreSkippedByReason) {
    const VelocitySet v = parseVelocities("time,rv_a,rv_b,err_a,err_b\n"
                                          "3,10,,1,\n"       // star A only
                                          "1,-,-20,,2\n"     // star B only
                                          "2,nan,NaN,1,1\n"  // neither: skipped
                                          "4,abc,1,1,1\n"    // not a number
                                          "5,300000,1,1,1\n" // faster than light
                                          "6,1,1,-1,1\n"     // negative error
                                          "x,1,1,1,1\n"      // no time
                                          "7,11\n"           // short row: star B not measured
                                          "8,12,-22,0.5,0.5\n",
                                          "x");
    ASSERT_EQ(v.time, (std::vector<double>{1, 3, 7, 8}));
    EXPECT_TRUE(v.sorted);
    EXPECT_TRUE(std::isnan(v.rvA[0]));
    EXPECT_EQ(v.rvB[0], -20);
    EXPECT_EQ(v.errorB[0], 2);
    EXPECT_EQ(v.rvA[1], 10);
    EXPECT_TRUE(std::isnan(v.rvB[1]));
    EXPECT_TRUE(std::isnan(v.rvB[2]));
    EXPECT_EQ(v.countA(), 3u);
    EXPECT_EQ(v.countB(), 2u);
    EXPECT_EQ(v.skipped, 5u);
    EXPECT_EQ(v.skippedReasons,
              (std::vector<std::string>{"1 no velocity in the row", "1 a velocity is not a number",
                                        "1 a velocity faster than light", "1 a negative error",
                                        "1 the time is not a number"}));
    EXPECT_EQ(v.skippedLines, (std::vector<std::size_t>{4, 5, 6, 7, 8}));
}

TEST(VelocityFiles, AreRefusedAsLightCurvesAre) {
    const std::pair<std::string, std::string> bad[] = {
        {"time,rv\n1,5\n", "only 1 rows could be read; at least 3 are needed"},
        {"time,rv\n", "the file holds no rows of numbers"},
        {"rv_a,rv_b\n1,2\n", "line 1: the header names no time column (time, HJD, JD, BJD, "
                             "date, day or phase)"},
        {"time,flux\n1,2\n2,3\n3,4\n",
         "line 1: the header names no velocity column (rv, rv_a, rv_b, velocity or km/s)"},
        {"1\n2\n", "line 1: a row has one column; a time and a velocity column are needed"},
        {std::string("time,rv\n1,\x01\n"), "this is not a text file (it holds binary data)"},
    };
    for (const auto& [text, message] : bad) {
        try {
            parseVelocities(text, "x");
            ADD_FAILURE() << "accepted: " << text;
        } catch (const DataFileError& e) {
            EXPECT_EQ(std::string(e.what()), message) << text;
        }
    }
}

// Velocity rows count towards the limit of rows as a light curve's do.
TEST(VelocityFiles, HaveTheLimitOfRowsOfLightCurves) {
    const std::string text = "BJD,RV1,RV2\n1,5,4\n2,6,4\n3,7,4\n4,6,4\n5,5,4\n";
    ObservedOptions options;
    options.maxRows = 5;
    EXPECT_EQ(std::get<VelocitySet>(parseObservedFile(text, "x", options)).time.size(), 5u);
    options.maxRows = 4;
    try {
        (void)parseObservedFile(text, "x", options);
        ADD_FAILURE() << "read";
    } catch (const DataFileError& e) {
        EXPECT_STREQ(e.what(), "line 6: more than 4 rows");
    }
}

TEST(VelocityFiles, AHeaderWithABrightnessIsALightCurve) {
    EXPECT_TRUE(std::holds_alternative<ObservedData>(
        parseObservedFile("time,mag,rv\n1,5,1\n2,6,1\n3,7,1\n", "x")));
    EXPECT_TRUE(std::holds_alternative<VelocitySet>(
        parseObservedFile("time,rv_a_km_s\n1,5\n2,6\n3,7\n", "x")));
}

TEST(VelocityFiles, OnDiskAreReadAndRefusedAsLightCurves) {
    const auto dir = std::filesystem::temp_directory_path() / "orvanta_velocity_test";
    std::filesystem::create_directories(dir);
    const auto p = dir / "rv.csv";
    std::ofstream(p) << "# period = 4.5 d\n# epoch = 2459000.5\nBJD-2450000,rv1,rv2\n"
                     << "9000.1,5,-5\n9000.2,6,-6\n9000.3,7,-7\n";
    const ObservedFile file = readObservedFile(p.string(), "rv.csv");
    ASSERT_TRUE(std::holds_alternative<VelocitySet>(file));
    const VelocitySet& v = std::get<VelocitySet>(file);
    EXPECT_EQ(v.timeOffset, 2450000);
    EXPECT_EQ(v.time.front(), 2459000.1);
    EXPECT_EQ(v.epoch, 2459000.5);
    EXPECT_EQ(v.period, 4.5);
    EXPECT_EQ(readVelocities(p.string(), "rv.csv").rvB, v.rvB);
    std::ofstream(p) << std::string(MaxObservedLine + 10, '1');
    EXPECT_THROW(readVelocities(p.string(), "rv.csv"), DataFileError);
    EXPECT_THROW(readVelocities(dir.string(), "dir"), DataFileError);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace orvanta::testing
