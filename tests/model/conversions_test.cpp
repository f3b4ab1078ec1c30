// SPDX-License-Identifier: GPL-3.0-or-later
#include "model_fixture.h"

#include <cmath>

using namespace orvanta;
using orvanta::testing::errorOf;

class Conversions : public orvanta::testing::ModelTest {};

TEST_F(Conversions, TemperatureAndFluxOfTheDefaultStars) {
    f.Text11.Text = "12000";
    EXPECT_EQ(num(f.AllToFluxA(2)).value(), 1181952000);
    EXPECT_NEAR(num(f.FluxToAllA(1181952000, 2)).value(), 12000, 1e-9);
    EXPECT_EQ(f.Label4.Caption, "(Temperature of Star A Surface)");
    f.Text12.Text = "4888";
    EXPECT_NEAR(num(f.AllToFluxB(2)).value(), 32538658.55114, 1e-5);
    f.Text11.Text = "-12000";
    EXPECT_EQ(num(f.AllToFluxA(2)).value(), 1181952000); // the fourth power forgets the sign
}

TEST_F(Conversions, LuminosityRoundTrip) {
    const Num L = num(f.FluxToAllA(1181952000, 1));
    EXPECT_EQ(text(L), "5.96761337718181E+28");
    EXPECT_EQ(f.Label4.Caption, "(Luminosity of Star A Surface)");
    f.Text11.Text = text(L);
    EXPECT_NEAR(num(f.AllToFluxA(1)).value(), 1181952000, 1e-3);
    f.Text10.Text = "";
    EXPECT_EQ(num(f.FluxToAllB(5, 1)).value(), 0);
    EXPECT_EQ(f.Label3.Caption, "(Luminosity of Star B Surface)");
    EXPECT_EQ(errorOf([&] { f.AllToFluxB(1); }), 11);
    // Digits where another grouping of R^2, 4 and pi would show in the box.
    f.Text11.Text = "0.39E+28";
    EXPECT_EQ(text(f.AllToFluxA(1)), "77243824.434499");
    EXPECT_EQ(text(f.FluxToAllA(1181956000, 1)), "5.96763357297107E+28");
}

TEST_F(Conversions, AFailedConversionLeavesTheCaption) {
    EXPECT_EQ(errorOf([&] { f.FluxToAllA(-5, 2); }), 5); // no temperature of a negative flux
    EXPECT_EQ(f.Label4.Caption, "(Light Flux from Star A Surface)");
    EXPECT_EQ(errorOf([&] { f.FluxToAllB(1e300, 1); }), 6);
    EXPECT_EQ(f.Label3.Caption, "(Light Flux from Star B Surface)");
}

TEST_F(Conversions, MagnitudeRowDerivesTheRadius) {
    f.Text16.Text = "5780";
    f.Text11.Text = "4.83";
    EXPECT_NEAR(num(f.AllToFluxA(3)).value(), 63618907.862, 1e-3);
    EXPECT_NEAR(f.LogTempX.value(), -0.2380722, 1e-7);
    EXPECT_NEAR(f.BolMag.value(), 4.6514685, 1e-7);
    EXPECT_NEAR(f.RadiusA.value(), 1.0464206294, 1e-10);
    EXPECT_EQ(f.Text9.Text, Str(f.RadiusA.value()));
    f.Text16.Text = "3140"; // a cool star, where the correction's order shows in the box
    f.AllToFluxA(3);
    EXPECT_EQ(f.Text9.Text, "11.7835044020362");
}

TEST_F(Conversions, MagnitudeRowWithoutTemperatureFaultsBeforeWriting) {
    f.RadiusA = 2.88;
    f.LogTempX = 7;
    f.Text16.Text = "";
    EXPECT_EQ(errorOf([&] { f.AllToFluxA(3); }), 5);
    EXPECT_EQ(f.RadiusA.value(), 2.88);
    EXPECT_EQ(f.LogTempX.value(), 7);
    EXPECT_EQ(f.Text9.Text, "2.88");
}

TEST_F(Conversions, MovingToTheMagnitudeRowPreparesEntry) {
    EXPECT_EQ(text(f.FluxToAllB(0, 3)), "");
    EXPECT_EQ(f.Label3.Caption, "(Absolute Visual Magnitude B)");
    EXPECT_TRUE(f.Text17.Visible);
    EXPECT_TRUE(f.Label42.Visible);
    EXPECT_TRUE(f.Label43.Visible);
    EXPECT_FALSE(f.Text10.Enabled);
    EXPECT_TRUE(f.Text9.Enabled);
}

TEST_F(Conversions, UnknownRowsGiveNothingAndChangeNothing) {
    for (int row : {-1, 4}) {
        EXPECT_FALSE(f.AllToFluxA(row).has_value());
        EXPECT_FALSE(f.FluxToAllA(1, row).has_value());
        EXPECT_EQ(f.Label4.Caption, "(Light Flux from Star A Surface)");
    }
    EXPECT_FALSE(f.PowerToAll(1, 2).has_value());
    EXPECT_FALSE(f.AllToPower(1, -1).has_value());
}

TEST_F(Conversions, ReceivedPowerAndMagnitude) {
    EXPECT_NEAR(num(f.PowerToAll(1e26, 1)).value(), 4.85, 1e-14);
    EXPECT_NEAR(num(f.PowerToAll(1e27, 1)).value(), 2.338, 1e-14);
    EXPECT_EQ(num(f.PowerToAll(123.5, 0)).value(), 123.5);
    EXPECT_NEAR(num(f.AllToPower(4.85, 1)).value(), 1e26, 1e12);
    EXPECT_EQ(text(f.AllToPower(0.08, 1)), "7.9229214515371E+27");
    EXPECT_EQ(errorOf([&] { f.PowerToAll(0, 1); }), 5);
    for (double m = -10; m <= 30; m += 0.37)
        EXPECT_NEAR(num(f.PowerToAll(num(f.AllToPower(m, 1)), 1)).value(), m, 1e-12);
}
