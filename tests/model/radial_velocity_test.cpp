// SPDX-License-Identifier: GPL-3.0-or-later
// Radial velocities from the model's orbit, and the masses they give back.
#include "core/projected_orbit.h"
#include "model_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

using namespace orvanta;
using orvanta::physics::VelocityPoint;

namespace {

struct Orientation {
    double e, i1, i2, i3;
};

class Velocity : public orvanta::testing::ModelTest,
                 public ::testing::WithParamInterface<Orientation> {
protected:
    void SetUp() override {
        read();
        const auto o = GetParam();
        f.Eccen = o.e;
        f.Incline1 = o.i1;
        f.Incline2 = o.i2;
        f.Incline3 = o.i3;
    }
    double depth(double t, bool a) {
        at(t);
        return (a ? f.DepthA : f.DepthB).value();
    }
    /// The five-point central difference of the model's depth, km/s: error of order h^4 times
    /// the fifth derivative, plus the depth's rounding over h.
    double depthRate(double t, bool a, double h) {
        const double d =
            -depth(t + 2 * h, a) + 8 * depth(t + h, a) - 8 * depth(t - h, a) + depth(t - 2 * h, a);
        return d / (12 * h) * physics::kKmPerSecondPerSunRadPerYear;
    }
};

TEST_P(Velocity, IsTheRateOfChangeOfTheModelsDepth) {
    const double P = f.Period.value();
    for (double phase : {0.0, 0.1, 0.25, 0.4, 0.5, 0.63, 0.75, 0.9}) {
        const double t = phase * P + 3 * P; // a few turns on: E is not reduced by whole turns
        // At the apsides the model's true anomaly is the arc cosine of a number near 1 or -1,
        // rounded to about 1e-8 radians: a wider step keeps that rounding small over h (but
        // narrower for a fast periastron passage).
        const bool apsis = phase == 0 || phase == 0.5;
        const double e = std::fabs(GetParam().e);
        const double h = P * (apsis ? 2e-3 * (1 - e) * (1 - e) : 1e-5);
        const double wantA = depthRate(t, true, h), wantB = depthRate(t, false, h);
        at(t);
        const auto v = velocitiesNow(f);
        const auto K = physics::amplitudes(projectedOrbitOf(f));
        EXPECT_NEAR(v.a, wantA, 1e-6 * K.a + 1e-12) << "phase " << phase;
        EXPECT_NEAR(v.b, wantB, 1e-6 * K.b + 1e-12) << "phase " << phase;
        const double scale = K.a + 1e-9;
        // The centre of mass stays at rest.
        EXPECT_NEAR(v.a * f.MassA.value() + v.b * f.MassB.value(), 0, 1e-9 * scale);
    }
}

TEST_P(Velocity, AmplitudesAreHalfTheRangeAndInverseToTheMasses) {
    const auto orbit = projectedOrbitOf((at(0), f));
    const auto K = physics::amplitudes(orbit);
    EXPECT_NEAR(K.a / K.b, f.MassB.value() / f.MassA.value(), 1e-9 * K.a / K.b);
    double lo = 1e300, hi = -1e300;
    const int n = 20000;
    for (int k = 0; k < n; ++k) {
        at(f.Period.value() * k / n);
        const double v = velocitiesNow(f).a;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_NEAR((hi - lo) / 2, K.a, 1e-5 * K.a + 1e-9);
}

TEST_P(Velocity, TheAmplitudesGiveTheModelsMassesAndSeparationBack) {
    at(0);
    const auto orbit = projectedOrbitOf(f);
    const auto K = physics::amplitudes(orbit);
    const double sinI = physics::sinInclination(orbit);
    if (sinI < 1e-3) { // face-on: no velocities to measure, so no masses
        EXPECT_LT(K.a + K.b, 1e-9);
        EXPECT_EQ(physics::fromAmplitudes(K.a, K.b, 1, 0, 0).massA, 0);
        return;
    }
    const double days = f.Period.value() * DaysPerYear;
    const auto r = physics::fromAmplitudes(K.a, K.b, days, f.Eccen.value(), sinI);
    EXPECT_NEAR(r.massA, f.MassA.value(), 1e-9 * f.MassA.value());
    EXPECT_NEAR(r.massB, f.MassB.value(), 1e-9 * f.MassB.value());
    EXPECT_NEAR(r.a, f.MeanDistance.value(), 1e-9 * f.MeanDistance.value());
    EXPECT_NEAR(r.massASin3i, f.MassA.value() * sinI * sinI * sinI, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Orientations, Velocity,
                         ::testing::Values(Orientation{0, 0, -7.69, 0}, Orientation{0, 0, 0, 0},
                                           Orientation{0.3, 20, -30, 40},
                                           Orientation{0.7, -50, 60, 100},
                                           Orientation{-0.4, 10, -80, 200},
                                           Orientation{0.2, 0, 90, 0}));

/// Gaussian deviates by the Box-Muller transform from a generator whose sequence is the same
/// everywhere (the library's own normal distribution is not).
class Noise {
public:
    explicit Noise(std::uint64_t seed) : g_(seed) {}
    double operator()() {
        const double u = (static_cast<double>(g_() >> 11) + 0.5) * 0x1p-53;
        const double v = (static_cast<double>(g_() >> 11) + 0.5) * 0x1p-53;
        return std::sqrt(-2 * std::log(u)) * std::cos(2 * std::numbers::pi * v);
    }

private:
    std::mt19937_64 g_;
};

class Masses : public orvanta::testing::ModelTest {
protected:
    void SetUp() override {
        read();
        f.Eccen = 0.15;
        f.Incline3 = 35;
    }
    /// Velocities of both stars at n instants spread over a few turns, with Gaussian errors.
    std::vector<VelocityPoint> measure(int n, double sigma, double gamma, std::uint64_t seed,
                                       bool withErrors) {
        Noise noise(seed);
        std::vector<VelocityPoint> points;
        at(0);
        const auto K = physics::amplitudes(projectedOrbitOf(f));
        for (int k = 0; k < n; ++k) {
            at(f.Period.value() * (0.37 * k + 0.01));
            const auto v = velocitiesNow(f);
            const double e = withErrors ? sigma : 0;
            points.push_back({true, gamma + v.a + sigma * noise(), e, v.a / K.a});
            points.push_back({false, gamma + v.b + sigma * noise(), e, v.b / K.b});
        }
        return points;
    }
};

TEST_F(Masses, AreRecoveredFromNoisyVelocitiesWithinTheirErrors) {
    at(0);
    const auto orbit = projectedOrbitOf(f);
    const double sinI = physics::sinInclination(orbit), days = f.Period.value() * DaysPerYear;
    const auto K = physics::amplitudes(orbit);
    int seed = 1;
    for (bool withErrors : {true, false}) {
        for (int run = 0; run < 5; ++run) {
            const auto points = measure(25, 3.0, -12.5, seed++, withErrors);
            const auto fit = physics::fitAmplitudes(points);
            ASSERT_TRUE(fit.ok);
            EXPECT_NEAR(fit.gamma, -12.5, 4 * fit.sigmaGamma);
            EXPECT_NEAR(fit.kA, K.a, 4 * fit.sigmaKA);
            EXPECT_NEAR(fit.kB, K.b, 4 * fit.sigmaKB);
            // 25 points of each star at 3 km/s: an amplitude to about 3 / sqrt(12.5).
            EXPECT_NEAR(fit.sigmaKA, 3 / std::sqrt(12.5), 0.5);
            const auto m = physics::fromAmplitudes(fit.kA, fit.kB, days, 0.15, sinI);
            const auto err = physics::massErrors(fit, days, 0.15, sinI);
            EXPECT_GT(err.massA, 0);
            EXPECT_NEAR(m.massA, f.MassA.value(), 4 * err.massA) << "run " << run;
            EXPECT_NEAR(m.massB, f.MassB.value(), 4 * err.massB) << "run " << run;
        }
    }
}

TEST_F(Masses, NoiselessVelocitiesFitExactlyAndTooFewPointsDoNotFit) {
    const auto points = measure(6, 0, 7, 1, false);
    const auto fit = physics::fitAmplitudes(points);
    ASSERT_TRUE(fit.ok);
    at(0);
    const auto K = physics::amplitudes(projectedOrbitOf(f));
    EXPECT_NEAR(fit.kA, K.a, 1e-9 * K.a);
    EXPECT_NEAR(fit.kB, K.b, 1e-9 * K.b);
    EXPECT_NEAR(fit.gamma, 7, 1e-9);
    std::vector<VelocityPoint> onlyA;
    for (const auto& p : points)
        if (p.starA) onlyA.push_back(p);
    EXPECT_FALSE(physics::fitAmplitudes(onlyA).ok);
    EXPECT_FALSE(
        physics::fitAmplitudes(std::vector<VelocityPoint>(points.begin(), points.begin() + 3)).ok);
}

/// Errors of 20 km/s weight each point by 1/400: the normal equations' determinant is far
/// below 1, and the fit is still solved, exactly for velocities without noise.
TEST(AmplitudeFit, IsSolvedHoweverLargeTheErrors) {
    std::vector<VelocityPoint> points;
    for (const double shape : {1.0, -1.0, 0.5}) {
        points.push_back({true, 5 + 40 * shape, 20, shape});
        points.push_back({false, 5 - 60 * shape, 20, -shape});
    }
    const auto fit = physics::fitAmplitudes(points);
    ASSERT_TRUE(fit.ok);
    EXPECT_NEAR(fit.gamma, 5, 1e-9);
    EXPECT_NEAR(fit.kA, 40, 1e-9);
    EXPECT_NEAR(fit.kB, 60, 1e-9);
    EXPECT_NEAR(fit.chiSquare, 0, 1e-20);
}

TEST(MassesFromAmplitudes, TheTextbookCircularCase) {
    // P = 10 days, K_A = K_B = 50 km/s, e = 0, i = 90 degrees: a = P (K_A + K_B) / 2 pi and
    // each mass (P / 2 pi G) (K_A + K_B)^2 K / M_sun, worked by hand with the same G M_sun.
    const double P = 10 * 86400, pi = std::numbers::pi;
    const double gm = 4 * pi * pi * std::pow(149597900000.0, 3) / std::pow(365.2425 * 86400, 2);
    const auto r = physics::fromAmplitudes(50, 50, 10, 0, 1);
    EXPECT_NEAR(r.a, P * 1e5 / (2 * pi) / 695990000, 1e-9);
    EXPECT_NEAR(r.massA, P / (2 * pi * gm) * 1e10 * 5e4, 1e-12);
    EXPECT_EQ(r.massA, r.massB);
    EXPECT_EQ(r.massA, r.massASin3i);
    const auto tilted = physics::fromAmplitudes(50, 50, 10, 0, 0.5);
    EXPECT_NEAR(tilted.massA, 8 * r.massA, 1e-12);
    EXPECT_EQ(physics::fromAmplitudes(50, 50, 10, 0, 0).massA, 0);
}

} // namespace

namespace {

// The lesson's velocities (data/twins_rv.csv) give back the masses of the inputs that made
// them (those of data/twins.csv), within their errors, and the file's own period.
TEST(TeachingVelocities, GiveTheMassesOfTheTwinsBack) {
    std::ifstream in(std::string(ORVANTA_SOURCE_DIR) + "/data/twins_rv.csv");
    ASSERT_TRUE(in) << "data/twins_rv.csv";
    auto f = std::make_unique<Form1>();
    f->Form_Load();
    f->Text7.Text = "1.1";
    f->Text8.Text = "1.05";
    f->Text9.Text = "1.2";
    f->Text10.Text = "1.15";
    f->Text11.Text = "70000000";
    f->Text12.Text = "66000000";
    f->Text1.Text = "6";
    f->Text5.Text = "-4";
    f->Plot_Click();
    const double days = f->Period.value() * DaysPerYear;
    // The light curve's file puts periastron 0.37 periods before its first night.
    const double periastron = 2459400.3 - 0.37 * days;
    f->Time = 0;
    f->Main();
    const auto orbit = projectedOrbitOf(*f);
    const auto K = physics::amplitudes(orbit);
    std::vector<VelocityPoint> points;
    std::string line;
    double filePeriod = 0;
    while (std::getline(in, line)) {
        if (line.rfind("# period = ", 0) == 0) filePeriod = std::stod(line.substr(11));
        if (line.empty() || line[0] == '#' || line[0] == 'H') continue;
        double t = 0, a = 0, b = 0, e = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf", &t, &a, &b, &e), 4) << line;
        f->Time = std::fmod(t - periastron, days) / days * f->Period;
        f->Main();
        const auto v = velocitiesNow(*f);
        points.push_back({true, a, e, v.a / K.a});
        points.push_back({false, b, e, v.b / K.b});
    }
    EXPECT_NEAR(filePeriod, days, 1e-6);
    ASSERT_EQ(points.size(), 36u);
    const auto fit = physics::fitAmplitudes(points);
    ASSERT_TRUE(fit.ok);
    EXPECT_NEAR(fit.gamma, 12.3, 3 * fit.sigmaGamma);
    const double sinI = physics::sinInclination(orbit);
    const auto m = physics::fromAmplitudes(fit.kA, fit.kB, days, 0, sinI);
    const auto err = physics::massErrors(fit, days, 0, sinI);
    EXPECT_NEAR(m.massA, 1.1, 3 * err.massA);
    EXPECT_NEAR(m.massB, 1.05, 3 * err.massB);
    EXPECT_LT(err.massA, 0.05);
}

} // namespace
