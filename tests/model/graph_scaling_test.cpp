// SPDX-License-Identifier: GPL-3.0-or-later
#include "loaded_form.h"
#include "physics/photometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace orvanta;
using orvanta::testing::loadedForm;

TEST(AutoGraphMag, PowerModeFitsTheCurveBetweenRow34AndTheAxis) {
    auto f = loadedForm();
    EXPECT_LT(f->LowPowerSum.value(), f->HighPowerSum.value());
    EXPECT_EQ(f->HighPowerSum.value(), f->MaxPowerSum.value());
    EXPECT_EQ(f->GraphBase.value(), f->LowPowerSum.value());
    EXPECT_DOUBLE_EQ(f->GraphMag.value(), 326 / (f->HighPowerSum.value() - f->LowPowerSum.value()));
    EXPECT_EQ(f->Text13.Text, Str(f->GraphMag.value()));
    EXPECT_EQ(f->AxisY.value(), 360);
    EXPECT_EQ(f->Line1[1].Y1, 360);
    // The deep eclipse is about 28.88 % of the unobscured light.
    EXPECT_NEAR(f->LowPowerSum.value() / f->MaxPowerSum.value(), 0.2888, 0.0005);
}

TEST(AutoGraphMag, FlatPowerCurveLiesAtRow34) {
    auto f = loadedForm();
    f->Text5.Text = "90"; // face-on: the discs never meet
    f->Plot_Click();
    EXPECT_EQ(f->LowPowerSum.value(), f->HighPowerSum.value());
    EXPECT_EQ(f->GraphBase.value(), 0);
    EXPECT_DOUBLE_EQ(f->GraphMag.value(), 326 / f->MaxPowerSum.value());
    EXPECT_FLOAT_EQ(f->CurrentY(), 34);
}

TEST(AutoGraphMag, FlatPowerCurveOfNoLightDividesByZero) {
    auto f = loadedForm();
    const Num before = f->GraphMag;
    f->FluxA = 0;
    f->FluxB = 0;
    f->MaxPowerSum = 0;
    try {
        f->AutoGraphMag();
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, err::DivisionByZero);
    }
    EXPECT_EQ(f->GraphMag.value(), before.value());
}

TEST(AutoGraphMag, MagnitudeCurveAcrossZeroPutsTheAxisAtMagnitudeZero) {
    auto f = loadedForm();
    f->List3.TopIndex = 1;
    f->List3_Scroll();
    const double faint = f->FaintMagSum.value(), bright = f->BrightMagSum.value();
    // The default pair is about magnitude -0.6 unobscured and +0.7 in the deep eclipse.
    ASSERT_GT(faint, 0);
    ASSERT_LT(bright, 0);
    EXPECT_EQ(f->AxisY.value(), 360);
    EXPECT_DOUBLE_EQ(f->GraphMag.value(), -326 / (faint - bright));
    EXPECT_EQ(f->GraphBase.value(), faint);
    const float axis = static_cast<float>(360 - 326 * (faint / (faint - bright)));
    EXPECT_EQ(f->Line1[1].Y1, axis);
    EXPECT_EQ(f->Line1[2].Y1, static_cast<float>(360 - 326 * (faint / (faint - bright)) - 8));
    // Magnitude 0 maps onto the axis row.
    const double zeroRow = f->AxisY.value() - f->GraphMag.value() * (0 - f->GraphBase.value());
    EXPECT_NEAR(zeroRow, axis, 1e-4);
    EXPECT_EQ(f->Text13.Text, Str(326 / (faint - bright)));
    EXPECT_EQ(f->Label48.Caption, "Abs Magnitude Sum =");
    EXPECT_EQ(f->Label29.Caption, "Mag:");
    EXPECT_EQ(f->Label5.Caption, "GraphMag / (Px/Mag) =");
}

