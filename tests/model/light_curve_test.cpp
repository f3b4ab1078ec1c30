// SPDX-License-Identifier: GPL-3.0-or-later
#include "loaded_form.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orvanta;
using orvanta::testing::countColour;
using orvanta::testing::loadedForm;

TEST(PeriodSweep, DefaultsGive793SamplesEndingAt792Steps) {
    auto f = loadedForm();
    const Num step = f->Period / 793;
    std::vector<double> times;
    f->PeriodSweep([&] { times.push_back(f->Time.value()); });
    ASSERT_EQ(times.size(), 793u);
    EXPECT_EQ(times.front(), 0);
    // Repeated addition: the 793rd sum rounds just past Period.
    Num t = 0;
    for (int i = 0; i < 792; ++i)
        t = t + step;
    EXPECT_EQ(times.back(), t.value());
    EXPECT_EQ(f->Time.value(), (t + step).value());
    EXPECT_GT(f->Time.value(), f->Period.value());
    // Where the sums land on Period itself, that last sample is taken too.
    f->Period = 793;
    times.clear();
    f->PeriodSweep([&] { times.push_back(f->Time.value()); });
    ASSERT_EQ(times.size(), 794u);
    EXPECT_EQ(times.back(), 793);
}

TEST(PlotNow, RunsMainOncePerSampleAndThreeTimesBesides) {
    auto f = loadedForm();
    const auto before = f->MainCalls;
    f->PlotNow();
    EXPECT_EQ(f->MainCalls - before, 793u + 3u);
}

TEST(PlotNow, SnapsTimeDownToAWholeStep) {
    auto f = loadedForm();
    f->Period = 0.5;
    f->MeanMotion = (f->Pi + f->Pi) / f->Period;
    f->IterationNo = 100; // d = 0.005 years
    f->Time = 0.0123;
    f->PlotNow();
    EXPECT_DOUBLE_EQ(f->Time.value(), 0.01);
    EXPECT_EQ(f->StepNo.value(), 3);
}

// With the defaults, (k * d) / d rounds to just below k for these k.
TEST(PlotNow, SnapRoundingCasesExist) {
    auto f = loadedForm();
    const Num d = f->Period / f->IterationNo;
    for (int k : {15, 30, 49, 59, 60, 98})
        EXPECT_LT(((d * k) / d).value(), k) << k;
}

// StepNo follows the same k as the snapped Time, so the run that follows reaches step 100
// at 99 steps of time, never at Period.
class SnappedStep : public ::testing::TestWithParam<int> {};

TEST_P(SnappedStep, StepNoMovesWithTime) {
    const int k = GetParam();
    auto f = loadedForm();
    const Num d = f->Period / f->IterationNo;
    f->Time = d * (k + 0.5);
    f->PlotNow();
    EXPECT_EQ(f->Time.value(), (d * k).value());
    EXPECT_EQ(f->StepNo.value(), k + 1);
    while (f->StepNo.value() < 100)
        f->Timer1_Timer();
    EXPECT_NEAR(f->Time.value(), 99 * d.value(), 1e-12 * f->Period.value());
    EXPECT_TRUE(f->Label37.Caption == "98" || f->Label37.Caption == "99") << f->Label37.Caption;
    f->Timer1_Timer();
    EXPECT_EQ(f->StepNo.value(), 1);
    EXPECT_EQ(f->Time.value(), 0);
}

INSTANTIATE_TEST_SUITE_P(RoundingCases, SnappedStep,
                         ::testing::Values(0, 1, 15, 30, 49, 50, 59, 60, 98, 99));

TEST(PlotNow, LeavesTheOutputsOfPeriodBehind) {
    auto f = loadedForm();
    f->Time = 0.305 * f->Period.value(); // snaps to step 30
    f->PlotNow();
    const double snapped = f->Time.value();
    const double power = f->PowerSum.value(), xa = f->ViewXA.value(), yb = f->ViewYB.value();
    const double cursor = f->Line2.X1;
    f->Time = f->Period;
    f->Main();
    EXPECT_EQ(f->PowerSum.value(), power);
    EXPECT_EQ(f->ViewXA.value(), xa);
    EXPECT_EQ(f->ViewYB.value(), yb);
    // The marks still show the snapped time.
    EXPECT_EQ(snapped, ((f->Period / 100) * 30).value());
    EXPECT_EQ(cursor, 237); // Int(793 * 0.3)
}

TEST(PlotNow, DrawsAWhiteCurveAcrossEveryColumnToTheRightEnd) {
    auto f = loadedForm();
    f->Cls();
    f->PlotNow();
    for (int x = 0; x <= 793; ++x) {
        int white = 0;
        for (int y = 0; y < Surface::H; ++y)
            white += f->pixel(x, y) == White;
        EXPECT_GT(white, 0) << "column " << x;
    }
    // The curve ends at Period, drawn at the row of the periastron's light (no eclipse).
    EXPECT_EQ(f->CurrentX(), 793);
    EXPECT_FLOAT_EQ(f->CurrentY(), 34);
}

struct LabelRowCase {
    double dotY;
    double valueTop; // Label34 and Label35
    double titleTop; // Label29
};

class LabelRows : public ::testing::TestWithParam<LabelRowCase> {};

