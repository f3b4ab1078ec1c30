// SPDX-License-Identifier: GPL-3.0-or-later
// Limb darkening and third light as free parameters: recovered from curves the model makes
// with them, and kept within what the options of the light allow.
#include "fit/least_squares.h"
#include "synthetic.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvanta::fit {
namespace {

using fittest::hiddenSystem;
using fittest::synthetic;

struct LightCase {
    const char* what;
    physics::LightOptions truth;
    std::vector<std::string> free;
    std::vector<double> start; ///< 10-20 % off the truth
};

class LightOptionsFit : public ::testing::TestWithParam<LightCase> {};

/// Every free parameter back within three of its errors, over noise draws.
TEST_P(LightOptionsFit, RecoversTheOptionsWithinTheirErrors) {
    const LightCase& c = GetParam();
    const auto truthForm = hiddenSystem();
    BoxModel model(*truthForm, c.free, c.truth);
    const std::vector<double> truth = model.start();
    int inside = 0, total = 0;
    for (std::uint64_t seed = 40; seed < 43; ++seed) {
        const Observations data = synthetic(*truthForm, 400, 0.005, 2, seed, true, 0.002, c.truth);
        FitOptions options;
        options.tryTurns = false;
        const FitResult r = fitCurve(model, c.start, data, options);
        for (std::size_t j = 0; j < c.free.size(); ++j) {
            ASSERT_TRUE(r.parameters[j].error.has_value())
                << c.what << ": " << c.free[j] << ": " << r.parameters[j].note;
            ++total;
            if (std::fabs(r.parameters[j].value - truth[j]) <= 3 * *r.parameters[j].error)
                ++inside;
            else
                ADD_FAILURE() << c.what << ": " << c.free[j] << " " << r.parameters[j].value
                              << " +- " << *r.parameters[j].error << ", truth " << truth[j];
        }
    }
    EXPECT_EQ(inside, total);
}

physics::LightOptions options(double u1A, double u1B, double third) {
    physics::LightOptions o;
    o.limbA.u1 = u1A;
    o.limbB.u1 = u1B;
    o.thirdLight = third;
    return o;
}

INSTANTIATE_TEST_SUITE_P(Options, LightOptionsFit,
                         ::testing::Values(LightCase{"third light",
                                                     options(0, 0, 0.2),
                                                     {"third-light", "radius-b", "incline2"},
                                                     {0.23, 3.5, -4.6}},
                                           LightCase{"limb darkening of the star eclipsed deepest",
                                                     options(0.55, 0.6, 0),
                                                     {"limb-a", "radius-a"},
                                                     {0.48, 2.9}},
                                           LightCase{"both",
                                                     options(0.5, 0.6, 0.15),
                                                     {"limb-a", "third-light", "incline2"},
                                                     {0.58, 0.17, -4.5}}));

/// A step the options cannot take (a law that would make the limb negative, a third light
/// of the whole light or more) is refused like stars that do not fit in the orbit.
TEST(LightOptionsFit, RefusesWhatTheOptionsRefuse) {
    const auto truthForm = hiddenSystem();
    BoxModel model(*truthForm, {"limb-a", "third-light"}, options(0.5, 0, 0.1));
    EXPECT_EQ(model.start(), (std::vector<double>{0.5, 0.1}));
    const std::vector<double> phases{0.0, 0.5};
    std::vector<double> out;
    EXPECT_TRUE(model.flux({0.6, 0.2}, phases, out));
    EXPECT_FALSE(model.flux({1.2, 0.2}, phases, out));
    EXPECT_FALSE(model.flux({0.6, 1.0}, phases, out));
    EXPECT_FALSE(model.flux({0.6, -0.1}, phases, out));
    // u2 is held as given: the linear coefficient alone is free.
    physics::LightOptions quadratic = options(0.3, 0, 0);
    quadratic.limbA.u2 = 0.2;
    BoxModel q(*truthForm, {"limb-a"}, quadratic);
    EXPECT_EQ(q.lightWith({0.4}).limbA.u2, 0.2);
    EXPECT_EQ(q.lightWith({0.4}).limbA.u1, 0.4);
    EXPECT_FALSE(q.flux({0.9}, phases, out)); // 1 - 0.9 - 0.2 < 0 at the limb
    ASSERT_NE(findFitParameter("third-light"), nullptr);
    EXPECT_EQ(findFitParameter("third-light")->input, nullptr);
    EXPECT_THROW(readParameter(*truthForm, *findFitParameter("limb-b")), FitError);
}

} // namespace
} // namespace orvanta::fit