// A curve whose brightest point is exactly magnitude 0 does not cross it: the axis stays at
// the faintest point, the graph's bottom, as for any curve wholly on one side of 0.
TEST(AutoGraphMag, MagnitudeCurveTouchingZeroKeepsTheAxisAtTheBottom) {
    auto f = loadedForm();
    // Both stars dimmed alike, then star A's flux chosen so that both full discs give
    // exactly magnitude 0.
    const Num target = powerOfMagnitude(0);
    f->FluxB = f->FluxB * (target / f->MaxPowerSum);
    const Num ofB = fullDiscPower(0, f->RadiusA, f->FluxB, f->RadiusB, f->Pi);
    const Num perFlux = fullDiscPower(1, f->RadiusA, 0, f->RadiusB, f->Pi);
    const double start = ((target - ofB) / perFlux).value();
    auto zeroAt = [&](double fluxA) {
        f->FluxA = fluxA;
        f->MaxPowerSum = fullDiscPower(f->FluxA, f->RadiusA, f->FluxB, f->RadiusB, f->Pi);
        return magnitudeOfPower(f->MaxPowerSum).value() == 0;
    };
    bool found = zeroAt(start);
    for (double up = start, down = start; !found && up < start * (1 + 1e-12);) {
        up = std::nextafter(up, HUGE_VAL);
        down = std::nextafter(down, 0.0);
        found = zeroAt(up) || zeroAt(down);
    }
    ASSERT_TRUE(found);
    // The scaling alone: the window's percentage of the light would divide by magnitude 0.
    f->List3.TopIndex = 1;
    f->AutoGraphMag();
    ASSERT_EQ(f->BrightMagSum.value(), 0);
    ASSERT_GT(f->FaintMagSum.value(), 0);
    EXPECT_EQ(f->AxisY.value(), 360);
    EXPECT_EQ(f->Line1[1].Y1, 360);
}

TEST(List3Scroll, BackToPowerRestoresCaptionsAndTheAxis) {
    auto f = loadedForm();
    const double mag = f->GraphMag.value();
    f->List3.TopIndex = 1;
    f->List3_Scroll();
    f->List3.TopIndex = 0;
    f->List3_Scroll();
    EXPECT_EQ(f->Label48.Caption, "Power Sum / W =");
    EXPECT_EQ(f->Label29.Caption, "Power:");
    EXPECT_EQ(f->Label5.Caption, "GraphMag / (Px/W) =");
    EXPECT_EQ(f->Label33.Caption, Str(f->MaxPowerSum.value()));
    EXPECT_EQ(f->AxisY.value(), 360);
    EXPECT_EQ(f->Line1[1].Y1, 360);
    EXPECT_EQ(f->GraphMag.value(), mag);
}

TEST(List3Scroll, StartsAFreshPicture) {
    auto f = loadedForm();
    f->Text8.Text = "0.5"; // an earlier curve in the other quantity must not stay behind
    f->Plot_Click();
    const auto both = f->pixels();
    f->Text8.Text = "0.8";
    f->Plot_Click(); // the default curve once more, over the picture of both
    f->List3.TopIndex = 1;
    f->List3_Scroll();
    f->List3.TopIndex = 0;
    f->List3_Scroll();
    EXPECT_NE(f->pixels(), both);
    EXPECT_EQ(f->pixels(), loadedForm()->pixels());
}

// With the star view's "Auto" ticked, a change of graph mode refits the star view too; unticked,
// the view keeps its scale.
TEST(List3Scroll, RefitsTheStarViewWhenItsAutoIsTicked) {
    auto f = loadedForm();
    ASSERT_EQ(f->Check2.Value, 1);
    f->AutoStarMag();
    const double mag = f->StarMag.value(), column = f->CentreX.value();
    f->StarMag = mag * 2;
    f->CentreX = 5;
    f->List3.TopIndex = 1;
    f->List3_Scroll();
    EXPECT_EQ(f->StarMag.value(), mag);
    EXPECT_EQ(f->CentreX.value(), column);

    f->Check2.Value = 0;
    f->StarMag = mag * 2;
    f->List3.TopIndex = 0;
    f->List3_Scroll();
    EXPECT_EQ(f->StarMag.value(), mag * 2);
}

