// SPDX-License-Identifier: GPL-3.0-or-later
// The model of two symmetric eclipses fitted to light it made itself, with noise, a few
// outliers and a start off in every parameter: back to the truth within the errors it states.
#include "analysis/eclipse_model.h"
#include "synthetic_binary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace orvanta {
namespace {

using analysis::EclipseModel;
using analysis::eclipseModelAt;
using analysis::fitEclipseModel;

EclipseModel truth() {
    EclipseModel m;
    m.period = 2.4;
    m.epoch = 0.37;
    m.level = 8.2;
    m.secondaryPhase = 0.31; // an eccentric orbit
    m.primary = {0.6, 0.012, 1.6};
    m.secondary = {0.2, 0.009, 0.9};
    return m;
}

struct Light {
    std::vector<double> t, y;
};

Light observe(const EclipseModel& m, std::size_t points, double noise, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    Light l;
    for (std::size_t i = 0; i < points; ++i) {
        const double t = -30 + 60 * testing::uniform(rng);
        l.t.push_back(t);
        l.y.push_back(eclipseModelAt(m, t) + noise * testing::gauss(rng));
    }
    l.y[points / 3] += 0.5; // outliers, which the robust loss shrugs off
    l.y[points / 2] -= 0.4;
    return l;
}

class EclipseModelFit : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(EclipseModelFit, RecoversThePeriodAndEpochWithinTheirErrors) {
    const EclipseModel m = truth();
    const Light l = observe(m, 3000, 0.01, GetParam());
    EclipseModel start = m;
    start.period *= 1 + 2e-4; // a twentieth of a cycle off over the span
    start.epoch += 0.004;
    start.primary = {0.5, 0.02, 1};
    start.secondary = {0.1, 0.02, 1};
    start.secondaryPhase = 0.3;
    start.level = 8.19;
    const auto fit = fitEclipseModel(l.t, l.y, start, 0.01);
    ASSERT_TRUE(fit.has_value());
    EXPECT_GT(fit->periodError, 0);
    EXPECT_LT(fit->periodError, 1e-4);
    EXPECT_LT(std::abs(fit->period - m.period), 4 * fit->periodError);
    EXPECT_LT(std::abs(fit->epoch - m.epoch), 4 * fit->epochError);
    EXPECT_NEAR(fit->primary.depth, 0.6, 0.02);
    EXPECT_NEAR(fit->secondary.depth, 0.2, 0.02);
    EXPECT_NEAR(fit->secondaryPhase, 0.31, 0.002);
    // A chi-square about one per point: the noise as given.
    EXPECT_NEAR(fit->chiSquare / static_cast<double>(fit->points), 1, 0.15);
}

INSTANTIATE_TEST_SUITE_P(Seeds, EclipseModelFit, ::testing::Values(1U, 2U, 3U));

// A point at the very minimum of the start, where the dip is flat: its slopes there are 0,
// not a division of 0 by 0, and the fit goes on from it.
TEST(EclipseModelFit, StartsFromAPointAtTheVeryMinimum) {
    const EclipseModel m = truth();
    Light l = observe(m, 1500, 0.01, 5);
    EclipseModel start = m;
    start.primary = {0.5, 0.02, 1};
    l.t.push_back(start.epoch);
    l.y.push_back(eclipseModelAt(m, start.epoch));
    const auto fit = fitEclipseModel(l.t, l.y, start, 0.01);
    ASSERT_TRUE(fit.has_value());
    EXPECT_NEAR(fit->primary.depth, 0.6, 0.02);
}

TEST(EclipseModelFit, RefusesWhatCannotBeFitted) {
    const EclipseModel m = truth();
    const Light l = observe(m, 500, 0.01, 4);
    EclipseModel start = m;
    start.period = 0;
    EXPECT_FALSE(fitEclipseModel(l.t, l.y, start, 0.01).has_value());
    EXPECT_FALSE(fitEclipseModel(l.t, l.y, m, 0).has_value());
    EXPECT_FALSE(fitEclipseModel({}, {}, m, 0.01).has_value());
    // The model's light: the level outside eclipse, the depth at each minimum.
    EXPECT_DOUBLE_EQ(eclipseModelAt(m, m.epoch + 10 * m.period), m.level + m.primary.depth);
    EXPECT_NEAR(eclipseModelAt(m, m.epoch + (3 + m.secondaryPhase) * m.period),
                m.level + m.secondary.depth, 1e-12);
    EXPECT_DOUBLE_EQ(eclipseModelAt(m, m.epoch + 0.65 * m.period), m.level);
}

} // namespace
} // namespace orvanta
