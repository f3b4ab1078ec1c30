// SPDX-License-Identifier: GPL-3.0-or-later
// The window's mouse handlers, driven with the platform's own codes: Button 1 left, 2 right,
// 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt.
#include "loaded_form.h"
#include "model_fixture.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

using namespace orvanta;

namespace {

constexpr int L = mouse::Left, R = mouse::Right, M = mouse::Middle;
constexpr int Ctrl = mouse::Ctrl, Sh = mouse::Shift, Alt = mouse::Alt;

using orvanta::testing::errorOf;

int painted(const Surface& s) {
    return Surface::W * Surface::H - orvanta::testing::countColour(s, Surface::Undrawn);
}

bool onlyWhite(const Surface& s) {
    for (auto p : s.pixels())
        if (p != Surface::Undrawn && p != White) return false;
    return true;
}

bool starsDragStyled(const Form1& f) {
    for (const ShapeCtl* s : {&f.StarA, &f.StarBTop, &f.StarBBottom})
        if (s->Fill != FillStyle::Transparent || s->Outline != BorderStyle::Dotted) return false;
    return true;
}

bool starsSolid(const Form1& f) {
    for (const ShapeCtl* s : {&f.StarA, &f.StarBTop, &f.StarBBottom})
        if (s->Fill != FillStyle::Solid || s->Outline != BorderStyle::Solid) return false;
    return true;
}

// A loaded window with the design-time defaults.
class Loaded : public ::testing::Test {
protected:
    std::unique_ptr<Form1> f = orvanta::testing::loadedForm();
};

// Everything a handler that "does nothing" must leave alone.
struct Snapshot {
    double time, stepNo, i1, i2, i3, eccen, centreX, centreY;
    bool dragging;
    unsigned long long mainCalls;
    std::uint64_t revision;
    explicit Snapshot(const Form1& f)
        : time(f.Time.value()), stepNo(f.StepNo.value()), i1(f.Incline1.value()),
          i2(f.Incline2.value()), i3(f.Incline3.value()), eccen(f.Eccen.value()),
          centreX(f.CentreX.value()), centreY(f.CentreY.value()), dragging(f.Dragging),
          mainCalls(f.MainCalls), revision(f.revision()) {}
    bool operator==(const Snapshot&) const = default;
};

} // namespace

// ---- time jump ------------------------------------------------------------------------------

struct JumpCase {
    float x;
    double iterations;
    int stepNo;
};

class TimeJump : public Loaded, public ::testing::WithParamInterface<JumpCase> {};

TEST_P(TimeJump, StepUnderThePointerRoundsHalfToEven) {
    const auto& c = GetParam();
    f->IterationNo = c.iterations;
    f->Form_MouseDown(L, 0, c.x, 100);
    EXPECT_EQ(f->StepNo.value(), c.stepNo);
    const double expected = (c.stepNo - 1) * (f->Period.value() / c.iterations);
    EXPECT_EQ(f->Time.value(), expected);
    EXPECT_FALSE(f->Dragging);

    // A plain left drag jumps the same way.
    f->Form_MouseMove(L, 0, 0, 100);
    EXPECT_EQ(f->StepNo.value(), 1);
    f->Form_MouseMove(L, 0, c.x, 100);
    EXPECT_EQ(f->StepNo.value(), c.stepNo);
}

// 396.5 / 793 is one half exactly, so x = 1, 3, 5, 7 land on the halves 0.5 ... 3.5.
INSTANTIATE_TEST_SUITE_P(Columns, TimeJump,
                         ::testing::Values(JumpCase{0, 100, 1}, JumpCase{793, 100, 101},
                                           JumpCase{396, 100, 51}, JumpCase{1, 396.5, 1},
                                           JumpCase{3, 396.5, 3}, JumpCase{5, 396.5, 3},
                                           JumpCase{7, 396.5, 5}, JumpCase{-1, 396.5, 1},
                                           JumpCase{-3, 396.5, -1}, JumpCase{793, 32766, 32767},
                                           JumpCase{-793, 32768, -32767}));

struct OverflowCase {
    float x;
    double iterations;
};

class StepOverflow : public Loaded, public ::testing::WithParamInterface<OverflowCase> {};

TEST_P(StepOverflow, StepOutsideSixteenBitsRaisesOverflow) {
    const auto& c = GetParam();
    f->Form_MouseDown(L, 0, 200, 100);
    const Snapshot before(*f);
    f->IterationNo = c.iterations;
    EXPECT_EQ(errorOf([&] { f->Form_MouseDown(L, 0, c.x, 100); }), err::Overflow);
    EXPECT_EQ(errorOf([&] { f->Form_MouseMove(L, 0, c.x, 100); }), err::Overflow);
    EXPECT_EQ(Snapshot(*f), before);
}