TEST(List3Scroll, ManualMagnitudeScaleCentresMagnitudeZero) {
    auto f = loadedForm();
    f->Check1.Value = 0;
    f->List3.TopIndex = 1;
    f->List3_Scroll();
    EXPECT_EQ(f->AxisY.value(), 197);
    EXPECT_EQ(f->Line1[1].Y1, 197);
    EXPECT_EQ(f->GraphBase.value(), 0);
    const double faint = std::fabs(f->FaintMagSum.value());
    const double bright = std::fabs(f->BrightMagSum.value());
    EXPECT_DOUBLE_EQ(f->GraphMag.value(), -163 / std::max(faint, bright));
}

TEST(List3Scroll, ManualPowerScale) {
    auto f = loadedForm();
    f->Check1.Value = 0;
    f->List3.TopIndex = 1;
    f->List3_Scroll();
    f->List3.TopIndex = 0;
    f->List3_Scroll();
    EXPECT_EQ(f->AxisY.value(), 360);
    EXPECT_EQ(f->Line1[1].Y1, 360);
    EXPECT_EQ(f->GraphBase.value(), 0);
    EXPECT_DOUBLE_EQ(f->GraphMag.value(), 326 / f->MaxPowerSum.value());
}

struct ManualMagCase {
    double faint, bright, graphMag;
};

class UntickAutoInMagnitudeMode : public ::testing::TestWithParam<ManualMagCase> {};

TEST_P(UntickAutoInMagnitudeMode, FallsBackToTheFixedScale) {
    const auto c = GetParam();
    auto f = loadedForm();
    f->List3.TopIndex = 1;
    f->List3_Scroll();
    f->FaintMagSum = c.faint;
    f->BrightMagSum = c.bright;
    f->Check1.Value = 0;
    f->Check1_Click();
    EXPECT_DOUBLE_EQ(f->GraphMag.value(), c.graphMag);
    EXPECT_EQ(f->GraphBase.value(), 0);
    EXPECT_EQ(f->AxisY.value(), 197);
    EXPECT_EQ(f->Line1[1].Y1, 197);
    EXPECT_EQ(f->Text13.Text, Str(-c.graphMag));
}

INSTANTIATE_TEST_SUITE_P(Extremes, UntickAutoInMagnitudeMode,
                         ::testing::Values(ManualMagCase{3, -1, -163.0 / 3},
                                           ManualMagCase{-1, -4, -163.0 / 4},
                                           ManualMagCase{2, -2, -163.0 / 2}));

// A click on either "Auto" box unticks a ticked box and ticks an unticked one, then runs
// its handler.
TEST(AutoBoxes, AClickTogglesTheBox) {
    auto f = loadedForm();
    for (CheckBoxCtl* box : {&f->Check1, &f->Check2}) {
        ASSERT_EQ(box->Value, 1);
        f->CheckClicked(*box);
        EXPECT_EQ(box->Value, 0);
        f->CheckClicked(*box);
        EXPECT_EQ(box->Value, 1);
    }
    f->StarMag = 1;
    f->CheckClicked(f->Check2); // unticked: the view keeps its scale
    EXPECT_EQ(f->StarMag.value(), 1);
    f->CheckClicked(f->Check2); // ticked again: refitted
    EXPECT_NE(f->StarMag.value(), 1);
    EXPECT_EQ(f->ErrorCount, 0u);
}

TEST(Check1Click, UntickInPowerModeUsesTheUnobscuredPowerAndRedraws) {
    auto f = loadedForm();
    f->Check1.Value = 0;
    f->Check1_Click();
    EXPECT_DOUBLE_EQ(f->GraphMag.value(), 326 / f->MaxPowerSum.value());
    EXPECT_EQ(f->GraphBase.value(), 0);
    EXPECT_EQ(f->Line1[1].Y1, 360);
    // A fresh picture: the flat parts of the curve lie at row 34.
    EXPECT_FLOAT_EQ(f->CurrentY(), 34);
    f->Check1.Value = 1;
    f->Check1_Click();
    EXPECT_EQ(f->GraphBase.value(), f->LowPowerSum.value());
}
