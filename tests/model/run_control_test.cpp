// SPDX-License-Identifier: GPL-3.0-or-later
#include "loaded_form.h"

#include <gtest/gtest.h>

#include <random>

using namespace orvanta;
using orvanta::testing::loadedForm;

namespace {

void setSteps(Form1& f, const char* iterations) {
    f.Text2.Text = iterations;
    f.Plot_Click();
}

} // namespace

TEST(RunControl, DefaultRunShowsHundredStepsAndNeverThePeriodItself) {
    auto f = loadedForm();
    f->Plot_Click();
    ASSERT_EQ(f->StepNo.value(), 1);
    const double h = f->Period.value() / 100;
    for (int i = 0; i < 99; ++i)
        f->Timer1_Timer();
    EXPECT_EQ(f->StepNo.value(), 100);
    EXPECT_EQ(f->Time.value(), 99 * h);
    EXPECT_LT(f->Time.value(), f->Period.value());
    EXPECT_EQ(f->Label37.Caption, "99");
    EXPECT_EQ(f->Label25.Caption, "( 99% )");
    f->Timer1_Timer();
    EXPECT_EQ(f->StepNo.value(), 1);
    EXPECT_EQ(f->Time.value(), 0);
    EXPECT_EQ(f->Label25.Caption, "( 0% )");
}

// With the defaults every step shows its own percentage: Time is the step number times the
// step, not a sum of steps, so the floored read-outs no longer fall one short (they did at
// 7, 8, 11, 97, 98 and 99 steps).
TEST(RunControl, EveryDefaultStepReadsItsOwnPercentage) {
    auto f = loadedForm();
    f->Plot_Click();
    const int n = 100;
    for (int step = 2; step <= n; ++step) {
        f->Simulate_Click();
        ASSERT_EQ(f->StepNo.value(), step);
        const int percent = (step - 1) * 100 / n;
        EXPECT_EQ(f->Label37.Caption, std::to_string(percent)) << "step " << step;
        EXPECT_EQ(f->Label25.Caption, "( " + std::to_string(percent) + "% )") << "step " << step;
    }
}

// At a whole step the read-outs show that step whatever the period: Time / Period rounds a
// hair below (k / n) at many periods, and 100 * (k / n) below k of a hundred.
TEST(RunControl, AtAWholeStepTheReadOutsShowThatStepAtAnyPeriod) {
    auto f = loadedForm();
    f->Text1.Text = "20"; // MeanDistance
    f->Plot_Click();
    f->Simulate_Click();
    EXPECT_EQ(f->Label37.Caption, "1");
    EXPECT_EQ(f->Label25.Caption, "( 1% )");
    f->Simulate_Click();
    EXPECT_EQ(f->Label37.Caption, "2");
    EXPECT_EQ(f->Label25.Caption, "( 2% )");

    auto g = loadedForm();
    setSteps(*g, "1000");
    for (int i = 0; i < 10; ++i)
        g->Simulate_Click();
    ASSERT_EQ(g->StepNo.value(), 11);
    EXPECT_EQ(g->Label37.Caption, "1");
    EXPECT_EQ(g->Label25.Caption, "( 1% )");

    // Periods and step counts from a fixed generator; each step placed as the run places it.
    std::mt19937 random(20);
    for (int trial = 0; trial < 600; ++trial) {
        const int n = trial < 300 ? 100 : 2 + static_cast<int>(random() % 3000);
        f->Period = 1e-3 + 10.0 * (static_cast<double>(random()) / 4294967296.0);
        f->IterationNo = n;
        const int step = 1 + static_cast<int>(random() % static_cast<unsigned>(n));
        f->StepNo = step;
        f->Time = f->StepTime(step);
        f->DrawGraph();
        const long long k = step - 1;
        ASSERT_EQ(f->Label37.Caption, std::to_string(k * 100 / n))
            << "period " << f->Period.value() << ", step " << step << " of " << n;
        const long long millionths = k * 1000000 / n;
        EXPECT_EQ(f->Label25.Caption, "( " + Str(static_cast<double>(millionths) / 10000) + "% )")
            << "period " << f->Period.value() << ", step " << step << " of " << n;
    }
}

TEST(RunControl, BetweenStepsTheReadOutsKeepTheFlooredRule) {
    auto f = loadedForm();
    f->StepNo = 8;
    f->Time = f->Period * 0.0712345; // not the time of step 8
    f->DrawGraph();
    EXPECT_EQ(f->Label37.Caption, "7");
    EXPECT_EQ(f->Label25.Caption, "( 7.1234% )");
}

