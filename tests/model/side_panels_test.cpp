// SPDX-License-Identifier: GPL-3.0-or-later
// Hiding the input panels, the menu hover in the corner, and the credits box, both through
// the handlers and through the window's pointer routing.
#include "form1.h"

#include <gtest/gtest.h>

#include <memory>

using namespace orvanta;

namespace {

constexpr int L = mouse::Left, R = mouse::Right;

// Centres of the menu labels (left 736, 57 px wide) and points on the credits box.
constexpr double MenuX = 764;
constexpr double AboutY = 523;
constexpr double HideMenuY = 552;
constexpr double OnPictureX = 200, OnTextX = 550, CreditsY = 150;
// A point of the bare surface, in the star view.
constexpr double BareX = 300, BareY = 100;

void click(Form1& f, double x, double y) {
    f.MouseDown(L, 0, x, y);
    f.MouseUp(L, 0, x, y);
}

std::vector<const Control*> menu(const Form1& f) {
    return {&f.Plot, &f.Play, &f.Simulate, &f.Clear, &f.About, &f.HideMenu, &f.Image1};
}

bool allVisible(const std::vector<const Control*>& cs) {
    for (const Control* c : cs)
        if (!c->Visible) return false;
    return true;
}

bool noneVisible(const std::vector<const Control*>& cs) {
    for (const Control* c : cs)
        if (c->Visible) return false;
    return true;
}

class Panels : public ::testing::Test {
protected:
    void SetUp() override {
        f->Load();
        ASSERT_EQ(f->ErrorCount, 0u) << f->ErrorText;
    }
    std::unique_ptr<Form1> f = std::make_unique<Form1>();
};

} // namespace

// ---- Hide Menu ------------------------------------------------------------------------------

TEST_F(Panels, HidingLaysTheGraphDownToRow560) {
    f->Form_MouseDown(L, 0, 400, BareY);
    ASSERT_NE(f->Time.value(), 0);
    click(*f, MenuX, HideMenuY);
    EXPECT_EQ(f->ErrorCount, 0u) << f->ErrorText;
    EXPECT_EQ(f->HideMenu.Caption, "Show  Menu");
    EXPECT_FALSE(f->Frame1.Visible);
    EXPECT_FALSE(f->Frame2.Visible);
    EXPECT_FALSE(f->Label49.Visible);
    EXPECT_EQ(f->GraphBottom.value(), 560);
    EXPECT_EQ(f->Line2.Y2, 568);
    EXPECT_EQ(f->Label38.Top, 526);
    EXPECT_EQ(f->Label37.Top, 543);
    EXPECT_EQ(f->Label36.Top, 543);
    EXPECT_EQ(f->Time.value(), 0);
    EXPECT_EQ(f->CentreY.value(), 240);
    // The pointer is still on the label: the menu stays until it moves off.
    EXPECT_TRUE(allVisible(menu(*f)));
}

// With the graph's "Auto" ticked, the taller graph gets a scale fitted to its 526 rows.
TEST_F(Panels, HidingRefitsTheAutomaticGraphScale) {
    ASSERT_EQ(f->Check1.Value, 1);
    f->HideMenu_Click();
    EXPECT_DOUBLE_EQ(f->GraphMag.value(), 526 / (f->HighPowerSum.value() - f->LowPowerSum.value()));
}

TEST_F(Panels, HidingTwiceRestoresTheStartLayout) {
    auto fresh = std::make_unique<Form1>();
    fresh->Load();

    f->Form_MouseDown(R, 0, 500, 300); // the star view's centre moves
    f->Form_MouseDown(L, 0, 600, BareY);
    click(*f, MenuX, HideMenuY);
    EXPECT_EQ(f->CentreY.value(), 300);
    click(*f, MenuX, HideMenuY);
    EXPECT_EQ(f->ErrorCount, 0u) << f->ErrorText;

    EXPECT_EQ(f->HideMenu.Caption, "Hide  Menu");
    EXPECT_TRUE(f->Frame1.Visible);
    EXPECT_TRUE(f->Frame2.Visible);
    EXPECT_TRUE(f->Label49.Visible);
    EXPECT_EQ(f->GraphBottom.value(), 360);
    EXPECT_EQ(f->AxisY.value(), fresh->AxisY.value());
    EXPECT_DOUBLE_EQ(f->GraphMag.value(), fresh->GraphMag.value());
    EXPECT_EQ(f->Line2.Y2, fresh->Line2.Y2);
    EXPECT_EQ(f->Label38.Top, fresh->Label38.Top);
    EXPECT_EQ(f->Label37.Top, fresh->Label37.Top);
    EXPECT_EQ(f->Label36.Top, fresh->Label36.Top);
    EXPECT_EQ(f->CentreY.value(), 240);
    EXPECT_EQ(f->Time.value(), 0);
    EXPECT_TRUE(allVisible(menu(*f)));
}

