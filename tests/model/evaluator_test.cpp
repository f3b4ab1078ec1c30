// SPDX-License-Identifier: GPL-3.0-or-later
// The light curve without a window: the window's digits, its faults, and one evaluator per
// thread.
#include "model_fixture.h"

#include "physics/evaluator.h"

#include <bit>
#include <cstdint>
#include <thread>
#include <vector>

namespace orvanta::testing {
namespace {

std::uint64_t bits(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

struct Case {
    const char* name;
    const char* eccentricity;
    const char* incline1;
    const char* incline2;
    const char* incline3;
};

const Case Cases[] = {
    {"defaults", nullptr, nullptr, nullptr, nullptr},
    {"eccentric", "0.6", "20", "85", "40"},
    {"nearlyParabolic", "0.97", "0", "90", "0"},
    {"negativeEccentricity", "-0.5", "10", "80", "-30"},
    {"faceOn", "0.3", "0", "0", "0"},
};

class EvaluatorTest : public ModelTest, public ::testing::WithParamInterface<Case> {
protected:
    /// The window's boxes for the case, read as a plot reads them.
    void readCase() {
        const Case& c = GetParam();
        if (c.eccentricity != nullptr) f.Text3.Text = c.eccentricity;
        if (c.incline1 != nullptr) f.Text4.Text = c.incline1;
        if (c.incline2 != nullptr) f.Text5.Text = c.incline2;
        if (c.incline3 != nullptr) f.Text6.Text = c.incline3;
        read();
    }
    [[nodiscard]] Parameters parameters() const { return parametersOf(f); }
};

// A fresh window's sweep and a fresh evaluator's: the same times, powers and eclipses to the
// last bit, and the same whole orbit state at the end.
TEST_P(EvaluatorTest, SweepHasTheWindowsDigits) {
    readCase();
    std::vector<CurveSample> window;
    f.PeriodSweep([&] { window.push_back({f.Time.value(), f.PowerSum.value(), eclipseNow(f)}); });

    Evaluator ev(parameters());
    EXPECT_EQ(bits(ev.period()), bits(f.Period.value()));
    EXPECT_EQ(bits(ev.fullPower()), bits(f.MaxPowerSum.value()));
    const std::vector<CurveSample> headless = ev.sweep();
    ASSERT_EQ(headless.size(), window.size());
    for (std::size_t i = 0; i < window.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bits(headless[i].time), bits(window[i].time));
        EXPECT_EQ(bits(headless[i].power), bits(window[i].power));
        EXPECT_EQ(headless[i].eclipse, window[i].eclipse);
    }
    EXPECT_EQ(ev.evaluations(), window.size());
    EXPECT_EQ(bits(ev.state().EccAnomaly.value()), bits(f.EccAnomaly.value()));
    EXPECT_EQ(bits(ev.state().ViewXB.value()), bits(f.ViewXB.value()));
    EXPECT_EQ(bits(ev.state().DepthA.value()), bits(f.DepthA.value()));
}

// Any sequence of times: each evaluation starts from the last one's Kepler solution, in the
// evaluator as in the window; restart() is a fresh start.
TEST_P(EvaluatorTest, TimesInAnyOrderFollowTheWarmStartRule) {
    readCase();
    const double P = f.Period.value();
    const std::vector<double> times = {0.5 * P, 0.01 * P, 7.25 * P, -0.3 * P, 0.5 * P, 0.999 * P};
    Evaluator ev(parameters());
    const std::vector<CurveSample> listed = ev.at(times);
    ev.restart();
    for (std::size_t i = 0; i < times.size(); ++i) {
        SCOPED_TRACE(i);
        at(times[i]);
        const CurveSample one = ev.at(times[i]);
        EXPECT_EQ(bits(one.power), bits(f.PowerSum.value()));
        EXPECT_EQ(bits(listed[i].power), bits(f.PowerSum.value()));
        EXPECT_EQ(one.eclipse, eclipseNow(f));
        EXPECT_EQ(bits(ev.state().EccAnomaly.value()), bits(f.EccAnomaly.value()));
    }
}

// Limb darkening and third light in the parameters: the window's digits with the same
// options, and only the options change the light.
TEST_P(EvaluatorTest, OptionsOfRealStarsHaveTheWindowsDigits) {
    f.LightOptions.limbA = {0.6, 0.1};
    f.LightOptions.limbB = {0.4, 0.25};
    f.LightOptions.thirdLight = 0.15;
    readCase();
    std::vector<double> window;
    f.PeriodSweep([&] { window.push_back(f.PowerSum.value()); });

    Evaluator ev(parameters());
    EXPECT_EQ(ev.state().LightOptions, f.LightOptions);
    EXPECT_EQ(bits(ev.fullPower()), bits(f.MaxPowerSum.value()));
    const std::vector<CurveSample> headless = ev.sweep();
    ASSERT_EQ(headless.size(), window.size());
    for (std::size_t i = 0; i < window.size(); ++i)
        EXPECT_EQ(bits(headless[i].power), bits(window[i])) << i;

    Parameters uniform = parameters();
    uniform.light = {};
    Evaluator plain(uniform);
    const std::vector<CurveSample> without = plain.sweep();
    ASSERT_EQ(without.size(), headless.size());
    for (std::size_t i = 0; i < without.size(); ++i) {
        EXPECT_EQ(headless[i].eclipse, without[i].eclipse) << i;
        // Outside the eclipses only the third light is added.
        if (without[i].eclipse != Eclipse::None) continue;
        const double third = physics::thirdLightPower(plain.fullPower(), 0.15);
        EXPECT_EQ(bits(headless[i].power), bits(without[i].power + third)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Orbits, EvaluatorTest, ::testing::ValuesIn(Cases),
                         [](const auto& c) { return std::string(c.param.name); });

// Where the window's plot faults on reading its boxes, the evaluator faults the same way.
TEST(EvaluatorFaults, TheWindowsErrors) {
    Parameters p;
    p.distance = 10; // masses summing to 0: the period squared divides by 0
    EXPECT_EQ(errorOf([&] { Evaluator ev(p); }), err::DivisionByZero);
    p.distance = 0; // and 0 / 0
    EXPECT_EQ(errorOf([&] { Evaluator ev(p); }), err::Overflow);
    p.distance = 10;
    p.massA = -1; // a negative period squared
    EXPECT_EQ(errorOf([&] { Evaluator ev(p); }), err::InvalidCall);
    p.massA = 1;
    p.massB = 1;
    p.radiusA = 1e300; // the full discs' power leaves the double range
    p.fluxA = 1;
    EXPECT_EQ(errorOf([&] { Evaluator ev(p); }), err::Overflow);
    p.radiusA = 1;
    p.eccentricity = 1; // at periastron Kepler's Newton step divides by 0
    Evaluator ev(p);
    EXPECT_EQ(errorOf([&] { ev.at(0); }), err::Overflow);
}

// One evaluator per thread: two threads sweeping at once get what one thread gets alone.
TEST(EvaluatorThreads, EachThreadItsOwnEvaluator) {
    Parameters p;
    p.massA = 3.59;
    p.massB = 0.79;
    p.radiusA = 2.9;
    p.radiusB = 3.5;
    p.fluxA = 6.3e8;
    p.fluxB = 1.4e7;
    p.distance = 14.1;
    p.eccentricity = 0.4;
    p.incline2 = 88;
    std::vector<std::uint64_t> alone;
    {
        Evaluator ev(p);
        for (int run = 0; run < 20; ++run)
            for (const CurveSample& s : ev.sweep())
                alone.push_back(bits(s.power));
    }
    std::vector<std::uint64_t> first, second;
    auto work = [&p](std::vector<std::uint64_t>& out) {
        Evaluator ev(p);
        for (int run = 0; run < 20; ++run)
            for (const CurveSample& s : ev.sweep())
                out.push_back(bits(s.power));
    };
    std::thread a(work, std::ref(first));
    std::thread b(work, std::ref(second));
    a.join();
    b.join();
    EXPECT_EQ(first, alone);
    EXPECT_EQ(second, alone);
}

} // namespace
} // namespace orvanta::testing
