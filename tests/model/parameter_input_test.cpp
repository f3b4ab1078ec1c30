// SPDX-License-Identifier: GPL-3.0-or-later
#include "model_fixture.h"

using namespace orvanta;
using orvanta::testing::errorOf;

class ParameterInput : public orvanta::testing::ModelTest {};

TEST_F(ParameterInput, DefaultsGiveThePeriodAndTheUnobscuredPower) {
    read();
    EXPECT_NEAR(f.Period.value(), 0.00879874805801, 1e-14);
    EXPECT_EQ(f.Label31.Caption.rfind("3.2136767375", 0), 0u) << f.Label31.Caption;
    EXPECT_NEAR(f.MeanMotion.value(), 714.099922597, 1e-8);
    EXPECT_NEAR((f.MeanMotion * f.Period).value(), 2 * PiLiteral, 1e-12);
    EXPECT_EQ(f.FluxA.value(), 1181952000);
    EXPECT_EQ(f.FluxB.value(), 32538658.5511403);
    EXPECT_NEAR(f.MaxPowerSum.value() / 1.5539562383e28, 1, 1e-10);
    EXPECT_EQ(f.Label33.Caption.substr(0, 15), "1.5539562382937");
    EXPECT_EQ(f.Label33.Caption.substr(f.Label33.Caption.size() - 4), "E+28");
    EXPECT_EQ(f.GraphMag.value(), 3e-26);
    EXPECT_EQ(f.StarMag.value(), 25);
}

TEST_F(ParameterInput, BoxesAreReadByTheValRule) {
    f.Text1.Text = "15 SunRad";
    f.Text3.Text = "1e-1";
    f.Text2.Text = "1 000";
    read();
    EXPECT_EQ(f.MeanDistance.value(), 15);
    EXPECT_EQ(f.Eccen.value(), 0.1);
    EXPECT_EQ(f.IterationNo.value(), 1000);
}

TEST_F(ParameterInput, MagnitudeModeNegatesTheGraphScale) {
    f.Text13.Text = "5";
    f.List3.TopIndex = 1;
    read();
    EXPECT_EQ(f.GraphMag.value(), -5);
    f.List3.TopIndex = 0;
    read();
    EXPECT_EQ(f.GraphMag.value(), 5);
}

TEST_F(ParameterInput, PlotInMagnitudeModeShowsTheNewBrightestMagnitude) {
    f.Form_Load();
    f.List3.TopIndex = 1;
    f.List3_Scroll();
    f.Text11.Text = "1181952003";
    f.Plot_Click();
    EXPECT_EQ(f.Label33.Caption, "-0.654894228724829");
}

TEST_F(ParameterInput, MagnitudeOfNoLightFailsBeforeTheScalesAreRead) {
    f.List3.TopIndex = 1;
    f.Text11.Text = "0";
    f.Text12.Text = "0";
    f.Text13.Text = "7";
    f.Text14.Text = "99";
    EXPECT_EQ(errorOf([&] { read(); }), 5);
    EXPECT_EQ(f.Label31.Caption.rfind("3.2136767375", 0), 0u); // the period is shown first
    EXPECT_EQ(f.GraphMag.value(), 0);
    EXPECT_EQ(f.StarMag.value(), 0);
}

TEST_F(ParameterInput, StarAIsReadBeforeStarB) {
    read();
    f.List1.TopIndex = 1; // A's luminosity over a zero radius
    f.Text9.Text = "0";
    f.Text12.Text = "7";
    EXPECT_EQ(errorOf([&] { read(); }), 11);
    EXPECT_EQ(f.FluxB.value(), 32538658.5511403);
    f.List1.TopIndex = 0;
    f.Text11.Text = "5";
    f.List2.TopIndex = 1; // now B's
    f.Text10.Text = "0";
    EXPECT_EQ(errorOf([&] { read(); }), 11);
    EXPECT_EQ(f.FluxA.value(), 5);
}

TEST_F(ParameterInput, LeavesTimeStepAndEccentricAnomalyAlone) {
    f.Time = 0.5;
    f.StepNo = 7;
    f.EccAnomaly = 1.25;
    read();
    EXPECT_EQ(f.Time.value(), 0.5);
    EXPECT_EQ(f.StepNo.value(), 7);
    EXPECT_EQ(f.EccAnomaly.value(), 1.25);
}

TEST_F(ParameterInput, NoDistanceFailsAtTheMeanMotion) {
    read();
    const double motion = f.MeanMotion.value();
    const double power = f.MaxPowerSum.value();
    f.Text1.Text = "SunRad";
    f.Text14.Text = "99";
    EXPECT_EQ(errorOf([&] { read(); }), 11);
    EXPECT_EQ(f.Period.value(), 0);
    EXPECT_EQ(f.MeanMotion.value(), motion);
    EXPECT_EQ(f.MaxPowerSum.value(), power);
    EXPECT_EQ(f.StarMag.value(), 25);
}

TEST_F(ParameterInput, MassesThatCannotOrbitFailAtThePeriod) {
    read();
    const double period = f.Period.value();
    f.Text7.Text = "-0.8";
    EXPECT_EQ(errorOf([&] { read(); }), 11);
    EXPECT_EQ(f.Period.value(), period);
    f.Text7.Text = "-3";
    EXPECT_EQ(errorOf([&] { read(); }), 5);
    f.Text7.Text = "1e400";
    EXPECT_EQ(errorOf([&] { read(); }), 6);
}

TEST_F(ParameterInput, MagnitudeRowReplacesTheRadiusBeforeThePowerIsFormed) {
    f.List1.TopIndex = 3;
    f.Text16.Text = "5780";
    f.Text11.Text = "4.83";
    read();
    EXPECT_NEAR(f.RadiusA.value(), 1.0464206294, 1e-10);
    const double expected = 63618907.862 * PiLiteral * std::pow(1.0464206294 * SunRad, 2) +
                            32538658.5511403 * PiLiteral * std::pow(3.54 * SunRad, 2);
    EXPECT_NEAR(f.MaxPowerSum.value() / expected, 1, 1e-9);
}