// Power mode, GraphMag 1 px per W: the dot sits at row 360 - PowerSum.
TEST_P(LabelRows, ValueLabelsRideAboveTheDotButStayClearOfTheTimeRows) {
    const auto c = GetParam();
    Form1 f;
    f.GraphBottom = 360;
    f.AxisY = 360;
    f.GraphMag = 1;
    f.GraphBase = 0;
    f.Period = 1;
    f.Time = 0.5;
    f.MaxPowerSum = 400;
    f.PowerSum = 360 - c.dotY;
    f.DrawGraph();
    EXPECT_DOUBLE_EQ(f.DotY.value(), c.dotY);
    EXPECT_EQ(f.Label34.Top, c.valueTop);
    EXPECT_EQ(f.Label35.Top, c.valueTop);
    EXPECT_EQ(f.Label29.Top, c.titleTop);
}

INSTANTIATE_TEST_SUITE_P(NearTheBottom, LabelRows,
                         ::testing::Values(LabelRowCase{300, 283, 266}, LabelRowCase{325, 308, 291},
                                           LabelRowCase{326, 309, 292}, LabelRowCase{330, 309, 292},
                                           LabelRowCase{360, 309, 292},
                                           LabelRowCase{-40, -57, -74}));

TEST(DrawGraph, HalfPeriodPutsTheCursorOnTheCentreTick) {
    Form1 f;
    f.GraphBottom = 360;
    f.AxisY = 360;
    f.GraphMag = 1;
    f.Period = 1;
    f.Time = 0.5;
    f.MaxPowerSum = 300;
    f.PowerSum = 300;
    f.DrawGraph();
    EXPECT_EQ(f.TimeMarkX.value(), 396);
    EXPECT_EQ(f.Line2.X1, 396);
    EXPECT_EQ(f.Line2.X2, 396);
    EXPECT_EQ(f.RedDot.Left, 393);
    EXPECT_EQ(f.RedDot.Top, 57);
    EXPECT_EQ(f.Label37.Caption, "50");
    EXPECT_EQ(f.Label25.Caption, "( 50% )");
    EXPECT_EQ(f.Label34.Caption, "100");
    EXPECT_EQ(f.Label11.Caption, "( 100% )");
    EXPECT_EQ(f.Label45.Caption, "300");
    EXPECT_EQ(f.Label47.Caption, "182.62125");
    EXPECT_EQ(f.Label34.Left, 396 - 69.5);
    EXPECT_EQ(f.Label35.Left, 396 + 2.5);
    EXPECT_EQ(f.Label29.Left, 396 - 16.5);
    EXPECT_EQ(f.Label36.Left, 396 + 2.5);
    EXPECT_EQ(f.Label37.Left, 396 - 21.5);
    EXPECT_EQ(f.Label38.Left, 396 - 16.5);
}

TEST(DrawGraph, PercentagesRoundDown) {
    Form1 f;
    f.Period = 3;
    f.Time = 2;
    f.MaxPowerSum = 3;
    f.PowerSum = 1;
    f.DrawGraph();
    EXPECT_EQ(f.Label37.Caption, "66");
    EXPECT_EQ(f.Label25.Caption, "( 66.6666% )");
    EXPECT_EQ(f.Label34.Caption, "33");
    EXPECT_EQ(f.Label11.Caption, "( 33.3333% )");
    EXPECT_EQ(f.TimeMarkX.value(), 528); // Int(528.666...)
}

TEST(DrawGraph, ZeroUnobscuredPowerFailsAfterTheCursorMoved) {
    Form1 f;
    f.Period = 1;
    f.Time = 0.25;
    f.Label34.Caption = "old";
    EXPECT_THROW(f.DrawGraph(), RuntimeError);
    EXPECT_EQ(f.Line2.X1, 198);
    EXPECT_EQ(f.Label34.Caption, "old");
}

TEST(MoveAxis, PlacesTheAxisAndItsTicks) {
    Form1 f;
    f.MoveAxis(200);
    EXPECT_EQ(f.Line1[1].Y1, 200);
    EXPECT_EQ(f.Line1[1].Y2, 200);
    EXPECT_EQ(f.Line1[2].Y1, 192);
    EXPECT_EQ(f.Line1[2].Y2, 208);
    for (int i = 3; i <= 10; ++i) {
        EXPECT_EQ(f.Line1[i].Y1, 196) << i;
        EXPECT_EQ(f.Line1[i].Y2, 204) << i;
    }
    EXPECT_EQ(f.LoopIndex, 11);
    EXPECT_EQ(f.Line1[1].X2, 794); // columns never change
    EXPECT_EQ(f.Line1[2].X1, 396);
}

TEST(Plot, TwiceWithDifferentMassesLeavesBothCurvesAndClearErasesThem) {
    auto first = loadedForm();
    auto alone = std::make_unique<Form1>();
    alone->Text7.Text = "6";
    alone->Form_Load();

    first->Text7.Text = "6";
    first->Plot_Click();
    // The second picture lies over the first: its pixels where it drew, the first elsewhere.
    auto once = loadedForm();
    int firstOnly = 0;
    for (int y = 0; y < Surface::H; ++y)
        for (int x = 0; x < Surface::W; ++x) {
            const auto second = alone->pixel(x, y);
            const auto expected = second != Surface::Undrawn ? second : once->pixel(x, y);
            ASSERT_EQ(first->pixel(x, y), expected) << x << "," << y;
            firstOnly += second == Surface::Undrawn && once->pixel(x, y) != Surface::Undrawn;
        }
    EXPECT_GT(firstOnly, 100);

    first->Clear_Click();
    EXPECT_EQ(countColour(*first, Surface::Undrawn), Surface::W * Surface::H);
    const double cursor = first->Line2.X1;
    first->Timer1_Timer();
    EXPECT_NE(first->Line2.X1, cursor);
    EXPECT_EQ(countColour(*first, Surface::Undrawn), Surface::W * Surface::H);
    first->Plot_Click(); // only the new picture now
    EXPECT_EQ(first->pixels(), alone->pixels());
}
