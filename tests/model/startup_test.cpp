// SPDX-License-Identifier: GPL-3.0-or-later
#include "loaded_form.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvanta;
using orvanta::testing::countColour;
using orvanta::testing::loadedForm;

TEST(FormLoad, ShowsTheFirstPictureAtPeriastron) {
    auto f = loadedForm();
    EXPECT_EQ(f->StepNo.value(), 1);
    EXPECT_EQ(f->Time.value(), 0);
    EXPECT_EQ(f->Play.Caption, "Play");
    EXPECT_FALSE(f->Timer1.Enabled);
    EXPECT_EQ(f->Pi.value(), PiLiteral);
    EXPECT_EQ(f->CentreY.value(), 240);

    // Read-outs and the cursor at the left edge.
    EXPECT_EQ(f->Label47.Caption, "0");
    EXPECT_EQ(f->Label37.Caption, "0");
    EXPECT_EQ(f->Label25.Caption, "( 0% )");
    EXPECT_EQ(f->Label34.Caption, "100");
    EXPECT_EQ(f->Label11.Caption, "( 100% )");
    EXPECT_EQ(f->Label45.Caption, Str(f->MaxPowerSum.value()));
    EXPECT_EQ(f->Line2.X1, 0);
    EXPECT_EQ(f->Line2.X2, 0);
    EXPECT_EQ(f->RedDot.Left, -3);
    EXPECT_EQ(f->RedDot.Top, 31);

    // Marks sized and placed once.
    EXPECT_EQ(f->Centre.Width, 4);
    EXPECT_EQ(f->Centre.Height, 4);
    EXPECT_EQ(f->RedDot.Width, 8);
    EXPECT_EQ(f->RedDot.Height, 8);
    EXPECT_EQ(f->Label36.Top, 343);
    EXPECT_EQ(f->Label37.Top, 343);
    EXPECT_EQ(f->Label38.Top, 326);
    EXPECT_EQ(f->Centre.Left, static_cast<float>(f->CentreX.value() - 2));
    EXPECT_EQ(f->Centre.Top, 238);
    EXPECT_EQ(f->Line1[1].Y1, 360);

    // Both stars at periastron: A left of the centre of mass, B right, apart.
    EXPECT_LT(f->StarA.Left + f->StarA.Width, f->StarBTop.Left);
    EXPECT_EQ(f->StarA.Width, static_cast<float>(2 * 2.88 * f->StarMag.value()));
    EXPECT_EQ(f->Text14.Text, Str(f->StarMag.value()));
}

TEST(FormLoad, DrawsTheCurveAndBothOrbitTracesInTheStarColours) {
    auto f = loadedForm();
    for (int x = 0; x <= 793; ++x) {
        int white = 0;
        for (int y = 34; y <= 360; ++y)
            white += f->pixel(x, y) == White;
        EXPECT_GT(white, 0) << "column " << x;
    }
    EXPECT_GT(countColour(*f, 0xFFFFC0u), 200); // star A's trace
    EXPECT_GT(countColour(*f, 0x00FFFFu), 200); // star B's trace
    // Nothing but the curve and the two traces.
    EXPECT_EQ(countColour(*f, Surface::Undrawn) + countColour(*f, White) +
                  countColour(*f, 0xFFFFC0u) + countColour(*f, 0x00FFFFu),
              Surface::W * Surface::H);
    // Star A's trace starts at its periastron point.
    f->Time = 0;
    f->Main();
    const auto ax = static_cast<int>(
        std::floor(f->CentreX.value() + f->StarMag.value() * f->ViewXA.value() + 0.5));
    EXPECT_EQ(f->pixel(ax, 240), 0xFFFFC0u);
}

TEST(Check2Click, UntickChangesNothingTickRefitsWithoutClearing) {
    auto f = loadedForm();
    f->Text8.Text = "0.5"; // a second curve over the first: a tick must keep both
    f->Plot_Click();
    const auto pixels = f->pixels();
    f->Text14.Text = "10";
    f->Check2.Value = 0;
    f->Check2_Click();
    EXPECT_EQ(f->Text14.Text, "10");
    EXPECT_EQ(f->pixels(), pixels);
    f->StarMag = 10;
    f->Check2.Value = 1;
    f->Check2_Click();
    EXPECT_EQ(f->Text14.Text, Str(f->StarMag.value()));
    EXPECT_NE(f->StarMag.value(), 10);
    EXPECT_EQ(f->pixels(), pixels); // the same picture drawn again over itself
}
