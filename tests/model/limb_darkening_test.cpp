// SPDX-License-Identifier: GPL-3.0-or-later
// The hidden light of a limb-darkened star against an independent integration over the disc.
#include "disc_integral.h"
#include "physics/limb_darkening.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace orvanta::physics {
namespace {

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
    std::vector<double> sizes{0.01, 0.05, 0.1, 0.37, 0.5, 0.8, 0.99, 1, 1.01, 1.23, 2.5, 10};
    for (const auto& law : kLaws) {
        for (double p : sizes) {
            std::vector<double> ds{0, 1e-9, 0.05, 0.3, 0.7, 1.5};
            // Contacts and tangencies, exactly and just either side.
            for (double edge : {1 + p, std::fabs(1 - p), p - 1, p}) {
                if (edge < 0) continue;
                for (double e : {-1e-3, -1e-7, 0.0, 1e-7, 1e-3})
                    if (edge + e >= 0) ds.push_back(edge + e);
                // One rounding step either side: where the crossing of the circles is
                // ill-determined.
                ds.push_back(std::nextafter(edge, 2.0 * edge + 1));
                if (edge > 0) ds.push_back(std::nextafter(edge, 0.0));
            }
            for (double d : ds) {
                const double mine = hiddenFraction(law, p, d);
                const double theirs = bruteForce(law, p, d);
                EXPECT_NEAR(mine, theirs, 1e-10)
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
        // Covered to the touch of the outlines inside: all of it, whatever the ratio.
        for (double p : {1.3, 1.7, 2.5, 3.14159, 1.0000001, 3.4977792341670946, 9.0323632216729042})
            EXPECT_EQ(hiddenFraction(law, p, p - 1), 1) << p;
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