// r = 32767 fits, but StepNo = r + 1 does not; -32769 and 40000 do not fit themselves.
INSTANTIATE_TEST_SUITE_P(Limits, StepOverflow,
                         ::testing::Values(OverflowCase{793, 32767}, OverflowCase{-793, 32769},
                                           OverflowCase{793, 40000}, OverflowCase{1e9f, 100}));

TEST_F(Loaded, ZeroIterationsFailsAfterTheStepIsWritten) {
    f->IterationNo = 0;
    const double time = f->Time.value();
    f->MouseDown(L, 0, 300, 100);
    EXPECT_EQ(f->ErrorNumber, err::DivisionByZero);
    EXPECT_EQ(f->StepNo.value(), 1);
    EXPECT_EQ(f->Time.value(), time);
}

// ---- the three drags ------------------------------------------------------------------------

TEST_F(Loaded, CtrlDragTurnsBothInclinationsAndEchoesThem) {
    f->Form_MouseDown(L, Ctrl, 100, 100);
    f->Form_MouseMove(L, Ctrl, 140, 120);
    EXPECT_EQ(f->Incline1.value(), 10);
    EXPECT_NEAR(f->Incline2.value(), -12.69, 1e-12);
    EXPECT_EQ(f->Text4.Text, "10");
    EXPECT_EQ(f->Text5.Text, "-12.69");
    EXPECT_EQ(f->Text6.Text, "0");
    EXPECT_EQ(f->Text3.Text, "0");

    // The drag is absolute: back at the mouse-down point the start values return.
    f->Form_MouseMove(L, Ctrl, 100, 100);
    EXPECT_EQ(f->Incline1.value(), 0);
    EXPECT_NEAR(f->Incline2.value(), -7.69, 1e-12);
    EXPECT_EQ(f->Text4.Text, "0");
    EXPECT_EQ(f->Text5.Text, "-7.69");
}

TEST_F(Loaded, ShiftDragTurnsTheOrbitWithinItsPlane) {
    f->Form_MouseDown(L, Sh, 200, 50);
    f->Form_MouseMove(L, Sh, 160, 300);
    EXPECT_EQ(f->Incline3.value(), -10);
    EXPECT_EQ(f->Text6.Text, "-10");
    EXPECT_EQ(f->Incline1.value(), 0);
    EXPECT_EQ(f->Text5.Text, "-7.69");
    f->Form_MouseMove(L, Sh, 201, 0);
    EXPECT_EQ(f->Text6.Text, "0.25");
}

TEST_F(Loaded, AnglesAreNeitherLimitedNorWrapped) {
    f->Form_MouseDown(L, Ctrl, 0, 0);
    f->Form_MouseMove(L, Ctrl, 4000, -4000);
    EXPECT_EQ(f->Text4.Text, "1000");
    EXPECT_EQ(f->Text5.Text, "992.31");
}

struct EccenCase {
    double start;
    float downX, moveX;
    double eccen;
    const char* text;
};

class AltDrag : public Loaded, public ::testing::WithParamInterface<EccenCase> {};

TEST_P(AltDrag, EccentricityFollowsAndClampsAtPointNineFive) {
    const auto& c = GetParam();
    f->Eccen = c.start;
    f->Form_MouseDown(L, Alt, c.downX, 200);
    f->Form_MouseMove(L, Alt, c.moveX, 250);
    EXPECT_NEAR(f->Eccen.value(), c.eccen, 1e-15);
    EXPECT_EQ(f->Text3.Text, c.text);
    EXPECT_EQ(f->Incline1.value(), 0);
    EXPECT_EQ(f->Text4.Text, "0");
}

INSTANTIATE_TEST_SUITE_P(
    Range, AltDrag,
    ::testing::Values(EccenCase{0, 400, 4000, 0.95, "0.95"},
                      EccenCase{0, 400, -4000, -0.95, "-0.95"},
                      EccenCase{0, 400, 780, 0.95, "0.95"}, // exactly the limit
                      EccenCase{0.99, 300, 300, 0.95, "0.95"},
                      EccenCase{-0.99, 300, 300, -0.95, "-0.95"},
                      EccenCase{0, 400, 440, 0.1, "0.1"}, EccenCase{0.5, 0, 0, 0.5, "0.5"}));

// ---- drag start and end ---------------------------------------------------------------------

