// SPDX-License-Identifier: GPL-3.0-or-later
#include "model_fixture.h"

using namespace orvanta;

class Selectors : public orvanta::testing::ModelTest {
protected:
    void SetUp() override { read(); }
    /// The user moves star A's selector to a row, as the list's arrows would.
    void scrollA(int row) {
        f.List1.TopIndex = row;
        f.Run([&] { f.List1_Scroll(); });
    }
};

TEST_F(Selectors, StepsThroughTheFourQuantities) {
    scrollA(1);
    EXPECT_EQ(f.Text11.Text, "5.96761337718181E+28");
    EXPECT_EQ(f.Label4.Caption, "(Luminosity of Star A Surface)");
    scrollA(2);
    EXPECT_EQ(f.Text11.Text, "12000");
    EXPECT_EQ(f.Label4.Caption, "(Temperature of Star A Surface)");
    f.Text16.Text = "5000"; // left from an earlier visit: the magnitude row empties it
    scrollA(3);
    EXPECT_EQ(f.Text11.Text, "");
    EXPECT_EQ(f.Label4.Caption, "(Absolute Visual Magnitude A)");
    EXPECT_TRUE(f.Label41.Visible && f.Label44.Visible && f.Text16.Visible);
    EXPECT_EQ(f.Text16.Text, "");
    EXPECT_FALSE(f.Text9.Enabled);
    scrollA(2);
    EXPECT_FALSE(f.Label41.Visible || f.Label44.Visible || f.Text16.Visible);
    EXPECT_TRUE(f.Text9.Enabled);
    EXPECT_EQ(f.Text11.Text, "12000");
    EXPECT_EQ(f.PrevQuantityA, 2);
    EXPECT_EQ(f.Text12.Text, "32538658.5511403"); // the other star is untouched
}

TEST_F(Selectors, JumpFromMagnitudeShowsTheRowActuallyShown) {
    scrollA(3);
    scrollA(0);
    EXPECT_EQ(f.Text11.Text, "1181952000");
    EXPECT_EQ(f.Label4.Caption, "(Light Flux from Star A Surface)");
    EXPECT_TRUE(f.Text9.Enabled);
    EXPECT_FALSE(f.Text16.Visible);
    scrollA(3);
    scrollA(1);
    EXPECT_EQ(f.Text11.Text, "5.96761337718181E+28");
}

TEST_F(Selectors, AFaultKeepsTheBoxAndThePreviousRow) {
    f.Text9.Text = "0";
    scrollA(1);
    f.Text11.Text = "5E+28";
    scrollA(2); // luminosity back to flux divides by the zero radius
    EXPECT_EQ(f.ErrorNumber, 11);
    EXPECT_EQ(f.PrevQuantityA, 1);
    EXPECT_EQ(f.List1.TopIndex, 2);
    EXPECT_EQ(f.Text11.Text, "5E+28");
    EXPECT_EQ(f.Label4.Caption, "(Luminosity of Star A Surface)");
}

TEST_F(Selectors, ScrollingToTheRowShownOrPastTheEndRunsNothing) {
    f.Text11.Text = "1.181952E9"; // a conversion would rewrite it as 1181952000
    f.ListScrolled(f.List1, 0);
    f.ListScrolled(f.List1, 4);
    EXPECT_EQ(f.Text11.Text, "1.181952E9");
    EXPECT_EQ(f.List1.TopIndex, 0);
}

TEST_F(Selectors, StarBHasItsOwnControls) {
    f.List2.TopIndex = 2;
    f.List2_Scroll();
    EXPECT_NEAR(Val(f.Text12.Text), 4888, 1e-6);
    EXPECT_EQ(f.Label3.Caption, "(Temperature of Star B Surface)");
    EXPECT_EQ(f.Text11.Text, "1181952000");
}

class Presets : public orvanta::testing::ModelTest {
protected:
    void pick(ComboBoxCtl& combo, int index) {
        combo.ListIndex = index;
        f.Run([&] { &combo == &f.Combo1 ? f.Combo1_Click() : f.Combo2_Click(); });
    }
    void scrollA(int row) {
        f.List1.TopIndex = row;
        f.List1_Scroll();
    }
};

TEST_F(Presets, PickingATypeFillsAndLocksTheBoxes) {
    pick(f.Combo1, 8); // G0V
    EXPECT_EQ(f.Text7.Text, "1.1");
    EXPECT_EQ(f.Text9.Text, "1");
    EXPECT_EQ(f.Text11.Text, "6000");
    EXPECT_EQ(f.List1.TopIndex, 2);
    EXPECT_EQ(f.PrevQuantityA, 2);
    EXPECT_EQ(f.Label4.Caption, "(Temperature of Star A Surface)");
    EXPECT_FALSE(f.Text7.Enabled || f.Text9.Enabled || f.Text11.Enabled);
    EXPECT_EQ(f.MassA.value(), 0); // nothing is read until the next plot
    pick(f.Combo1, 0);
    EXPECT_TRUE(f.Text7.Enabled && f.Text9.Enabled && f.Text11.Enabled);
    EXPECT_EQ(f.Text7.Text, "1.1");
    read();
    EXPECT_EQ(f.FluxA.value(), (f.pow(6000, 4) * 5.7e-8).value());
}

TEST_F(Presets, StarBAndEveryType) {
    pick(f.Combo2, 1);
    EXPECT_EQ(f.Text8.Text, "40");
    EXPECT_EQ(f.Text10.Text, "17.8");
    EXPECT_EQ(f.Text12.Text, "40000");
    const char* masses[] = {"40",  "18",  "6.4", "3.2", "2.1", "1.7", "1.3",
                            "1.1", "0.9", "0.8", "0.7", "0.5", "0.2", "0.1"};
    for (int i = 1; i <= 14; ++i) {
        pick(f.Combo1, i);
        EXPECT_EQ(f.Text7.Text, masses[i - 1]) << f.Combo1.Text();
    }
}

TEST_F(Presets, MagnitudeRowUnderAPresetKeepsItsLock) {
    pick(f.Combo1, 8);
    scrollA(3);
    scrollA(2);
    EXPECT_EQ(f.Text11.Text, "");
    EXPECT_EQ(f.Label4.Caption, "(Absolute Visual Magnitude A)");
    EXPECT_FALSE(f.Text9.Enabled);
    EXPECT_FALSE(f.Text16.Visible);
}

TEST_F(Presets, AFaultingConversionStillLeavesThePreset) {
    f.Text11.Text = "-5"; // a negative flux has no temperature
    pick(f.Combo1, 1);
    EXPECT_EQ(f.ErrorNumber, 5);
    EXPECT_EQ(f.Text11.Text, "40000");
    EXPECT_EQ(f.PrevQuantityA, 2);
}
