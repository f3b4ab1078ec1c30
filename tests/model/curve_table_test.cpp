// SPDX-License-Identifier: GPL-3.0-or-later
// The light curve as a table: its rows are the graph's sweep, its numbers the model's own.
#include "loaded_form.h"
#include "model_fixture.h"

#include "render/curve_table.h"

#include <algorithm>
#include <clocale>
#include <locale>
#include <sstream>

namespace orvanta::testing {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

/// "phase,time,power,magnitude,eclipse" of the sample the form has just evaluated.
std::string rowOf(Form1& f) {
    return Str((f.Time / f.Period).value()) + "," + Str((DaysPerYear * f.Time).value()) + "," +
           Str(f.PowerSum.value()) + "," + text(f.PowerToAll(f.PowerSum, 1)) + "," +
           eclipseText(eclipseNow(f));
}

class CurveTableTest : public ModelTest {
protected:
    /// The graph's sweep on a fresh form: every sample, as rowOf writes it.
    std::vector<std::string> sweptRows() {
        read();
        std::vector<std::string> rows;
        f.PeriodSweep([&] { rows.push_back(rowOf(f)); });
        return rows;
    }
};

TEST_F(CurveTableTest, HeaderNamesEveryInputAsItsBoxShowsItAndThePeriod) {
    const auto csv = lines(CurveCsv(LightCurveTable(f)));
    ASSERT_GE(csv.size(), 3u);
    EXPECT_EQ(csv[0], "# Orvanta light curve: MassA / SunMass = 3.59; MassB / SunMass = 0.8; "
                      "RadiusA / SunRad = 2.88; RadiusB / SunRad = 3.54; FluxA / (W/m^2) = "
                      "1181952000; FluxB / (W/m^2) = 32538658.5511403; MeanDistance / SunRad = 15; "
                      "Eccen (-1<e<1) = 0; Incline1 / Degree = 0; Incline2 / Degree = -7.69; "
                      "Incline3 / Degree = 0; IterationNo = 100; Period / Day = 3.2136767375783");
    EXPECT_EQ(csv[1], "# period = 3.2136767375783 d");
    EXPECT_EQ(csv[2], "phase,time_days,power_w,magnitude,eclipse");
}

TEST_F(CurveTableTest, RowsAreTheGraphsSweepDigitForDigit) {
    const auto csv = lines(CurveCsv(LightCurveTable(f)));
    const std::vector<std::string> rows = sweptRows();
    ASSERT_EQ(csv.size(), rows.size() + 3);
    EXPECT_EQ(csv[3], rows.front());
    EXPECT_EQ(csv[3].substr(0, 4), "0,0,");
    EXPECT_EQ(csv.back(), rows.back());
    // One period, 1/793 apart: the last sample is within a step of the end.
    const double lastPhase = Val(csv.back());
    EXPECT_GT(lastPhase, 1 - 1.5 / 793);
    EXPECT_LT(lastPhase, 1.0);
    // The first row in eclipse.
    std::size_t k = 0;
    while (k < rows.size() && rows[k].find("in front") == std::string::npos)
        ++k;
    ASSERT_LT(k, rows.size());
    EXPECT_EQ(csv[3 + k], rows[k]);
}

TEST_F(CurveTableTest, FullLightExactlyOutsideEclipseAndLessWithin) {
    // Edge-on, so both eclipses are total or annular.
    f.Text5.Text = "0";
    const CurveTable t = LightCurveTable(f);
    read();
    int a = 0, b = 0;
    for (const CurveRow& r : t.rows) {
        if (r.eclipse == Eclipse::None) {
            EXPECT_EQ(r.power, f.MaxPowerSum.value()) << r.phase;
        } else {
            EXPECT_LT(r.power, f.MaxPowerSum.value()) << r.phase;
            EXPECT_GT(r.magnitude, Val(text(f.PowerToAll(f.MaxPowerSum, 1)))) << r.phase;
        }
        a += r.eclipse == Eclipse::AInFront;
        b += r.eclipse == Eclipse::BInFront;
    }
    EXPECT_GT(a, 0);
    EXPECT_GT(b, 0);
    EXPECT_NEAR(t.periodDays, 3.2136767375783, 1e-12);
}

TEST_F(CurveTableTest, LeavesTheWindowAsItWas) {
    auto w = loadedForm();
    w->Time = 0.002;
    w->Main();
    const double power = w->PowerSum.value();
    const double anomaly = w->EccAnomaly.value();
    const auto revision = w->revision();
    const unsigned long long calls = w->MainCalls;
    w->Text7.Text = "2"; // typed, not plotted: the table follows the box
    const CurveTable t = LightCurveTable(*w);
    EXPECT_EQ(w->Time.value(), 0.002);
    EXPECT_EQ(w->PowerSum.value(), power);
    EXPECT_EQ(w->EccAnomaly.value(), anomaly);
    EXPECT_EQ(w->revision(), revision);
    EXPECT_EQ(w->MainCalls, calls);
    EXPECT_NE(t.inputs.find("MassA / SunMass = 2;"), std::string::npos);
    // Equal boxes, equal digits, whatever the window went through before.
    EXPECT_EQ(CurveCsv(t), CurveCsv(LightCurveTable(static_cast<const Controls&>(*w))));
}

TEST_F(CurveTableTest, MagnitudeRowShowsItsTemperatureAndTheDerivedRadius) {
    f.List1.TopIndex = 3;
    f.Text11.Text = "4.8";
    f.Text16.Text = "5800";
    f.Combo2.ListIndex = 9; // a type shows in the header; the boxes hold what it filled
    const std::string inputs = LightCurveTable(f).inputs;
    EXPECT_NE(inputs.find("; AbsVisMagA = 4.8; TemperatureA / K = 5800;"), std::string::npos);
    EXPECT_NE(inputs.find("; Spectral Type of StarB = G5V;"), std::string::npos);
    read();
    EXPECT_NE(inputs.find("RadiusA / SunRad = " + f.Text9.Text + ";"), std::string::npos);
    EXPECT_NE(f.Text9.Text, "2.88");
}

TEST_F(CurveTableTest, ABoxBrokenAcrossLinesStaysOnTheCommentLine) {
    f.Text7.Text = "3.59\r\n";
    EXPECT_EQ(lines(CurveCsv(LightCurveTable(f)))[1].rfind("# period = ", 0), 0u);
}

TEST_F(CurveTableTest, RaisesThePlotsRunTimeError) {
    f.Text7.Text = "0";
    f.Text8.Text = "0";
    EXPECT_EQ(errorOf([&] { LightCurveTable(f); }), err::DivisionByZero);
    // No light at all has no magnitude.
    f.Text7.Text = "3.59";
    f.Text8.Text = "0.8";
    f.Text11.Text = "0";
    f.Text12.Text = "0";
    EXPECT_EQ(errorOf([&] { LightCurveTable(f); }), err::InvalidCall);
}

// A locale with a decimal comma, as in Germany, whether or not the system has de_DE.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST_F(CurveTableTest, DecimalPointsWhateverTheLocale) {
    const std::string plain = CurveCsv(LightCurveTable(f));
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    const std::locale savedCpp;
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    const std::string localised = CurveCsv(LightCurveTable(f));
    std::locale::global(savedCpp);
    std::setlocale(LC_ALL, savedC.c_str());
    EXPECT_EQ(localised, plain) << (german ? "de_DE.UTF-8" : "C with a comma facet");
    for (const std::string& line : lines(plain)) {
        if (line[0] != '#') {
            EXPECT_EQ(std::count(line.begin(), line.end(), ','), 4) << line;
        }
    }
}

