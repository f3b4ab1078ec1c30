// SPDX-License-Identifier: GPL-3.0-or-later
#include "loaded_form.h"

#include <gtest/gtest.h>

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