TEST_F(Panels, ManualPowerScaleFitsTheTallerGraph) {
    f->Check1.Value = 0;
    f->GraphBase = 5;
    f->HideMenu_Click();
    EXPECT_EQ(f->GraphBase.value(), 0);
    EXPECT_EQ(f->GraphMag.value(), 526 / f->MaxPowerSum.value());
    EXPECT_EQ(f->AxisY.value(), 560);
    f->HideMenu_Click();
    EXPECT_EQ(f->GraphMag.value(), 326 / f->MaxPowerSum.value());
    EXPECT_EQ(f->AxisY.value(), 360);
}

// With "Auto" unticked the new scale lands in its box, so the next Plot keeps it: the new
// curve's top at row 34 like the one drawn by the hide itself, not at row 234.
TEST_F(Panels, ManualScaleReachesItsBoxAndSurvivesThePlot) {
    f->Check1.Value = 0;
    f->HideMenu_Click();
    EXPECT_EQ(f->Text13.Text, Str(526 / f->MaxPowerSum.value()));
    const double scale = f->GraphMag.value();
    f->Plot_Click();
    EXPECT_NEAR(f->GraphMag.value(), scale, scale * 1e-14); // read back from 15 digits
    EXPECT_NEAR(f->AxisY.value() - f->GraphMag.value() * f->MaxPowerSum.value(), 34, 1e-9);

    f->List3.TopIndex = 1;
    f->FaintMagSum = 7;
    f->BrightMagSum = -2;
    f->HideMenu_Click(); // panels back: half of 326 px for the larger extreme
    EXPECT_EQ(f->Text13.Text, Str(163.0 / 7));
}

struct MagnitudeCase {
    double faint, bright, larger;
};

class ManualMagnitudeScale : public Panels, public ::testing::WithParamInterface<MagnitudeCase> {};

TEST_P(ManualMagnitudeScale, LargerExtremeFitsHalfTheHeight) {
    const auto& c = GetParam();
    f->Check1.Value = 0;
    f->List3.TopIndex = 1;
    f->FaintMagSum = c.faint;
    f->BrightMagSum = c.bright;
    f->HideMenu_Click();
    EXPECT_EQ(f->GraphBase.value(), 0);
    EXPECT_EQ(f->GraphMag.value(), -263 / c.larger);
    EXPECT_EQ(f->AxisY.value(), 297);
}

INSTANTIATE_TEST_SUITE_P(Extremes, ManualMagnitudeScale,
                         ::testing::Values(MagnitudeCase{7, -2, 7}, MagnitudeCase{-3, 5, 5},
                                           MagnitudeCase{-9.5, -1, 9.5}, MagnitudeCase{4, -4, 4}));

TEST_F(Panels, ZeroScaleFailsAfterThePanelsSwitch) {
    f->Check1.Value = 0;
    f->MaxPowerSum = 0;
    click(*f, MenuX, HideMenuY);
    EXPECT_EQ(f->ErrorNumber, err::DivisionByZero);
    EXPECT_EQ(f->HideMenu.Caption, "Show  Menu");
    EXPECT_FALSE(f->Frame1.Visible);

    f->List3.TopIndex = 1;
    f->FaintMagSum = 0;
    f->BrightMagSum = 0;
    f->ErrorNumber = 0;
    click(*f, MenuX, HideMenuY);
    EXPECT_EQ(f->ErrorNumber, err::DivisionByZero);
    EXPECT_EQ(f->HideMenu.Caption, "Hide  Menu");
    EXPECT_TRUE(f->Frame1.Visible);
}

// ---- the menu hover -------------------------------------------------------------------------

struct HoverCase {
    float x, y;
    bool visible;
};

class Hover : public Panels, public ::testing::WithParamInterface<HoverCase> {};

TEST_P(Hover, OnlyTheCornerBeyond736And424ShowsTheMenu) {
    const auto& c = GetParam();
    f->HideMenu_Click();
    for (bool before : {false, true}) {
        f->MenuHover(before ? 793.0f : 0.0f, before ? 567.0f : 0.0f);
        ASSERT_EQ(allVisible(menu(*f)), before);
        f->Form_MouseMove(0, 0, c.x, c.y);
        EXPECT_EQ(allVisible(menu(*f)), c.visible) << c.x << "," << c.y;
        EXPECT_EQ(noneVisible(menu(*f)), !c.visible);
    }
}