class ModifierDrag : public Loaded, public ::testing::WithParamInterface<int> {};

TEST_P(ModifierDrag, StartsDottedAndEndsSolidWithAReplot) {
    const int shift = GetParam();
    ASSERT_TRUE(starsSolid(*f));
    f->Form_MouseDown(L, shift, 300, 100);
    EXPECT_TRUE(f->Dragging);
    EXPECT_TRUE(starsDragStyled(*f));
    EXPECT_GT(painted(*f), 0);
    EXPECT_TRUE(onlyWhite(*f)); // the preview's dots only
    f->Form_MouseMove(L, shift, 320, 90);
    EXPECT_TRUE(starsDragStyled(*f));
    f->Form_MouseUp(L, shift, 320, 90);
    EXPECT_FALSE(f->Dragging);
    EXPECT_TRUE(starsSolid(*f));
}

INSTANTIATE_TEST_SUITE_P(Modifiers, ModifierDrag,
                         ::testing::Values(Sh, Ctrl, Alt, Sh | Ctrl, Sh | Alt, Ctrl | Alt,
                                           Sh | Ctrl | Alt));

class CombinedModifiers : public Loaded, public ::testing::WithParamInterface<int> {};

TEST_P(CombinedModifiers, PreviewButChangeNothing) {
    const int shift = GetParam();
    f->Form_MouseDown(L, shift, 300, 100);
    const auto calls = f->MainCalls;
    f->Form_MouseMove(L, shift, 500, 300);
    EXPECT_GT(f->MainCalls, calls + 1); // Main, then the preview's sweep
    EXPECT_EQ(f->Incline1.value(), 0);
    EXPECT_EQ(f->Incline3.value(), 0);
    EXPECT_EQ(f->Eccen.value(), 0);
    EXPECT_EQ(f->Text3.Text, "0");
    EXPECT_EQ(f->Text4.Text, "0");
    EXPECT_EQ(f->Text5.Text, "-7.69");
    EXPECT_EQ(f->Text6.Text, "0");
    EXPECT_TRUE(starsDragStyled(*f));
}

INSTANTIATE_TEST_SUITE_P(Modifiers, CombinedModifiers,
                         ::testing::Values(Sh | Ctrl, Sh | Alt, Ctrl | Alt, Sh | Ctrl | Alt));

TEST_F(Loaded, ModifierPressedAfterTheButtonUsesTheLastAnchors) {
    // No Ctrl mouse down since start: the anchors are 0.
    f->Form_MouseDown(L, 0, 100, 100);
    f->Form_MouseMove(L, Ctrl, 140, 120);
    EXPECT_EQ(f->Incline1.value(), 35);
    EXPECT_EQ(f->Incline2.value(), -30);
    EXPECT_EQ(f->Text4.Text, "35");
    EXPECT_EQ(f->Text5.Text, "-30");
    EXPECT_FALSE(f->Dragging);
    EXPECT_TRUE(starsSolid(*f));

    // The mouse up without a drag in progress does not replot.
    const auto revision = f->revision();
    f->Form_MouseUp(L, Ctrl, 140, 120);
    EXPECT_EQ(f->revision(), revision);
    EXPECT_TRUE(starsSolid(*f));

    // The anchors of an earlier Ctrl drag stay in force.
    f->Form_MouseDown(L, Ctrl, 0, 0);
    f->Form_MouseUp(L, Ctrl, 0, 0);
    f->Form_MouseDown(L, 0, 400, 400);
    f->Form_MouseMove(L, Ctrl, 8, 8);
    EXPECT_EQ(f->Incline1.value(), 37);
    EXPECT_EQ(f->Incline2.value(), -32);
}

TEST_F(Loaded, ReleasingTheModifierFirstReturnsToTimeJumps) {
    f->Form_MouseDown(L, Ctrl, 100, 100);
    f->Form_MouseMove(L, Ctrl, 120, 100);
    f->Form_MouseMove(L, 0, 793, 100);
    EXPECT_EQ(f->StepNo.value(), 101);
    EXPECT_EQ(f->Incline1.value(), 5);
    EXPECT_TRUE(f->Dragging);
    EXPECT_TRUE(starsDragStyled(*f));
    f->Form_MouseUp(L, 0, 793, 100);
    EXPECT_FALSE(f->Dragging);
    EXPECT_TRUE(starsSolid(*f));
}

// ---- right click, middle button, other buttons -------------------------------------------

class RightClick : public Loaded, public ::testing::WithParamInterface<int> {};

