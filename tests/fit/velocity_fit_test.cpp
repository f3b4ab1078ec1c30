// SPDX-License-Identifier: GPL-3.0-or-later
// The fit of radial velocities: the masses of a pair the model makes at parameters only these
// tests know, from velocities with noise, fitted with a model that knows the orbit's shape
// (eccentricity, angles) but not the masses or the separation.
#include "fit/fit_parameters.h"
#include "fit/velocity_fit.h"

#include "core/projected_orbit.h"
#include "physics/constants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace orvanta::fittest {
namespace {

Parameters hiddenPair() {
    Parameters p;
    p.massA = 3.3;
    p.massB = 0.85;
    p.radiusA = 2.7;
    p.radiusB = 3.2;
    p.fluxA = 4.6e8;
    p.fluxB = 3.0e7;
    p.distance = 14.5;
    p.eccentricity = 0.12;
    p.incline1 = 6;
    p.incline2 = -5;
    p.incline3 = 40;
    return p;
}

/// The light-curve model's knowledge of the pair: the shape of the orbit, not its size.
Parameters lightCurveModel(const Parameters& truth) {
    Parameters m = truth;
    m.massA = 1;
    m.massB = 1;
    m.distance = 9;
    return m;
}

double gauss(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double a = 1 - u(rng), b = u(rng);
    return std::sqrt(-2 * std::log(a)) * std::cos(2 * 3.141592653589793 * b);
}

constexpr double Gamma = 17.3;
constexpr double SigmaA = 1.5, SigmaB = 4.0;

/// `n` nights of both stars' velocities at random times over 40 days after a periastron at
/// 2459000.37, with normal noise; the file's period is the model's.
VelocitySet observe(const Parameters& truth, std::size_t n, std::uint64_t seed,
                    bool errors = true) {
    Evaluator ev(truth);
    const double P = ev.period() * DaysPerYear;
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> u(0.0, 40.0);
    std::vector<double> days(n);
    for (double& d : days)
        d = u(rng);
    std::sort(days.begin(), days.end());
    VelocitySet v;
    v.name = "rv.txt";
    v.period = P;
    for (double d : days) {
        ev.at(d / DaysPerYear);
        const auto now = velocitiesNow(ev.state());
        v.time.push_back(2459000.37 + d);
        v.rvA.push_back(Gamma + now.a + SigmaA * gauss(rng));
        v.rvB.push_back(Gamma + now.b + SigmaB * gauss(rng));
        v.errorA.push_back(errors ? SigmaA : NAN);
        v.errorB.push_back(errors ? SigmaB : NAN);
    }
    return v;
}

TEST(VelocityFit, RecoversTheMassesWithinTheirErrorsAndTheErrorsMatchTheScatter) {
    const Parameters truth = hiddenPair();
    const Parameters model = lightCurveModel(truth);
    constexpr int Draws = 150;
    int within = 0;
    double sumA = 0, sumA2 = 0, sumErrA = 0, sumB = 0, sumB2 = 0, sumErrB = 0;
    for (int d = 0; d < Draws; ++d) {
        const fit::VelocityFit f = fit::fitVelocities(observe(truth, 24, 1000 + d), model);
        const bool ok = std::fabs(f.massA.value - truth.massA) < 3 * f.massA.error &&
                        std::fabs(f.massB.value - truth.massB) < 3 * f.massB.error;
        within += ok;
        sumA += f.massA.value;
        sumA2 += f.massA.value * f.massA.value;
        sumErrA += f.massA.error;
        sumB += f.massB.value;
        sumB2 += f.massB.value * f.massB.value;
        sumErrB += f.massB.error;
    }
    EXPECT_GE(within, Draws * 9 / 10);
    const double n = Draws;
    const double scatterA = std::sqrt(sumA2 / n - (sumA / n) * (sumA / n));
    const double scatterB = std::sqrt(sumB2 / n - (sumB / n) * (sumB / n));
    EXPECT_GT(sumErrA / n, scatterA / 1.5);
    EXPECT_LT(sumErrA / n, scatterA * 1.5);
    EXPECT_GT(sumErrB / n, scatterB / 1.5);
    EXPECT_LT(sumErrB / n, scatterB * 1.5);
    EXPECT_NEAR(sumA / n, truth.massA, 3 * scatterA / std::sqrt(n));
}

TEST(VelocityFit, GivesTheAmplitudesGammaAndTheSeparationOfTheModel) {
    const Parameters truth = hiddenPair();
    const fit::VelocityFit f = fit::fitVelocities(observe(truth, 40, 8), lightCurveModel(truth));
    Evaluator ev(truth);
    ev.at(0);
    const auto orbit = projectedOrbitOf(ev.state());
    const auto K = physics::amplitudes(orbit);
    EXPECT_NEAR(f.kA.value, K.a, 3 * f.kA.error);
    EXPECT_NEAR(f.kB.value, K.b, 3 * f.kB.error);
    EXPECT_NEAR(f.gamma.value, Gamma, 3 * f.gamma.error);
    EXPECT_NEAR(f.a.value, truth.distance, 3 * f.a.error);
    EXPECT_NEAR(f.aSinI.value, truth.distance * f.sinI, 3 * f.aSinI.error);
    EXPECT_NEAR(f.massASin3i.value / f.massA.value, std::pow(f.sinI, 3), 1e-12);
    // A periastron passage: 2459000.37 plus whole periods.
    const double cycles = (f.periastron.value - 2459000.37) / f.periodDays;
    EXPECT_NEAR(cycles, std::round(cycles), 3 * f.periastron.error / f.periodDays);
    EXPECT_TRUE(f.weighted);
    EXPECT_EQ(f.pointsA, 40u);
    EXPECT_NEAR(f.chi2Reduced, 1, 0.5);
}

TEST(VelocityFit, PhasedVelocitiesFallOnTheModelsCurvesSincePeriastron) {
    // Noiseless velocities of the truth, fitted with the truth: each one less gamma is the
    // model's own velocity at the phase since the fitted periastron.
    const Parameters truth = hiddenPair();
    VelocitySet v = observe(truth, 30, 11);
    Evaluator ev(truth);
    const double P = ev.period() * DaysPerYear;
    for (std::size_t i = 0; i < v.time.size(); ++i) {
        ev.at((v.time[i] - 2459000.37) / DaysPerYear);
        const auto now = velocitiesNow(ev.state());
        v.rvA[i] = Gamma + now.a;
        v.rvB[i] = Gamma + now.b;
    }
    v.rvB[3] = NAN; // a night with one star's velocity only
    const fit::VelocityFit f = fit::fitVelocities(v, truth);
    const fit::PhasedVelocities ph = fit::phasedVelocities(v, f);
    ASSERT_EQ(ph.phase.size(), v.time.size());
    for (std::size_t i = 0; i < v.time.size(); ++i) {
        EXPECT_GE(ph.phase[i], 0);
        EXPECT_LT(ph.phase[i], 1);
        ev.at(ph.phase[i] * P / DaysPerYear);
        const auto now = velocitiesNow(ev.state());
        EXPECT_NEAR(ph.rvA[i], now.a, 1e-3) << i;
        if (i == 3)
            EXPECT_TRUE(std::isnan(ph.rvB[i]));
        else
            EXPECT_NEAR(ph.rvB[i], now.b, 1e-3) << i;
    }
    EXPECT_EQ(ph.errorA, v.errorA);
}

TEST(VelocityFit, WithoutErrorsTheScatterStandsInAndTheDigitsRepeat) {
    const Parameters truth = hiddenPair();
    const VelocitySet v = observe(truth, 30, 11, false);
    const fit::VelocityFit f = fit::fitVelocities(v, lightCurveModel(truth));
    EXPECT_FALSE(f.weighted);
    EXPECT_NEAR(f.massA.value, truth.massA, 3 * f.massA.error);
    EXPECT_GT(f.rms, SigmaA);
    EXPECT_LT(f.rms, SigmaB);
    const fit::VelocityFit g = fit::fitVelocities(v, lightCurveModel(truth));
    EXPECT_EQ(f.massA.value, g.massA.value);
    EXPECT_EQ(f.massB.error, g.massB.error);
}

// Weighted when every velocity has an error above 0, however small: here errors of a tenth
// of the scatter, below 1 km/s; one error of 0 among star B's, and it is unweighted.
TEST(VelocityFit, WeightedWhenEveryVelocityHasAnErrorAboveZero) {
    const Parameters truth = hiddenPair();
    VelocitySet v = observe(truth, 30, 11);
    for (double& e : v.errorA)
        e = 0.15;
    for (double& e : v.errorB)
        e = 0.4;
    EXPECT_TRUE(fit::fitVelocities(v, lightCurveModel(truth)).weighted);
    v.errorB[7] = 0;
    EXPECT_FALSE(fit::fitVelocities(v, lightCurveModel(truth)).weighted);
}

// The inclination the fit used, from its sine: 0 to 90 degrees, a sine rounded above 1 read
// as 1.
TEST(VelocityFit, ItsInclinationFromItsSine) {
    fit::VelocityFit f;
    f.sinI = 0.5;
    EXPECT_NEAR(fit::inclinationDegrees(f), 30, 1e-12);
    f.sinI = 1 + 1e-15;
    EXPECT_EQ(fit::inclinationDegrees(f), 90);
    f.sinI = 0;
    EXPECT_EQ(fit::inclinationDegrees(f), 0);
}

TEST(VelocityFit, RefusesWhatCannotGiveMasses) {
    const Parameters truth = hiddenPair();
    VelocitySet single = observe(truth, 10, 3);
    std::fill(single.rvB.begin(), single.rvB.end(), NAN);
    auto message = [&](const VelocitySet& v, const Parameters& m) -> std::string {
        try {
            fit::fitVelocities(v, m);
        } catch (const fit::FitError& e) {
            return e.what();
        }
        return "accepted";
    };
    EXPECT_EQ(message(single, truth), "the masses need the velocities of both stars (the file "
                                      "has 10 of star A and 0 of star B)");
    EXPECT_EQ(message(observe(truth, 2, 3), truth),
              "too few velocities: at least 2 of each star and 5 in all are needed");
    Parameters faceOn = truth;
    faceOn.incline1 = 0;
    faceOn.incline2 = 90;
    faceOn.incline3 = 0;
    EXPECT_EQ(message(observe(truth, 10, 3), faceOn),
              "the model's orbit is seen face on: its stars do not move along the line of sight");
    Parameters broken = truth;
    broken.massA = 0;
    broken.massB = 0;
    EXPECT_EQ(message(observe(truth, 10, 3), broken).rfind("the model cannot be evaluated", 0), 0u);
}

TEST(VelocityFit, TheCaptionSaysTheMassesToTheirDigits) {
    VelocitySet v;
    v.name = "rv.txt";
    v.rvA = {1, 2, NAN};
    v.rvB = {1, NAN, 3};
    fit::VelocityFit f;
    f.massA = {3.6123, 0.2345};
    f.massB = {0.8012, 0.0512};
    EXPECT_EQ(fit::velocityCaption(v, f),
              "rv.txt: 4 velocities, M_A 3.61 \u00B1 0.23, M_B 0.801 \u00B1 0.051 M\u2609");
    EXPECT_EQ(fit::withError({12.345, 0}, "+-"), "12.35");
}

} // namespace
} // namespace orvanta::fittest

