// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/least_squares.h"
#include "synthetic.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvanta::fit {
namespace {

using fittest::hiddenSystem;
using fittest::synthetic;

/// The hidden system's free parameters moved off by the given fractions (angles by that
/// fraction of 10 degrees, the eccentricity of 0.5).
std::vector<double> offStart(const BoxModel& model, const std::vector<double>& truth,
                             const std::vector<double>& by) {
    std::vector<double> s = truth;
    for (std::size_t j = 0; j < s.size(); ++j) {
        const FitParameter& p = *model.parameters()[j];
        s[j] += p.angle ? 10 * by[j] : p.name == "eccentricity" ? 0.5 * by[j] : s[j] * by[j];
    }
    return s;
}

/// Every free parameter back within three of its errors, from starts 10-20 % off, over
/// noise draws with outliers; and the errors match the scatter of the fits over the draws.
TEST(Fit, RecoversHiddenParametersWithinTheirErrors) {
    const auto truthForm = hiddenSystem();
    const std::vector<std::string> free{"radius-a", "radius-b", "eccentricity", "incline2",
                                        "incline3"};
    BoxModel model(*truthForm, free);
    const std::vector<double> truth = model.start();
    constexpr int draws = 12;
    int inside = 0, total = 0;
    std::vector<std::vector<double>> values(free.size()), errors(free.size());
    for (int d = 0; d < draws; ++d) {
        const Observations data = synthetic(*truthForm, 300, 0.01, 3, 100 + d);
        const double sign = d % 2 == 0 ? 1 : -1;
        const std::vector<double> start =
            offStart(model, truth, {0.1 * sign, -0.15 * sign, 0.2 * sign, 0.12, -0.18 * sign});
        const FitResult r = fitCurve(model, start, data);
        EXPECT_EQ(r.outliers, 3u);
        EXPECT_NEAR(r.robustRms, 0.01, 0.002);
        ASSERT_TRUE(r.chi2Reduced.has_value());
        EXPECT_NEAR(*r.chi2Reduced, 1, 0.25);
        for (std::size_t j = 0; j < free.size(); ++j) {
            ASSERT_TRUE(r.parameters[j].error.has_value())
                << free[j] << ": " << r.parameters[j].note;
            const double error = *r.parameters[j].error;
            ++total;
            if (std::fabs(r.parameters[j].value - truth[j]) <= 3 * error) ++inside;
            values[j].push_back(r.parameters[j].value);
            errors[j].push_back(error);
        }
    }
    EXPECT_GE(inside, static_cast<int>(0.9 * total));
    for (std::size_t j = 0; j < free.size(); ++j) {
        double mean = 0, meanError = 0;
        for (int d = 0; d < draws; ++d) {
            mean += values[j][d] / draws;
            meanError += errors[j][d] / draws;
        }
        double scatter = 0;
        for (int d = 0; d < draws; ++d)
            scatter += (values[j][d] - mean) * (values[j][d] - mean) / (draws - 1);
        scatter = std::sqrt(scatter);
        EXPECT_LT(meanError, 1.5 * scatter) << free[j];
        EXPECT_GT(meanError, scatter / 1.5) << free[j];
    }
}

/// In phase the light curve fixes only the radii relative to the orbit, and nothing of the
/// masses: those parameters get a note instead of an error bar.
TEST(Fit, NotesWhatTheCurveCannotTell) {
    const auto truthForm = hiddenSystem();
    const Observations data = synthetic(*truthForm, 200, 0.01, 0, 7);
    {
        BoxModel model(*truthForm, {"radius-a", "radius-b", "distance", "incline2"});
        FitOptions options;
        options.tryTurns = false;
        const FitResult r = fitCurve(model, model.start(), data, options);
        for (std::size_t j = 0; j < 3; ++j) {
            EXPECT_FALSE(r.parameters[j].error.has_value()) << r.parameters[j].name;
            EXPECT_NE(r.parameters[j].note.find("combination"), std::string::npos)
                << r.parameters[j].note;
        }
        EXPECT_TRUE(r.parameters[3].error.has_value()) << r.parameters[3].note;
    }
    {
        BoxModel model(*truthForm, {"mass-a", "mass-b", "eccentricity"});
        FitOptions options;
        options.tryTurns = false;
        const FitResult r = fitCurve(model, model.start(), data, options);
        for (std::size_t j = 0; j < 2; ++j) {
            EXPECT_FALSE(r.parameters[j].error.has_value());
            EXPECT_NE(r.parameters[j].note.find("radial velocities"), std::string::npos);
        }
        EXPECT_TRUE(r.parameters[2].error.has_value());
    }
}

/// The same data and start give the same digits; a start with a turned angle is tried and
/// the mirror solution of the tilt is reported, not silently dropped.
TEST(Fit, ReproducibleAndReportsEquallyGoodSolutions) {
    const auto truthForm = hiddenSystem();
    const Observations data = synthetic(*truthForm, 200, 0.01, 2, 11, false);
    BoxModel model(*truthForm, {"radius-a", "incline2"});
    const std::vector<double> start{2.9, -5};
    const FitResult a = fitCurve(model, start, data);
    const FitResult b = fitCurve(model, start, data);
    ASSERT_EQ(a.values.size(), b.values.size());
    for (std::size_t j = 0; j < a.values.size(); ++j)
        EXPECT_EQ(a.values[j], b.values[j]);
    EXPECT_FALSE(a.chi2Reduced.has_value()); // no error column
    EXPECT_EQ(a.outliers, 2u);
    EXPECT_GT(a.rms, a.robustRms);
    EXPECT_NEAR(a.values[0], 2.6, 0.05);
    // A tilt of -4 degrees and one of +4 show the same eclipses.
    bool mirror = false;
    for (const Alternative& alt : a.alternatives)
        mirror = mirror || std::fabs(alt.values[1] + a.parameters[1].value) < 0.5;
    EXPECT_TRUE(mirror);
    ASSERT_EQ(a.correlations.size(), 1u);
    EXPECT_LE(std::fabs(a.correlations[0].value), 1.0);
}

TEST(Fit, StopsWhenAskedAndRefusesWhatItCannotFit) {
    const auto truthForm = hiddenSystem();
    const Observations data = synthetic(*truthForm, 100, 0.01, 0, 3);
    BoxModel model(*truthForm, {"radius-a"});
    FitOptions options;
    int calls = 0;
    options.progress = [&](double) { return ++calls < 3; };
    EXPECT_TRUE(fitCurve(model, {2.8}, data, options).cancelled);

    EXPECT_THROW(BoxModel(*truthForm, {"radius-c"}), FitError);
    EXPECT_THROW(BoxModel(*truthForm, {"radius-a", "radius-a"}), FitError);
    EXPECT_THROW(fitCurve(model, {2.8, 1}, data), FitError);
    Observations few = data;
    few.phase.resize(3);
    few.value.resize(3);
    few.error.resize(3);
    EXPECT_THROW(fitCurve(model, {2.8}, few), FitError);
}

/// The share of the work done rises from 0 to 1 and never beyond, from one start and from
/// several (a few steps from each first, then the best on).
TEST(Fit, ReportsItsProgressFromZeroToOne) {
    const auto truthForm = hiddenSystem();
    const Observations data = synthetic(*truthForm, 100, 0.01, 0, 3);
    BoxModel model(*truthForm, {"radius-a"});
    for (const auto& starts : {std::vector<std::vector<double>>{}, {{2.6}, {3.1}}}) {
        FitOptions options;
        options.maxIterations = 2; // every stage to the end of its share
        options.starts = starts;
        std::vector<double> shares;
        options.progress = [&](double done) {
            shares.push_back(done);
            return true;
        };
        ASSERT_FALSE(fitCurve(model, {2.8}, data, options).cancelled);
        ASSERT_FALSE(shares.empty());
        EXPECT_GE(shares.front(), 0);
        for (std::size_t i = 1; i < shares.size(); ++i)
            EXPECT_GE(shares[i], shares[i - 1]) << i;
        EXPECT_EQ(shares.back(), 1);
    }
}

/// An error above a quarter of all a parameter can take says nothing of it: of a whole turn
/// for an angle, whatever range the search has.
TEST(Fit, AnErrorAboveAQuarterOfTheRangeSaysNothing) {
    const FitParameter ranged{"ranged", "", 1, 3, false, 1, nullptr};
    EXPECT_FALSE(saysNothing(0.5, ranged));
    EXPECT_TRUE(saysNothing(std::nextafter(0.5, 1.0), ranged));
    const FitParameter angle{"angle", "degrees", -10, 10, true, 1, nullptr};
    EXPECT_FALSE(saysNothing(90, angle));
    EXPECT_TRUE(saysNothing(std::nextafter(90.0, 91.0), angle));
}

/// Another solution is listed only when some parameter lies further from the best's than
/// three standard errors and a thousandth of its size and typical value: here 1 from 0 with
/// a typical value of 1000 is exactly a thousandth, not further.
TEST(Fit, AnotherSolutionIsApartBeyondItsTolerance) {
    EXPECT_FALSE(apart(1, 0, std::nullopt, 1000));
    EXPECT_TRUE(apart(1.001, 0, std::nullopt, 1000));
    EXPECT_FALSE(apart(-1, 0, std::nullopt, 1000));
    EXPECT_FALSE(apart(10, 4, 2.0, 1)); // 6 is three errors of 2
    EXPECT_TRUE(apart(10.5, 4, 2.0, 1));
    EXPECT_FALSE(apart(1001, 1000, 0.0, 0)); // a thousandth of the value itself
    EXPECT_TRUE(apart(1001.5, 1000, 0.0, 0));
}

/// On a circular orbit, turning the orbit in its own plane moves the eclipses as the
/// phase does: the angle is named with the phase, not with the level.
TEST(Fit, AnAngleThatOnlyMovesTheEclipsesIsNamedWithThePhase) {
    auto truthForm = hiddenSystem();
    truthForm->Text3.Text = "0";
    const Observations data = synthetic(*truthForm, 150, 0.01, 0, 9);
    BoxModel model(*truthForm, {"incline3"});
    FitOptions options;
    options.tryTurns = false;
    const FitResult r = fitCurve(model, model.start(), data, options);
    EXPECT_FALSE(r.parameters[0].error.has_value());
    EXPECT_EQ(r.parameters[0].note,
              "not determined on its own: the light curve fixes only its combination with the "
              "phase");
}

/// An error of 0 (or below, or not a number) says nothing of a point: it is weighed as one
/// without an error, and its residual stays in the data's unit.
TEST(Fit, AnErrorOfZeroIsNoError) {
    const auto truthForm = hiddenSystem();
    Observations data = synthetic(*truthForm, 120, 0.01, 0, 5);
    BoxModel model(*truthForm, {"radius-a"});
    Observations missing = data;
    data.error[7] = 0;
    missing.error[7] = NAN;
    const FitResult zero = fitCurve(model, {2.8}, data);
    const FitResult none = fitCurve(model, {2.8}, missing);
    EXPECT_EQ(zero.values, none.values);
    EXPECT_EQ(zero.rms, none.rms);
    EXPECT_GT(zero.rms, 0.005);
}

/// A star whose light is typed as a flux has its selector moved to the temperature row
/// when its temperature is free; a radius the magnitude row derives cannot be freed.
TEST(FitParameters, BoxesHoldEveryFreeParameter) {
    Form1 f;
    f.List2.TopIndex = 0;
    f.Text12.Text = Str(5.7e-8 * std::pow(6000.0, 4));
    prepareBoxes(f, {"temperature-b"});
    EXPECT_EQ(f.List2.TopIndex, 2);
    EXPECT_NEAR(readParameter(f, *findFitParameter("temperature-b")), 6000, 1e-6);

    Form1 g;
    g.List1.TopIndex = 3;
    EXPECT_THROW(prepareBoxes(g, {"radius-a"}), FitError);
    EXPECT_EQ(reported(*findFitParameter("incline3"), 190), -170);
    EXPECT_EQ(reported(*findFitParameter("incline3"), -180), 180);
    EXPECT_EQ(reported(*findFitParameter("radius-a"), 190), 190);
}

} // namespace
} // namespace orvanta::fit
