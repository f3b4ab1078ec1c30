// SPDX-License-Identifier: GPL-3.0-or-later
// The options of real stars in the window's model: limb darkening of the star behind, third
// light, their dialog's boxes and the title bar.
#include "core/light_options_text.h"
#include "disc_integral.h"
#include "model_fixture.h"
#include "physics/eclipse.h"
#include "ui/light_options_form.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <variant>
#include <vector>

using namespace orvanta;

namespace {

class LightOptions : public orvanta::testing::ModelTest {
protected:
    void SetUp() override { read(); }
    /// PowerSum at the sweep's samples.
    std::vector<double> curve() {
        std::vector<double> p;
        for (int k = 0; k <= 793; ++k) {
            at(f.Period.value() * k / 793);
            p.push_back(f.PowerSum.value());
        }
        return p;
    }
};

TEST_F(LightOptions, OffOrZeroLeavesEveryDigitOfTheUniformDiscs) {
    const auto uniform = curve();
    f.LightOptions = {};
    f.LightOptions.limbA = {0, 0};
    EXPECT_FALSE(f.LightOptions.any());
    const auto again = curve();
    for (std::size_t i = 0; i < uniform.size(); ++i)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(again[i]), std::bit_cast<std::uint64_t>(uniform[i]));
    // Darkening star A alone changes only the eclipses in which A is behind.
    f.LightOptions.limbA = {0.6, 0.1};
    const auto dark = curve();
    int changed = 0;
    for (std::size_t i = 0; i < uniform.size(); ++i) {
        at(f.Period.value() * static_cast<double>(i) / 793);
        if (eclipseNow(f) == Eclipse::None)
            EXPECT_EQ(dark[i], uniform[i]) << i;
        else if (eclipseNow(f) == Eclipse::AInFront)
            EXPECT_EQ(dark[i], uniform[i]) << i; // B behind, and B is uniform
        else
            changed += dark[i] != uniform[i];
    }
    EXPECT_GT(changed, 10);
}

TEST_F(LightOptions, TheStarBehindLosesWhatTheIntegralOverItsDiscSays) {
    // Parameter sets drawn by a seeded generator: radii, orientation, eccentricity, laws.
    std::mt19937_64 g(25);
    auto u = [&](double lo, double hi) {
        return lo + (hi - lo) * static_cast<double>(g() >> 11) * 0x1p-53;
    };
    for (int set = 0; set < 6; ++set) {
        f.Text9.Text = Str(u(0.5, 4));
        f.Text10.Text = Str(u(0.5, 4));
        f.Text3.Text = Str(u(0, 0.5));
        f.Text5.Text = Str(u(-12, 0));
        f.Text6.Text = Str(u(0, 360));
        read();
        f.LightOptions.limbA = {u(0, 0.6), u(0, 0.3)};
        f.LightOptions.limbB = {u(0, 0.9), 0};
        const double whole = f.MaxPowerSum.value();
        for (int k = 0; k < 400; ++k) {
            at(f.Period.value() * k / 400);
            const Eclipse e = eclipseNow(f);
            if (e == Eclipse::None) continue;
            const bool aBehind = e == Eclipse::BInFront;
            const double rb = (aBehind ? f.RadiusA : f.RadiusB).value();
            const double rf = (aBehind ? f.RadiusB : f.RadiusA).value();
            const double power =
                ((aBehind ? f.FluxA : f.FluxB) * f.Pi).value() * std::pow(rb * SunRad, 2);
            const double want =
                whole -
                power * physics::bruteForce(aBehind ? f.LightOptions.limbA : f.LightOptions.limbB,
                                            rf / rb, f.ProjDistance.value() / rb);
            EXPECT_NEAR(f.PowerSum.value(), want, 1e-7 * whole) << "set " << set << " k " << k;
        }
    }
}

TEST_F(LightOptions, ThirdLightIsItsFractionOfTheLightOutsideEclipse) {
    const auto uniform = curve();
    f.LightOptions.thirdLight = 0.2;
    const auto third = curve();
    const double whole = f.MaxPowerSum.value();
    for (std::size_t i = 0; i < uniform.size(); ++i)
        EXPECT_NEAR(third[i] - uniform[i], whole / 4, 1e-12 * whole);
    EXPECT_NEAR((third[0] - uniform[0]) / third[0], 0.2, 1e-14);
}

TEST_F(LightOptions, TheFullLightOfTheGraphAndItsReadOutsIncludesTheThirdLight) {
    const double stars = f.MaxPowerSum.value();
    f.LightOptions.thirdLight = 0.2;
    read();
    EXPECT_NEAR(f.MaxPowerSum.value(), stars / 0.8, 1e-15 * stars);
    EXPECT_EQ(f.Label33.Caption, text(f.MaxPowerSum));
    at(0);
    EXPECT_NEAR(f.PowerSum.value(), f.MaxPowerSum.value(), 1e-15 * stars);
    // The window after a plot: out of eclipse the read-out says 100 %, as without it.
    auto w = std::make_unique<Form1>();
    w->Load();
    w->LightOptionsSet(f.LightOptions);
    EXPECT_EQ(w->Label34.Caption, "100");
}

TEST(LightOptionsDialog, ReadsItsBoxesOrNamesTheOneAtFault) {
    const auto ok = readLightOptions({"0.6", "", "0.4", " 0.25 ", "0.1"});
    ASSERT_TRUE(std::holds_alternative<physics::LightOptions>(ok));
    const auto& o = std::get<physics::LightOptions>(ok);
    EXPECT_EQ(o.limbA, (physics::LimbDarkening{0.6, 0}));
    EXPECT_EQ(o.limbB, (physics::LimbDarkening{0.4, 0.25}));
    EXPECT_EQ(o.thirdLight, 0.1);
    EXPECT_EQ(std::get<std::string>(readLightOptions({"0.6x", "", "", "", ""})),
              "The box of u1 of star A does not hold one number.");
    EXPECT_EQ(std::get<std::string>(readLightOptions({"", "", "", "1,5", ""})),
              "The box of u2 of star B does not hold one number.");
    EXPECT_EQ(std::get<std::string>(readLightOptions({"", "", "1.2", "", ""})),
              "Star B: the limb darkening makes the star's light negative near its limb.");
    EXPECT_EQ(std::get<std::string>(readLightOptions({"", "", "", "", "1"})),
              "The third light must be a fraction from 0 up to (not) 1.");
    // The boxes of the options read back as the options.
    EXPECT_EQ(std::get<physics::LightOptions>(readLightOptions(textsOf(o))), o);
}

TEST(LightOptionsDialog, TheTitleSaysWhichOptionsAreOn) {
    physics::LightOptions o;
    EXPECT_EQ(lightOptionsCaption(o), "");
    o.limbB = {0.5, 0};
    EXPECT_EQ(lightOptionsCaption(o), "limb darkening B");
    o.limbA = {0.5, 0};
    o.thirdLight = 0.1;
    EXPECT_EQ(lightOptionsCaption(o), "limb darkening A, B; third light 10 %");

    auto f = std::make_unique<Form1>();
    f->Load();
    const std::string plain = f->windowTitle();
    f->LightOptionsSet(o);
    EXPECT_EQ(f->ErrorCount, 0);
    EXPECT_EQ(f->windowTitle(), plain + " \u2014 limb darkening A, B; third light 10 %");
    f->LightOptionsSet({});
    EXPECT_EQ(f->windowTitle(), plain);
}

} // namespace