TEST_P(RightClick, RecentresWhateverModifierIsHeld) {
    const int shift = GetParam();
    f->Check2.Value = 0; // otherwise the star view refits its column
    f->Form_MouseDown(R, shift, 123, 77);
    EXPECT_EQ(f->CentreX.value(), 123);
    EXPECT_EQ(f->CentreY.value(), 77);
    EXPECT_FALSE(f->Dragging);
    EXPECT_TRUE(starsSolid(*f));

    // During a modifier drag it leaves the drag alone.
    f->Form_MouseDown(L, Ctrl, 300, 300);
    f->Check2.Value = 1;
    f->Form_MouseDown(R, shift, 50, 60);
    EXPECT_EQ(f->CentreY.value(), 60);
    EXPECT_TRUE(f->Dragging);
    f->Form_MouseUp(R, shift, 50, 60);
    EXPECT_TRUE(f->Dragging);
}

INSTANTIATE_TEST_SUITE_P(Modifiers, RightClick, ::testing::Range(0, 8));

// With the star view's "Auto" ticked, a right click and the end of a drag refit the view: the
// scale and the column come from the stars' widest reach, only the row from the click.
TEST_F(Loaded, RightClickAndTheEndOfADragRefitTheStarViewWhenAutoIsTicked) {
    ASSERT_EQ(f->Check2.Value, 1);
    f->AutoStarMag();
    const double mag = f->StarMag.value(), column = f->CentreX.value();
    f->StarMag = mag * 2;
    f->Form_MouseDown(R, 0, 50, 60);
    EXPECT_EQ(f->StarMag.value(), mag);
    EXPECT_EQ(f->CentreX.value(), column);
    EXPECT_EQ(f->CentreY.value(), 60);

    // A Ctrl drag turns the orbit; a move keeps the scale, the end fits it to the new view.
    f->Form_MouseDown(L, Ctrl, 140, 120);
    f->Form_MouseMove(L, Ctrl, 300, 200);
    f->StarMag = 1;
    f->Form_MouseUp(L, Ctrl, 300, 200);
    const double fitted = f->StarMag.value();
    EXPECT_NE(fitted, 1);
    EXPECT_NE(fitted, mag);
    f->AutoStarMag();
    EXPECT_EQ(f->StarMag.value(), fitted);
}

struct IgnoredCase {
    int buttons, shift;
};

class Ignored : public Loaded, public ::testing::WithParamInterface<IgnoredCase> {};

TEST_P(Ignored, MiddleDownAndMovesWithOtherButtonsDoNothing) {
    const auto& c = GetParam();
    const Snapshot before(*f);
    f->Form_MouseDown(M, c.shift, 500, 200);
    f->Form_MouseMove(c.buttons, c.shift, 500, 200);
    f->Form_MouseUp(M, c.shift, 500, 200);
    f->Form_MouseUp(R, c.shift, 500, 200);
    EXPECT_EQ(Snapshot(*f), before);
}

INSTANTIATE_TEST_SUITE_P(Buttons, Ignored,
                         ::testing::Values(IgnoredCase{R, 0}, IgnoredCase{R, Ctrl},
                                           IgnoredCase{M, 0}, IgnoredCase{M, Alt},
                                           IgnoredCase{L | R, 0}, IgnoredCase{L | R, Ctrl},
                                           IgnoredCase{L | M, Sh}, IgnoredCase{R | M, 0}));

// Only a move with no button down is a hover: a move with another button held neither shows
// nor hides the menu while the panels are hidden.
TEST_F(Loaded, MovesWithAButtonDownLeaveTheHiddenMenuAlone) {
    const std::initializer_list<const Control*> menu = {
        &f->Plot, &f->Play, &f->Simulate, &f->Clear, &f->About, &f->HideMenu, &f->Image1};
    auto shown = [&](bool v) {
        for (const Control* c : menu)
            if (c->Visible != v) return false;
        return true;
    };
    f->HideMenu_Click();
    f->Form_MouseMove(0, 0, 100, 500); // off the corner: the labels go
    ASSERT_TRUE(shown(false));
    for (int buttons : {R, M, R | M}) {
        f->Form_MouseMove(buttons, 0, 790, 560);
        EXPECT_TRUE(shown(false)) << buttons;
    }
    f->Form_MouseMove(0, 0, 790, 560);
    ASSERT_TRUE(shown(true));
    for (int buttons : {R, M, R | M}) {
        f->Form_MouseMove(buttons, 0, 100, 500);
        EXPECT_TRUE(shown(true)) << buttons;
    }
}

