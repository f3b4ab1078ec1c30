// SPDX-License-Identifier: GPL-3.0-or-later
#include "loaded_form.h"

#include <gtest/gtest.h>

using namespace orvanta;
using orvanta::testing::loadedForm;

TEST(Initialize, SizesAndColoursTheStarShapes) {
    auto f = loadedForm();
    f->RadiusA = 2.88;
    f->StarMag = 25;
    f->Initialize();
    EXPECT_EQ(f->StarA.Width, 144);
    EXPECT_EQ(f->StarA.Height, 144);
    EXPECT_EQ(f->StarA.FillColor, 0xFFFFC0u); // 12000 K
    const float b = static_cast<float>(2 * 3.54 * 25);
    for (const ShapeCtl* s : {&f->StarBTop, &f->StarBBottom}) {
        EXPECT_EQ(s->Width, b);
        EXPECT_EQ(s->Height, b);
        EXPECT_EQ(s->FillColor, 0x00FFFFu); // about 4888 K
    }
}

TEST(DrawStars, PlacesADiscByItsBoundingBox) {
    Form1 f;
    f.StarMag = 25;
    f.CentreX = 100;
    f.CentreY = 240;
    f.RadiusA = 2;
    f.RadiusB = 1;
    f.ViewXB = 4;
    f.ViewYB = -2;
    f.DrawStars();
    EXPECT_EQ(f.StarA.Left, 50);
    EXPECT_EQ(f.StarA.Top, 190);
    EXPECT_EQ(f.StarBTop.Left, 175);
    EXPECT_EQ(f.StarBTop.Top, 165);
}

struct DepthCase {
    double depthA, depthB;
    bool topShown;
};

class DepthOrder : public ::testing::TestWithParam<DepthCase> {};

TEST_P(DepthOrder, ShowsTheShapeOfBOnTheRightSideOfA) {
    const auto c = GetParam();
    Form1 f;
    f.StarBTop.SetLeft(-1);
    f.StarBBottom.SetLeft(-1);
    f.DepthA = c.depthA;
    f.DepthB = c.depthB;
    f.ViewXB = 1;
    f.StarMag = 10;
    f.DrawStars();
    EXPECT_EQ(f.StarBTop.Visible, c.topShown);
    EXPECT_EQ(f.StarBBottom.Visible, !c.topShown);
    const ShapeCtl& shown = c.topShown ? f.StarBTop : f.StarBBottom;
    const ShapeCtl& hidden = c.topShown ? f.StarBBottom : f.StarBTop;
    EXPECT_EQ(shown.Left, 10);
    EXPECT_EQ(hidden.Left, -1); // keeps its last position
}

INSTANTIATE_TEST_SUITE_P(Ties, DepthOrder,
                         ::testing::Values(DepthCase{1, 0, true}, DepthCase{0, 0, true},
                                           DepthCase{0, 1, false}));

TEST(AutoStarMag, FitsTheHorizontalSweepToTheWidth) {
    // Twins of radius 1 ten solar radii apart, edge-on: each swings between x -5 and +5.
    auto f = loadedForm();
    f->Text1.Text = "10";
    f->Text5.Text = "0";
    f->Text7.Text = "1";
    f->Text8.Text = "1";
    f->Text9.Text = "1";
    f->Text10.Text = "1";
    f->DataInput();
    f->Time = 0.123456;
    f->AutoStarMag();
    EXPECT_EQ(f->ViewLeft.value(), -6);
    EXPECT_EQ(f->ViewRight.value(), 6);
    EXPECT_EQ(f->StarMag.value(), 793.0 / 12);
    EXPECT_DOUBLE_EQ(f->CentreX.value(), 396.5);
    EXPECT_EQ(f->Text14.Text, Str(793.0 / 12));
    EXPECT_EQ(f->Time.value(), 0.123456);
    // A three times heavier: B swings between -7.5 and +7.5, so both edges are B's.
    f->Text7.Text = "3";
    f->DataInput();
    f->AutoStarMag();
    EXPECT_NEAR(f->ViewLeft.value(), -8.5, 1e-4);
    EXPECT_EQ(f->ViewRight.value(), 8.5);
}

TEST(AutoStarMag, LeavesTheOutputsOfTheLastSampleBehind) {
    auto f = loadedForm();
    f->Time = 0.004;
    f->AutoStarMag();
    const double xa = f->ViewXA.value(), power = f->PowerSum.value();
    const Num step = f->Period / 793;
    Num last = 0;
    for (int i = 0; i < 792; ++i)
        last = last + step;
    f->Time = last;
    f->Main();
    EXPECT_EQ(f->ViewXA.value(), xa);
    EXPECT_EQ(f->PowerSum.value(), power);
}

TEST(AutoStarMag, PointLikeStarsAtTheCentreCannotBeFitted) {
    auto f = loadedForm();
    const double mag = f->StarMag.value();
    f->RadiusA = 0;
    f->RadiusB = 0;
    f->MeanDistance = 0;
    f->Time = 0.002;
    EXPECT_THROW(f->AutoStarMag(), RuntimeError);
    EXPECT_EQ(f->Time.value(), 0.002);
    EXPECT_EQ(f->StarMag.value(), mag);
}