// A replot keeps the step the window shows: (15 * d) / d is 14.999... with the defaults.
TEST(RunControl, AReplotKeepsTheStepShown) {
    for (int steps : {15, 30, 49, 59, 60, 98}) {
        auto f = loadedForm();
        for (int i = 0; i < steps; ++i)
            f->Simulate_Click();
        ASSERT_EQ(f->StepNo.value(), steps + 1);
        const double time = f->Time.value();
        const std::string percent = std::to_string(steps);
        ASSERT_EQ(f->Label37.Caption, percent);
        f->ListScrolled(f->List3, 1); // to magnitudes: rescales and replots
        EXPECT_EQ(f->StepNo.value(), steps + 1) << steps;
        EXPECT_EQ(f->Time.value(), time);
        EXPECT_EQ(f->Label37.Caption, percent);
        EXPECT_EQ(f->Label25.Caption, "( " + percent + "% )");
        f->CheckClicked(f->Check1); // Auto off: the fixed scale, replot
        f->CheckClicked(f->Check1); // and on again
        EXPECT_EQ(f->StepNo.value(), steps + 1) << steps;
        EXPECT_EQ(f->Label37.Caption, percent);
        EXPECT_EQ(f->ErrorCount, 0u) << f->ErrorText;
    }
}

TEST(RunControl, AReplotStillSnapsATimeBetweenSteps) {
    auto f = loadedForm();
    const double d = f->Period.value() / 100;
    f->StepNo = 2;
    f->Time = 2.46 * d; // between the third and fourth steps
    f->PlotNow();
    EXPECT_EQ(f->StepNo.value(), 3);
    EXPECT_EQ(f->Time.value(), 2 * d);
}

TEST(RunControl, StepAgreesWithAClickOnTheSameStep) {
    auto f = loadedForm();
    auto g = loadedForm();
    for (int i = 0; i < 7; ++i)
        f->Simulate_Click();
    // Column 56 lies in step 8 of 100 (56 * 100 / 793 = 7.06).
    g->Form_MouseDown(mouse::Left, 0, 56, 100);
    ASSERT_EQ(g->StepNo.value(), f->StepNo.value());
    EXPECT_EQ(f->Time.value(), g->Time.value());
    EXPECT_EQ(f->Label37.Caption, "7");
    EXPECT_EQ(f->Label25.Caption, g->Label25.Caption);
}

TEST(RunControl, FractionalIterationNoRoundsTheRunUp) {
    auto f = loadedForm();
    setSteps(*f, "2.5");
    const double p = f->Period.value();
    const double expected[] = {0.4, 0.8, 0, 0.4};
    const double steps[] = {2, 3, 1, 2};
    for (int i = 0; i < 4; ++i) {
        f->Simulate_Click();
        EXPECT_EQ(f->StepNo.value(), steps[i]) << i;
        EXPECT_NEAR(f->Time.value(), expected[i] * p, 1e-15) << i;
    }
}

class SmallIterationNo : public ::testing::TestWithParam<const char*> {};

TEST_P(SmallIterationNo, EveryStepShowsThePeriastron) {
    auto f = loadedForm();
    f->Text2.Text = GetParam();
    f->DataInput();
    f->Time = 0.001;
    for (int i = 0; i < 3; ++i) {
        f->Timer1_Timer();
        EXPECT_EQ(f->StepNo.value(), 1);
        EXPECT_EQ(f->Time.value(), 0);
        EXPECT_EQ(f->Label47.Caption, "0");
    }
}

INSTANTIATE_TEST_SUITE_P(AtOrBelowOne, SmallIterationNo,
                         ::testing::Values("1", "0.5", "0", "", "-3"));

TEST(RunControl, AStepBeforeAnyPlotOrBelowOneResets) {
    auto f = loadedForm();
    for (double before : {0.0, -4.0}) {
        f->StepNo = before;
        f->Time = 0.003;
        f->Simulate_Click();
        EXPECT_EQ(f->StepNo.value(), 1);
        EXPECT_EQ(f->Time.value(), 0);
    }
}

TEST(RunControl, PlayTogglesCaptionAndTimerTogether) {
    auto f = loadedForm();
    EXPECT_EQ(f->Play.Caption, "Play");
    EXPECT_FALSE(f->Timer1.Enabled);
    f->Play_Click();
    EXPECT_EQ(f->Play.Caption, "Stop");
    EXPECT_TRUE(f->Timer1.Enabled);
    f->Simulate_Click(); // one extra step while running changes neither
    EXPECT_EQ(f->Play.Caption, "Stop");
    EXPECT_TRUE(f->Timer1.Enabled);
    f->Play_Click();
    EXPECT_EQ(f->Play.Caption, "Play");
    EXPECT_FALSE(f->Timer1.Enabled);
    f->TimerTick(); // a tick still queued when the timer stopped
    EXPECT_EQ(f->StepNo.value(), 2);
}

TEST(RunControl, PlotWhileRunningRestartsFromPeriastronWithoutStopping) {
    auto f = loadedForm();
    f->Play_Click();
    for (int i = 0; i < 10; ++i)
        f->Timer1_Timer();
    f->Plot_Click();
    EXPECT_EQ(f->StepNo.value(), 1);
    EXPECT_EQ(f->Time.value(), 0);
    EXPECT_TRUE(f->Timer1.Enabled);
    f->Timer1_Timer();
    EXPECT_EQ(f->StepNo.value(), 2);
}