INSTANTIATE_TEST_SUITE_P(Boundary, Hover,
                         ::testing::Values(HoverCase{737, 425, true}, HoverCase{736, 425, false},
                                           HoverCase{737, 424, false}, HoverCase{736, 424, false},
                                           HoverCase{793, 567, true}, HoverCase{5000, 5000, true},
                                           HoverCase{100, 500, false}, HoverCase{760, 100, false}));

TEST_F(Panels, RoutedHoverAtTheBoundaryPixels) {
    click(*f, MenuX, HideMenuY);
    ASSERT_EQ(f->HideMenu.Caption, "Show  Menu");
    f->MouseMove(0, 0, BareX, BareY);
    ASSERT_TRUE(noneVisible(menu(*f)));

    f->MouseMove(0, 0, 737, 425);
    EXPECT_TRUE(allVisible(menu(*f)));
    // Now over the Plot label, which takes the pointer: the window sees nothing.
    f->MouseMove(0, 0, 736, 425);
    EXPECT_TRUE(allVisible(menu(*f)));
    f->MouseMove(0, 0, 736, 423);
    EXPECT_TRUE(noneVisible(menu(*f)));

    f->MouseMove(0, 0, 736, 425);
    EXPECT_TRUE(noneVisible(menu(*f)));
    f->MouseMove(0, 0, 737, 424);
    EXPECT_TRUE(noneVisible(menu(*f)));

    // With the menu shown, the labels take clicks again.
    f->MouseMove(0, 0, 790, 560);
    ASSERT_TRUE(allVisible(menu(*f)));
    click(*f, MenuX, HideMenuY);
    EXPECT_EQ(f->HideMenu.Caption, "Hide  Menu");
    EXPECT_TRUE(f->Frame1.Visible);
}

TEST_F(Panels, AMenuLabelClicksWhereThePressIsReleased) {
    f->MouseDown(L, 0, MenuX, AboutY);
    f->MouseUp(L, 0, BareX, BareY);
    EXPECT_FALSE(f->Text15.Visible);
    // A quick second click on "Step" steps a second time.
    constexpr double StepY = 477;
    click(*f, MenuX, StepY);
    f->DoubleClick(L, 0, MenuX, StepY);
    f->MouseUp(L, 0, MenuX, StepY);
    EXPECT_EQ(f->StepNo.value(), 3);
}

TEST_F(Panels, WithThePanelsShownMovementNeverHidesTheMenu) {
    for (auto [x, y] : {std::pair{BareX, BareY}, {736.0, 425.0}, {737.0, 424.0}, {10.0, 360.0}}) {
        f->MouseMove(0, 0, x, y);
        f->Form_MouseMove(0, mouse::Ctrl, static_cast<float>(x), static_cast<float>(y));
        EXPECT_TRUE(allVisible(menu(*f)));
    }
}

TEST_F(Panels, ShowingThePanelsByKeyBringsBackTheMenuTheHoverHid) {
    // Ctrl+H hides the panels, the pointer leaves the corner, Ctrl+H shows them again: the
    // hover no longer watches, so the menu must come back with the panels.
    f->HideMenu_Click();
    f->MouseMove(0, 0, BareX, BareY);
    ASSERT_TRUE(noneVisible(menu(*f)));
    f->HideMenu_Click();
    EXPECT_TRUE(allVisible(menu(*f)));
    EXPECT_EQ(f->hitTest(MenuX, HideMenuY), &f->HideMenu);
    click(*f, MenuX, HideMenuY); // and it works: the panels hide again
    EXPECT_EQ(f->HideMenu.Caption, "Show  Menu");
}

// ---- credits box ----------------------------------------------------------------------------

TEST_F(Panels, AboutOpensTheCreditsAndADoubleClickClosesThem) {
    const std::vector<const Control*> box = {&f->Text15, &f->Image2};
    ASSERT_TRUE(noneVisible(box));
    click(*f, MenuX, AboutY);
    EXPECT_TRUE(allVisible(box));
    click(*f, MenuX, AboutY);
    EXPECT_TRUE(allVisible(box));

    f->DoubleClick(L, 0, OnPictureX, CreditsY);
    EXPECT_TRUE(noneVisible(box));

    click(*f, MenuX, AboutY);
    f->DoubleClick(L, 0, OnTextX, CreditsY);
    EXPECT_TRUE(noneVisible(box));

    f->Text15_DblClick();
    EXPECT_TRUE(noneVisible(box));
    f->About_Click();
    f->Image2_DblClick();
    EXPECT_TRUE(noneVisible(box));
    EXPECT_EQ(f->ErrorCount, 0u) << f->ErrorText;
}
