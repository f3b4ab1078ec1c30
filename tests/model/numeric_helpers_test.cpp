// SPDX-License-Identifier: GPL-3.0-or-later
#include "model_fixture.h"

#include <cmath>

using namespace orvanta;
using orvanta::testing::errorOf;

class NumericHelpers : public orvanta::testing::ModelTest {};

TEST_F(NumericHelpers, ArcCosineAtItsExactPoints) {
    EXPECT_EQ(f.acos(0).value(), (f.Pi / 2).value());
    EXPECT_EQ(f.acos(-0.0).value(), (f.Pi / 2).value());
    EXPECT_EQ(f.acos(1).value(), 0.0);
    EXPECT_EQ(f.acos(-1).value(), f.Pi.value());
    EXPECT_NEAR(f.acos(0.5).value(), std::atan(std::sqrt(3.0)), 1e-15);
    EXPECT_NEAR(f.acos(-0.5).value(), 2 * M_PI / 3, 1e-14);
}

TEST_F(NumericHelpers, ArcCosineAgreesWithTheLibraryAcrossItsDomain) {
    for (double x = -1; x <= 1; x += 1.0 / 1024)
        EXPECT_NEAR(f.acos(x).value(), std::acos(x), 1e-14) << x;
}

TEST_F(NumericHelpers, OutOfDomainArgumentsFault) {
    EXPECT_EQ(errorOf([&] { f.acos(1.0000001); }), 5);
    EXPECT_EQ(errorOf([&] { f.acos(-2); }), 5);
    EXPECT_NE(errorOf([&] { f.acos(1e-200); }), 0);
    EXPECT_EQ(errorOf([&] { f.pow(-2, 0.5); }), 5);
    EXPECT_EQ(errorOf([&] { f.pow(0, -2); }), 5);
    EXPECT_EQ(errorOf([&] { f.pow(1e200, 2); }), 6);
    EXPECT_EQ(errorOf([&] { f.sqrt(-1); }), 5);
}

TEST_F(NumericHelpers, PowerAndRootValues) {
    EXPECT_EQ(f.pow(-2, 3).value(), -8);
    EXPECT_EQ(f.pow(0, 0.25).value(), 0);
    EXPECT_NEAR(f.pow(1181952000 / 5.7e-8, 0.25).value(), 12000, 1e-9);
    EXPECT_EQ(f.sqrt(0).value(), 0);
    EXPECT_EQ(f.sqrt(2.25).value(), 1.5);
}

TEST_F(NumericHelpers, SquaresAreTheLibraryPowersAtEveryOptimisationLevel) {
    // x^2 by the C library's pow is one bit away from x * x here; a compiler that squares
    // by multiplying would make the arc cosine depend on the optimisation level.
    const double x = 0.99896020547984943;
    volatile double two = 2; // keeps the reference a call of the library
    EXPECT_EQ(f.pow(x, 2).value(), std::pow(x, two));
    EXPECT_NE(f.pow(x, 2).value(), x * x);
    EXPECT_EQ(f.acos(x).value(), 0.045606463699180866);
}
