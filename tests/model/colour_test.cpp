// SPDX-License-Identifier: GPL-3.0-or-later
#include "model_fixture.h"

#include <cmath>

using namespace orvanta;

class StarColour : public orvanta::testing::ModelTest,
                   public ::testing::WithParamInterface<std::pair<double, long>> {};

// Flux for a temperature in K, with the system's Stefan-Boltzmann constant.
static double fluxOf(double t) {
    return std::pow(t, 4) * 5.7e-8;
}

TEST_P(StarColour, BandsByTheRoundedDownTemperature) {
    const auto& [temperature, colour] = GetParam();
    EXPECT_EQ(CLng(f.Colour(fluxOf(temperature))), colour) << temperature;
}

INSTANTIATE_TEST_SUITE_P(
    Temperatures, StarColour,
    ::testing::Values(std::pair{0.0, 0x0000C0L}, std::pair{3499.9, 0x0000C0L},
                      std::pair{3500.0001, 0x0080FFL}, std::pair{4499.5, 0x0080FFL},
                      std::pair{4500.0001, 0x00FFFFL}, std::pair{4888.0, 0x00FFFFL},
                      std::pair{6000.0001, 0xC0FFFFL}, std::pair{8000.0001, 0xFFFFFFL},
                      std::pair{10999.9, 0xFFFFFFL}, std::pair{11000.0001, 0xFFFFC0L},
                      std::pair{12000.0, 0xFFFFC0L}, std::pair{25000.9, 0xFFFFC0L},
                      std::pair{25001.0001, 0xFF8080L}, std::pair{40000.0, 0xFF8080L}));

class StarColourOf : public orvanta::testing::ModelTest {};

TEST_F(StarColourOf, DefaultStarsAndNegativeFlux) {
    EXPECT_EQ(CLng(f.Colour(1181952000)), 0xFFFFC0);
    EXPECT_EQ(CLng(f.Colour(32538658.5511403)), 0x00FFFF);
    EXPECT_EQ(orvanta::testing::errorOf([&] { f.Colour(-1); }), 5);
}
