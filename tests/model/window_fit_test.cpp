// SPDX-License-Identifier: GPL-3.0-or-later
// The picture in a window of any size: the fit, the pixel under a position, the opening size.
#include "ui/window_fit.h"

#include <gtest/gtest.h>

using namespace orvanta;

struct FitCase {
    int w, h;
    PictureFit fit;
};

class Fit : public ::testing::TestWithParam<FitCase> {};

TEST_P(Fit, IsTheLargestCentredPictureWithItsAspectKept) {
    const FitCase& c = GetParam();
    const PictureFit fit = fitPicture(c.w, c.h);
    EXPECT_EQ(fit.left, c.fit.left);
    EXPECT_EQ(fit.top, c.fit.top);
    EXPECT_EQ(fit.width, c.fit.width);
    EXPECT_EQ(fit.height, c.fit.height);
    EXPECT_DOUBLE_EQ(fit.scale, c.fit.scale);
}

INSTANTIATE_TEST_SUITE_P(Windows, Fit,
                         ::testing::Values(FitCase{794, 568, {0, 0, 794, 568, 1}},
                                           FitCase{1588, 1136, {0, 0, 1588, 1136, 2}},
                                           // A projector's 1920 x 1080: bars left and right.
                                           FitCase{1920, 1080, {205, 0, 1510, 1080, 1080.0 / 568}},
                                           // Taller than the picture: bars above and below.
                                           FitCase{794, 1000, {0, 216, 794, 568, 1}},
                                           FitCase{397, 284, {0, 0, 397, 284, 0.5}},
                                           FitCase{0, 568, {0, 0, 0, 0, 0}}));

TEST(Fit, EveryPicturePixelIsReachedOnceAtEveryScale) {
    for (const double scale : {1.0, 2.0, 1080.0 / 568, 0.5, 1.2324}) {
        const int offset = 17;
        double last = -1;
        for (int p = offset; p < offset + static_cast<int>(794 * scale); ++p) {
            const double x = picturePixel(p + 0.5, offset, scale);
            ASSERT_GE(x, last) << scale;
            if (scale >= 1) {
                ASSERT_LE(x, last + 1) << scale; // no pixel skipped when enlarged
            }
            last = x;
        }
        EXPECT_EQ(picturePixel(offset + (56 + 0.5) * scale, offset, scale), 56) << scale;
    }
}

TEST(Fit, WholeNumberScalesAreSharpAndOthersSmooth) {
    EXPECT_FALSE(smoothAt(1));
    EXPECT_FALSE(smoothAt(2));
    EXPECT_FALSE(smoothAt(3));
    EXPECT_TRUE(smoothAt(1.5));
    EXPECT_TRUE(smoothAt(1080.0 / 568));
    EXPECT_TRUE(smoothAt(0.5));
}

TEST(Fit, TheWindowOpensAtScaleOneUnlessTheScreenIsSmaller) {
    const PictureFit big = openingSize(1920, 1050);
    EXPECT_EQ(big.width, 794);
    EXPECT_EQ(big.height, 568);
    // A high-DPI laptop at twice the pixels: 1366 x 738 logical pixels free still hold it.
    EXPECT_EQ(openingSize(1366, 738).width, 794);
    // A small screen: the largest picture that fits, aspect kept.
    const PictureFit small = openingSize(800, 500);
    EXPECT_EQ(small.height, 500);
    EXPECT_EQ(small.width, 699);
    EXPECT_EQ(small.left, 0);
}

// Full screen: the title goes where the class can read it, never over the picture.
TEST(FullScreen, TheTitleGoesIntoTheBarsOrAStripThePictureMakesRoomFor) {
    // 16:9: bars beside the picture, 205 px wide; the title wraps in the left one.
    const FullScreenFit wide = fullScreenFit(1920, 1080);
    EXPECT_EQ(wide.textPixels, 36);
    EXPECT_TRUE(wide.wrapped);
    EXPECT_EQ(wide.picture.left, fitPicture(1920, 1080).left);
    EXPECT_EQ(wide.picture.height, 1080); // the picture as large as without a title
    EXPECT_LE(wide.left + wide.width, wide.picture.left);
    EXPECT_GE(wide.width, 5 * wide.textPixels - 2 * (wide.textPixels / 3));

    // 5:4: a bar above the picture holds one line.
    const FullScreenFit tall = fullScreenFit(1280, 1024);
    EXPECT_FALSE(tall.wrapped);
    EXPECT_EQ(tall.picture.top, fitPicture(1280, 1024).top);
    EXPECT_EQ(tall.height, tall.picture.top);
    EXPECT_GE(tall.height, tall.textPixels * 3 / 2);
    EXPECT_EQ(tall.width, 1280);

    // 4:3: the bars are too thin; the picture shrinks below a one-line strip.
    const FullScreenFit narrow = fullScreenFit(1024, 768);
    EXPECT_FALSE(narrow.wrapped);
    EXPECT_EQ(narrow.top, 0);
    EXPECT_EQ(narrow.height, 25 * 3 / 2);
    EXPECT_EQ(narrow.picture.top, narrow.height);
    EXPECT_EQ(narrow.picture.top + narrow.picture.height, 768);
    EXPECT_LT(narrow.picture.width, 1024);

    // A small screen keeps a readable size.
    EXPECT_EQ(fullScreenFit(800, 480).textPixels, 18);
}

TEST(Fit, APointerIsInTheWholePixelThatHoldsIt) {
    // A pixel holds its left or top edge and not its right or bottom edge, also left of 0.
    EXPECT_EQ(pixelUnderPointer(12.75), 12);
    EXPECT_EQ(pixelUnderPointer(12.0), 12);
    EXPECT_EQ(pixelUnderPointer(13.0 - 1e-9), 12);
    EXPECT_EQ(pixelUnderPointer(-0.25), -1);
}
