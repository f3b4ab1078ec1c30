// SPDX-License-Identifier: GPL-3.0-or-later
// The hidden light of a limb-darkened star against an independent integration over the disc.
#include "physics/limb_darkening.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace orvanta::physics {
namespace {

constexpr double kPi = std::numbers::pi;

double intensity(const LimbDarkening& l, double r) {
    const double x = 1 - std::sqrt(std::max(0.0, 1 - r * r));
    return 1 - l.u1 * x - l.u2 * x * x;
}

/// Half the angle of the circle of radius r about the star's centre that lies inside the
/// occulter (radius p, centre at distance d).
double insideHalfAngle(double r, double p, double d) {
    if (r + d <= p) return kPi;
    if (r >= d + p || r <= d - p) return 0;
    return std::acos(std::clamp((r * r + d * d - p * p) / (2 * r * d), -1.0, 1.0));
}

/// The double-exponential (tanh-sinh) rule on [a, b]: exact to rounding for functions that are
/// analytic inside the interval, whatever square-root behaviour they have at its ends.
template <class F> double tanhSinh(F f, double a, double b) {
    if (b <= a) return 0;
    const double h = 1.0 / 128, c = (a + b) / 2, m = (b - a) / 2;
    double sum = 0;
    for (int k = -512; k <= 512; ++k) {
        const double t = k * h;
        const double u = kPi / 2 * std::sinh(t);
        const double x = std::tanh(u);
        const double w = kPi / 2 * std::cosh(t) / (std::cosh(u) * std::cosh(u));
        const double y = m * x;
        if (c + y <= a || c + y >= b) continue;
        sum += w * f(c + y);
    }
    return m * h * sum;
}

/// The hidden fraction as the integral over the star's disc in polar coordinates, the angle
/// done exactly and the radius r = sin(alpha) numerically, piece by piece between the radii
/// where the occulter's edge meets the circles about the star's centre.
double bruteForce(const LimbDarkening& l, double p, double d) {
    std::vector<double> cuts{0, 1};
    for (double r : {std::fabs(d - p), d + p})
        if (r > 0 && r < 1) cuts.push_back(r);
    std::sort(cuts.begin(), cuts.end());
    double hidden = 0;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        hidden += tanhSinh(
            [&](double alpha) {
                const double r = std::sin(alpha);
                return intensity(l, r) * 2 * insideHalfAngle(r, p, d) * r * std::cos(alpha);
            },
            std::asin(cuts[i]), std::asin(cuts[i + 1]));
    }
    return hidden / (kPi * (1 - l.u1 / 3 - l.u2 / 6));
}

/// The crudest check of all: the disc cut into squares, for the formula of the angle above.
double gridSum(const LimbDarkening& l, double p, double d, int n) {
    double hidden = 0, whole = 0;
    const double step = 2.0 / n;
    for (int i = 0; i < n; ++i) {
        const double x = -1 + (i + 0.5) * step;
        for (int j = 0; j < n; ++j) {
            const double y = -1 + (j + 0.5) * step;
            const double r2 = x * x + y * y;
            if (r2 >= 1) continue;
            const double I = intensity(l, std::sqrt(r2));
            whole += I;
            if ((x - d) * (x - d) + y * y < p * p) hidden += I;
        }
    }
    return hidden / whole;
}

const std::vector<LimbDarkening> kLaws{{0.6, 0}, {0.4, 0.25}, {1, 0}, {0.1, 0.9}, {0.9, -0.2}};

TEST(LimbDarkening, AgreesWithTheIntegralOverTheDiscAtEveryKindOfOverlap) {
    std::vector<double> sizes{0.01, 0.1, 0.37, 0.5, 0.8, 1, 1.23, 2.5, 10};
    for (const auto& law : kLaws) {
        for (double p : sizes) {
            std::vector<double> ds{0, 1e-9, 0.05, 0.3, 0.7, 1.5};
            // Contacts and tangencies, exactly and just either side.
            for (double edge : {1 + p, std::fabs(1 - p), p - 1, p}) {
                if (edge < 0) continue;
                for (double e : {-1e-3, -1e-7, 0.0, 1e-7, 1e-3})
                    if (edge + e >= 0) ds.push_back(edge + e);
            }
            for (double d : ds) {
                const double mine = hiddenFraction(law, p, d);
                const double theirs = bruteForce(law, p, d);
                EXPECT_NEAR(mine, theirs, 1e-9)
                    << "u1 " << law.u1 << " u2 " << law.u2 << " p " << p << " d " << d;
            }
        }
    }
}