struct Overlap {
    const char* name;
    double distance, depthA, depthB;
    Eclipse expected;
};

void PrintTo(const Overlap& o, std::ostream* os) {
    *os << o.name;
}

class EclipseNow : public ::testing::TestWithParam<Overlap> {};

// Radii 2 and 1: contact at 3, nested at or below 1.
TEST_P(EclipseNow, AsTheLightStageCountsIt) {
    const Overlap& o = GetParam();
    SimState s;
    s.RadiusA = 2;
    s.RadiusB = 1;
    s.ProjDistance = o.distance;
    s.DepthA = o.depthA;
    s.DepthB = o.depthB;
    EXPECT_EQ(eclipseNow(s), o.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EclipseNow,
    ::testing::Values(Overlap{"apart", 3.5, 0, 1, Eclipse::None},
                      Overlap{"touching", 3, 0, 1, Eclipse::None},
                      Overlap{"partialANearer", 2.5, 0, 1, Eclipse::AInFront},
                      Overlap{"partialBNearer", 2.5, 1, 0, Eclipse::BInFront},
                      Overlap{"partialEqualDepths", 2.5, 1, 1, Eclipse::BInFront},
                      Overlap{"nestedBNearer", 0.5, 1, 0, Eclipse::BInFront},
                      Overlap{"nestedEqualDepths", 0.5, 1, 1, Eclipse::AInFront},
                      Overlap{"internalContact", 1, 1, 1, Eclipse::AInFront}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(EclipseText, NamesTheStarInFront) {
    EXPECT_STREQ(eclipseText(Eclipse::None), "none");
    EXPECT_STREQ(eclipseText(Eclipse::AInFront), "A in front");
    EXPECT_STREQ(eclipseText(Eclipse::BInFront), "B in front");
}

} // namespace
} // namespace orvanta::testing
