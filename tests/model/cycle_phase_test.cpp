// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cycle_phase.h"
#include "render/observed_phase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace orvanta;

TEST(CyclePhase, IsTheFractionalPartInZeroToOne) {
    EXPECT_EQ(cyclePhase(2.25), 0.25);
    EXPECT_EQ(cyclePhase(-0.25), 0.75);
    EXPECT_EQ(cyclePhase(-3.0), 0.0);
    EXPECT_EQ(cyclePhase(-0.0), 0.0);
    // -1e-20 + 1 rounds to 1: the phase is 0, not 1.
    EXPECT_EQ(cyclePhase(-1e-20), 0.0);
    EXPECT_EQ(frac(-1e-20), 0.0);
    EXPECT_EQ(cyclePhase(-std::nextafter(0.0, 1.0)), 0.0);
}

TEST(CyclePhase, OfAValueThatIsNotFiniteIsNaNOrForTheFoldedPointsZero) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(std::isnan(cyclePhase(inf)));
    EXPECT_TRUE(std::isnan(cyclePhase(-inf)));
    EXPECT_TRUE(std::isnan(cyclePhase(std::nan(""))));
    EXPECT_EQ(frac(inf), 0.0);
    EXPECT_EQ(frac(std::nan("")), 0.0);
}

TEST(CyclePhase, ItsBinIsBelowTheCountOfBinsWithoutAGuard) {
    const double last = std::nextafter(1.0, 0.0); // the largest phase
    for (int bins = 1; bins <= 5000; ++bins) {
        ASSERT_EQ(phaseBin(last, bins), bins - 1) << bins;
        ASSERT_EQ(phaseBin(-1e-20, bins), 0) << bins;
        ASSERT_EQ(phaseBin(7 + (bins - 0.5) / bins, bins), bins - 1) << bins;
    }
    EXPECT_EQ(phaseBin(2.5, 4), 2);
    EXPECT_EQ(phaseBin(-0.25, 4), 3);
    EXPECT_EQ(phaseBin(std::numeric_limits<double>::infinity(), 4), 0);
    EXPECT_EQ(phaseBin(std::nan(""), 4), 0);
}