namespace orvanta::fittest {
namespace {

TEST(VelocityMasses, FitsAgainOnlyWhenTheModelChanges) {
    const Parameters truth = hiddenPair();
    fit::VelocityMasses m;
    EXPECT_FALSE(m.follow(truth));
    EXPECT_EQ(m.caption(), "");
    m.hold(std::make_shared<const VelocitySet>(observe(truth, 12, 5)));
    EXPECT_TRUE(m.follow(truth));
    ASSERT_TRUE(m.fit().has_value());
    EXPECT_FALSE(m.follow(truth));
    EXPECT_EQ(m.caption().rfind("rv.txt: 24 velocities, M_A ", 0), 0u) << m.caption();
    EXPECT_NE(m.summary().find("M_B sin\u00B3i"), std::string::npos) << m.summary();
    Parameters tilted = truth;
    tilted.incline2 = 20;
    const double before = m.fit()->massA.value;
    EXPECT_TRUE(m.follow(tilted));
    EXPECT_GT(m.fit()->massA.value, before); // a smaller sin i: larger masses
    Parameters faceOn = truth;
    faceOn.incline1 = faceOn.incline3 = 0;
    faceOn.incline2 = 90;
    EXPECT_TRUE(m.follow(faceOn));
    EXPECT_FALSE(m.fit().has_value());
    EXPECT_EQ(m.caption(), "rv.txt: 24 velocities, no masses (the model's orbit is seen face on: "
                           "its stars do not move along the line of sight)");
    m.hold(nullptr);
    EXPECT_EQ(m.summary(), "");
}

} // namespace
} // namespace orvanta::fittest