TEST(LimbDarkening, TheCrudeGridAgreesToItsOwnPrecision) {
    const LimbDarkening law{0.5, 0.2};
    for (auto [p, d] : {std::pair{0.4, 0.3}, {0.6, 0.9}, {1.5, 0.8}, {0.3, 0}})
        EXPECT_NEAR(hiddenFraction(law, p, d), gridSum(law, p, d, 1500), 2e-4)
            << "p " << p << " d " << d;
}

TEST(LimbDarkening, NoOverlapHidesNothingAndACoverHidesAll) {
    for (const auto& law : kLaws) {
        EXPECT_EQ(hiddenFraction(law, 0.5, 1.5), 0);
        EXPECT_EQ(hiddenFraction(law, 0.5, 7), 0);
        EXPECT_EQ(hiddenFraction(law, 0, 0.2), 0);
        EXPECT_EQ(hiddenFraction(law, 2, 1), 1);
        EXPECT_EQ(hiddenFraction(law, 1, 0), 1);
        // Just inside contact and just short of cover, the fraction is continuous.
        EXPECT_LT(hiddenFraction(law, 0.5, 1.5 - 1e-9), 1e-9);
        EXPECT_GT(hiddenFraction(law, 2, 1 + 1e-9), 1 - 1e-8);
    }
}

TEST(LimbDarkening, TheUniformLawGivesTheAreaOfTheOverlap) {
    // Lens area of two circles over pi, by the usual formula.
    auto lens = [](double p, double d) {
        const double a = std::acos((d * d + 1 - p * p) / (2 * d));
        const double b = std::acos((d * d + p * p - 1) / (2 * d * p));
        return (a - std::sin(a) * std::cos(a) + p * p * (b - std::sin(b) * std::cos(b))) / kPi;
    };
    for (auto [p, d] : {std::pair{0.4, 0.9}, {1.2, 0.5}, {0.9, 1.6}})
        EXPECT_NEAR(hiddenFraction({}, p, d), lens(p, d), 1e-13);
    EXPECT_NEAR(hiddenFraction({}, 0.3, 0.2), 0.09, 1e-13);
}

TEST(LimbDarkening, DarkeningDeepensACentralTransitAndShallowsAGrazingOne) {
    const LimbDarkening law{0.6, 0};
    EXPECT_GT(hiddenFraction(law, 0.1, 0), 0.01);
    EXPECT_LT(hiddenFraction(law, 0.1, 1.0), hiddenFraction({}, 0.1, 1.0));
    // At the centre the intensity is 1 / (1 - u1 / 3) of the mean: a small disc hides p^2 that.
    EXPECT_NEAR(hiddenFraction(law, 1e-3, 0), 1e-6 / (1 - 0.2), 1e-12);
}

TEST(LimbDarkening, LawsThatMakeTheLightNegativeAreNamed) {
    EXPECT_EQ(limbDarkeningProblem({0.6, 0}), "");
    EXPECT_EQ(limbDarkeningProblem({1, 0}), "");
    EXPECT_EQ(limbDarkeningProblem({0.5, 0.5}), "");
    EXPECT_NE(limbDarkeningProblem({1.2, 0}), "");
    EXPECT_NE(limbDarkeningProblem({0.6, 0.5}), "");
    EXPECT_NE(limbDarkeningProblem({3, -1.6}), ""); // dips below zero inside the disc
    EXPECT_NE(limbDarkeningProblem({std::nan(""), 0}), "");
}

} // namespace
} // namespace orvanta::physics
