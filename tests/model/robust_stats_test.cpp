// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/robust_stats.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvanta {
namespace {

/// Residuals of +-0.01 with two far outliers: the outliers are counted and left out of the
/// robust rms but not of the plain one; a point only 4 sigma out stays in.
TEST(RobustFigures, CountsAndLeavesOutOutliers) {
    std::vector<double> r;
    for (int i = 0; i < 100; ++i)
        r.push_back(i % 2 == 0 ? 0.01 : -0.01);
    r[10] = 0.3;
    r[11] = -0.5;
    r[12] = 0.04; // 4 robust sigma
    const RobustFigures f = robustFigures(r, {});
    EXPECT_EQ(f.points, 100u);
    EXPECT_EQ(f.outliers, 2u);
    EXPECT_NEAR(f.robustSigma, 0.014826, 1e-9);
    EXPECT_GT(f.rms, 0.05);
    EXPECT_NEAR(f.robustRms, std::sqrt((97 * 1e-4 + 16e-4) / 98), 1e-12);
    EXPECT_FALSE(f.chi2Reduced.has_value());
}

/// With errors: the outliers are judged in units of each point's error, and the reduced
/// chi-square counts the points kept less the parameters fitted.
TEST(RobustFigures, WeighsByTheErrors) {
    std::vector<double> r(50, 0.02), e(50, 0.02);
    for (std::size_t i = 0; i < r.size(); i += 2)
        r[i] = -0.02;
    r[5] = 0.2; // 10 of its errors out: an outlier
    r[6] = 0.2; // within its own large error: kept
    e[6] = 0.2;
    const RobustFigures f = robustFigures(r, e, 4);
    EXPECT_EQ(f.outliers, 1u);
    ASSERT_TRUE(f.chi2Reduced.has_value());
    EXPECT_NEAR(*f.chi2Reduced, 49.0 / 45.0, 1e-12);

    std::vector<bool> kept;
    robustFigures(r, e, 4, &kept);
    EXPECT_FALSE(kept[5]);
    EXPECT_TRUE(kept[6]);
}

TEST(RobustFigures, EmptyAndNonFiniteResiduals) {
    EXPECT_EQ(robustFigures({}, {}).points, 0u);
    const RobustFigures f = robustFigures({NAN, 0.01, -0.01, INFINITY}, {});
    EXPECT_EQ(f.points, 2u);
    EXPECT_EQ(f.outliers, 0u);
    EXPECT_NEAR(f.rms, 0.01, 1e-15);
    // Three of four the same: no scatter to judge by, so nothing is called an outlier.
    EXPECT_EQ(robustFigures({0.1, 0.1, 0.1, 0.5}, {}).outliers, 0u);
}

} // namespace
} // namespace orvanta
