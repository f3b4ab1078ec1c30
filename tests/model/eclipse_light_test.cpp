// SPDX-License-Identifier: GPL-3.0-or-later
#include "model_fixture.h"

#include <cmath>

using namespace orvanta;

class EclipseLight : public orvanta::testing::ModelTest {
protected:
    void SetUp() override { read(); }
    double share() { return (f.PowerSum / f.MaxPowerSum).value(); }
    /// Places the discs by hand and runs the light stage.
    void discs(double distance, double depthA, double depthB) {
        f.ProjDistance = distance;
        f.DepthA = depthA;
        f.DepthB = depthB;
        f.LightStage();
    }
};

TEST_F(EclipseLight, TheTwoEclipsesOfTheDefaults) {
    at(0.75 * f.Period.value());
    EXPECT_GT(f.DepthA.value(), f.DepthB.value());
    EXPECT_NEAR(f.ProjDistance.value(), 2.0072, 1e-4);
    EXPECT_NEAR(share(), 0.2888, 1e-4);
    at(0.25 * f.Period.value());
    EXPECT_NEAR(share(), 0.9804, 1e-4);
    for (double t : {0.0, 0.1, 0.4, 0.5, 0.6, 0.9}) {
        at(t * f.Period.value());
        EXPECT_EQ(f.PowerSum.value(), f.MaxPowerSum.value()) << t;
    }
}

TEST_F(EclipseLight, TouchingDiscsGiveFullPower) {
    discs(2.88 + 3.54, 0, 1);
    EXPECT_EQ(f.PowerSum.value(), f.MaxPowerSum.value());
    // With these radii the partial-eclipse formula at contact misses the last digit.
    f.Text9.Text = "0.5";
    f.Text10.Text = "2.2";
    read();
    discs(0.5 + 2.2, 0, 1);
    EXPECT_EQ(text(f.PowerSum), "6.89334807921553E+26");
    discs(0.5 + 2.2, 1, 0);
    EXPECT_EQ(text(f.PowerSum), "6.89334807921553E+26");
}

TEST_F(EclipseLight, TwinsInCentralEclipse) {
    f.RadiusB = 2.88;
    const double a = (f.FluxA * f.Pi * f.pow(f.RadiusA * SunRad, 2)).value();
    const double b = (f.FluxB * f.Pi * f.pow(f.RadiusB * SunRad, 2)).value();
    discs(0, 2, 1);
    EXPECT_EQ(f.PowerSum.value(), b);
    discs(0, 1, 1);
    EXPECT_EQ(f.PowerSum.value(), a);
}

TEST_F(EclipseLight, NestedDiscsOfTheDefaultRadii) {
    const double a = (f.FluxA * f.Pi * f.pow(f.RadiusA * SunRad, 2)).value();
    const double b = (f.FluxB * f.Pi * f.pow(f.RadiusB * SunRad, 2)).value();
    const double aAreaInB = (f.FluxB * f.Pi * f.pow(f.RadiusA * SunRad, 2)).value();
    discs(0.66, 5, 1); // A behind, wholly hidden
    EXPECT_EQ(f.PowerSum.value(), b);
    discs(0.3, 1, 5); // A transits B
    EXPECT_NEAR(f.PowerSum.value() / (b - aAreaInB + a), 1, 1e-15);
}

// The read-out shows 15 digits; these inputs are ones where forming the sums in another
// order changes the last of them.
TEST_F(EclipseLight, DigitsOfTheTransitAndThePartialEclipse) {
    f.RadiusA = 1.31;
    discs(0, 1, 5); // B behind: B's ring, then A's disc
    EXPECT_EQ(text(f.PowerSum), "3.62228016935833E+27");
    f.RadiusA = 2.88;
    discs(0.7, 5, 1); // A behind, just outside inner contact
    EXPECT_EQ(text(f.PowerSum), "6.53571787260269E+26");
}

TEST_F(EclipseLight, PartialEclipseIsContinuousAtBothEnds) {
    const double touch = 2.88 + 3.54, nest = 3.54 - 2.88;
    discs(touch - 1e-9, 5, 1);
    EXPECT_NEAR(share(), 1, 1e-6);
    discs(nest + 1e-9, 5, 1);
    const double partial = f.PowerSum.value();
    discs(nest, 5, 1);
    EXPECT_NEAR(partial / f.PowerSum.value(), 1, 1e-6);
    // Equal depths: the partial case treats A as behind, the nested one B.
    discs(3, 1, 1);
    const double aBehind = f.PowerSum.value();
    discs(3, 2, 1);
    EXPECT_EQ(f.PowerSum.value(), aBehind);
}

TEST_F(EclipseLight, NearContactRoundingRaisesNoError) {
    // Discs a few units in the last place inside outer or inner contact.
    int errors = 0;
    for (double ra = 0.5; ra < 4; ra += 0.0137) {
        f.RadiusA = ra;
        for (double d : {ra + 3.54, std::fabs(ra - 3.54)}) {
            double x = d;
            for (int ulp = 0; ulp < 6; ++ulp) {
                x = std::nextafter(x, d > 3.54 ? 0.0 : 100.0);
                errors += orvanta::testing::errorOf([&] { discs(x, 5, 1); }) != 0;
            }
        }
    }
    EXPECT_EQ(errors, 0);
}

TEST_F(EclipseLight, LensAnglesKeepTheirValuesOutsideThePartialCase) {
    discs(5, 5, 1);
    const double angle = f.LensAngleA.value();
    discs(10, 5, 1);
    discs(0.1, 5, 1);
    EXPECT_EQ(f.LensAngleA.value(), angle);
}