// ---- the preview ----------------------------------------------------------------------------

TEST_F(Loaded, PreviewWithTheDefaultsSamplesEveryStepAndRestoresTime) {
    f->Form_MouseDown(L, 0, 250, 100);
    const double time = f->Time.value();

    // Time = 0, h, 2h, ... by repeated addition while it does not exceed Period.
    const double period = f->Period.value();
    const double h = period / 100;
    unsigned long long samples = 0;
    for (double t = 0; t <= period; t += h)
        ++samples;

    const auto calls = f->MainCalls;
    f->Form_MouseDown(L, Alt, 250, 100);
    EXPECT_EQ(f->MainCalls - calls, samples);
    EXPECT_EQ(f->Time.value(), time);
    EXPECT_EQ(f->SavedTime.value(), time);

    const auto moved = f->MainCalls;
    f->Form_MouseMove(L, Alt, 260, 100);
    EXPECT_EQ(f->MainCalls - moved, samples + 1); // the update's own Main first
    EXPECT_EQ(f->Time.value(), time);
}

struct PreviewCase {
    double iterations;
    unsigned long long atLeast, atMost;
};

class PreviewBound : public Loaded, public ::testing::WithParamInterface<PreviewCase> {};

TEST_P(PreviewBound, SamplesAreBoundedByTheCoarsestStep) {
    const auto& c = GetParam();
    f->IterationNo = c.iterations;
    const double time = f->Time.value();
    const auto calls = f->MainCalls;
    f->Form_MouseDown(L, Ctrl, 250, 100);
    const auto n = f->MainCalls - calls;
    EXPECT_GE(n, c.atLeast);
    EXPECT_LE(n, c.atMost);
    EXPECT_EQ(f->Time.value(), time);
}

INSTANTIATE_TEST_SUITE_P(Iterations, PreviewBound,
                         ::testing::Values(PreviewCase{1, 1, 2}, PreviewCase{4095, 4095, 4096},
                                           PreviewCase{4096, 4096, 4097},
                                           PreviewCase{4097, 4096, 4097},
                                           PreviewCase{1e6, 4096, 4097},
                                           PreviewCase{1e300, 4096, 4097}));

TEST_F(Loaded, NegativeStepPreviewDrawsNothing) {
    f->Form_MouseDown(L, 0, 250, 100);
    const double time = f->Time.value();
    f->IterationNo = -100;
    const auto calls = f->MainCalls;
    f->Form_MouseDown(L, Ctrl, 250, 100);
    EXPECT_EQ(f->MainCalls, calls);
    EXPECT_EQ(painted(*f), 0);
    EXPECT_EQ(f->Time.value(), time);
    EXPECT_TRUE(f->Dragging);
}

TEST_F(Loaded, ZeroIterationsFailsThePreviewAndKeepsTheDrag) {
    f->IterationNo = 0;
    f->MouseDown(L, Ctrl, 250, 100);
    EXPECT_EQ(f->ErrorNumber, err::DivisionByZero);
    EXPECT_TRUE(f->Dragging);
    EXPECT_TRUE(starsDragStyled(*f));
    // A move fails in the redraw too, after the boxes have echoed the new angles.
    f->MouseMove(L, Ctrl, 290, 100);
    EXPECT_EQ(f->ErrorCount, 2u);
    EXPECT_EQ(f->Text4.Text, "10");
    EXPECT_EQ(f->Text5.Text, "-7.69");
}

TEST_F(Loaded, ZeroPeriodFailsAtTheFirstLightCurveDot) {
    f->Period = 0;
    const auto calls = f->MainCalls;
    f->MouseDown(L, Alt, 250, 100);
    EXPECT_EQ(f->ErrorNumber, err::Overflow);
    EXPECT_EQ(f->MainCalls - calls, 1u);
    EXPECT_TRUE(f->Dragging);
}

// ---- through the window's routing -----------------------------------------------------------

TEST_F(Loaded, RoutedCtrlDragReachesTheHandlers) {
    f->MouseDown(L, Ctrl, 100, 100);
    f->MouseMove(L, Ctrl, 140, 120);
    EXPECT_EQ(f->Text4.Text, "10");
    EXPECT_EQ(f->Text5.Text, "-12.69");
    EXPECT_TRUE(starsDragStyled(*f));
    f->MouseUp(L, Ctrl, 140, 120);
    EXPECT_FALSE(f->Dragging);
    EXPECT_TRUE(starsSolid(*f));
    EXPECT_EQ(f->ErrorCount, 0u) << f->ErrorText;
}
