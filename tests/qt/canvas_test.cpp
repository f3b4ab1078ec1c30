// SPDX-License-Identifier: GPL-3.0-or-later
// The composed window picture: background, surface and marks, pixel for pixel.
#include "view_fixture.h"

#include <algorithm>
#include <limits>

namespace orvanta::view::testing {
namespace {

/// The composed window picture.
class CanvasPicture : public ViewTest {};

constexpr QRgb RgbRed = 0xFF0000, RgbBlue = 0x0000FF, RgbWhite = 0xFFFFFF, RgbGreen = 0x00FF00;

// A spot no control covers at start.
constexpr int FreeX = 300, FreeY = 30;

TEST_F(CanvasPicture, UndrawnPixelsShowTheBackgroundPicture) {
    for (const QPoint p : {QPoint(0, 0), QPoint(FreeX, FreeY), QPoint(793, 5), QPoint(450, 300)})
        EXPECT_EQ(pixel(p.x(), p.y()), backgroundPixel(p.x(), p.y())) << p.x() << "," << p.y();
}

struct SurfaceColour {
    long colour; ///< 0x00BBGGRR
    QRgb shown;  ///< 0xRRGGBB
};

class DrawnPixel : public ViewTest, public ::testing::WithParamInterface<SurfaceColour> {};

TEST_P(DrawnPixel, ShowsItsColourWithRedInTheLowByte) {
    f.PSet(FreeX, FreeY, GetParam().colour);
    window->refresh();
    EXPECT_EQ(pixel(FreeX, FreeY), GetParam().shown);
    EXPECT_EQ(pixel(FreeX + 1, FreeY), backgroundPixel(FreeX + 1, FreeY));
}

INSTANTIATE_TEST_SUITE_P(Colours, DrawnPixel,
                         ::testing::Values(SurfaceColour{0x0000FF, 0xFF0000},
                                           SurfaceColour{0xFF0000, 0x0000FF},
                                           SurfaceColour{0x123456, 0x563412},
                                           SurfaceColour{0x000000, 0x000000},
                                           SurfaceColour{0xFFFFFF, 0xFFFFFF}));

TEST_F(CanvasPicture, ClearingTheSurfaceBringsTheBackgroundBack) {
    f.PSet(FreeX, FreeY, 0xFFFFFF);
    window->refresh();
    f.Cls();
    window->refresh();
    EXPECT_EQ(pixel(FreeX, FreeY), backgroundPixel(FreeX, FreeY));
}

// Places a shape of diameter d with its box at (x, y).
void place(ShapeCtl& s, double x, double y, double d) {
    s.Left = x;
    s.Top = y;
    s.Width = d;
    s.Height = d;
}

TEST_F(CanvasPicture, AnEightPixelShapeCoversExactlyItsEightByEightBox) {
    const int x = 300, y = 100;
    place(f.StarA, x - 3, y - 3, 8);
    window->refresh();
    EXPECT_EQ(pixel(x, y), RgbRed);
    for (const QPoint edge :
         {QPoint(x - 3, y), QPoint(x + 4, y), QPoint(x, y - 3), QPoint(x, y + 4)})
        EXPECT_EQ(pixel(edge.x(), edge.y()), RgbWhite) << edge.x() << "," << edge.y();
    for (const QPoint out : {QPoint(x - 4, y), QPoint(x + 5, y), QPoint(x, y - 4), QPoint(x, y + 5),
                             QPoint(x - 3, y - 3), QPoint(x + 4, y + 4)})
        EXPECT_EQ(pixel(out.x(), out.y()), backgroundPixel(out.x(), out.y()))
            << out.x() << "," << out.y();
}

TEST_F(CanvasPicture, TheRedDotMasksTheBackgroundAndTheCentreMarkInvertsIt) {
    place(f.RedDot, 300, 100, 8);
    place(f.Centre, 300, 150, 4);
    window->refresh();
    // Inside: red AND NOT the background; outline: white AND NOT the background.
    EXPECT_EQ(pixel(304, 104), RgbRed & ~backgroundPixel(304, 104) & 0xFFFFFFu);
    EXPECT_EQ(pixel(300, 104), ~backgroundPixel(300, 104) & 0xFFFFFFu);
    // White XOR the background.
    EXPECT_EQ(pixel(301, 151), ~backgroundPixel(301, 151) & 0xFFFFFFu);
    EXPECT_EQ(pixel(300, 150), backgroundPixel(300, 150)); // a corner outside the circle
}

TEST_F(CanvasPicture, TheInvertingMarkShowsTheDrawingBeneathItInverted) {
    place(f.Centre, 300, 150, 4);
    f.PSet(301, 151, 0x0000FF); // red on the surface
    window->refresh();
    EXPECT_EQ(pixel(301, 151), 0x00FFFFu);
}

TEST_F(CanvasPicture, StarBInFrontCoversStarAWhichCoversStarBBehind) {
    place(f.StarA, 200, 100, 40);
    place(f.StarBTop, 230, 100, 40);
    place(f.StarBBottom, 170, 100, 40);
    f.StarBTop.Visible = true;
    f.StarBBottom.Visible = true;
    window->refresh();
    EXPECT_EQ(pixel(235, 120), RgbBlue); // A and B in front overlap
    EXPECT_EQ(pixel(205, 120), RgbRed);  // A and B behind overlap
    f.StarBTop.Visible = false;
    window->refresh();
    EXPECT_EQ(pixel(235, 120), RgbRed);
    EXPECT_EQ(pixel(260, 120), backgroundPixel(260, 120));
}

TEST_F(CanvasPicture, ADottedTransparentOutlineLeavesEveryOtherPixelAndTheInsideUntouched) {
    place(f.StarA, 200, 100, 41);
    f.StarA.Fill = FillStyle::Transparent;
    f.StarA.Outline = BorderStyle::Dotted;
    window->refresh();
    EXPECT_EQ(pixel(220, 120), backgroundPixel(220, 120));
    // Along the flat left edge of the circle the outline alternates.
    int on = 0, off = 0;
    for (int y = 116; y < 125; ++y)
        (pixel(200, y) == RgbWhite ? on : off) += 1;
    EXPECT_GE(on, 4);
    EXPECT_GE(off, 4);
}

struct Extreme {
    const char* what;
    double left, top, size;
    QRgb atFree; ///< the pixel at (FreeX, FreeY) afterwards, 0 for the background
};
void PrintTo(const Extreme& e, std::ostream* os) {
    *os << e.what;
}

class ExtremeShape : public ViewTest, public ::testing::WithParamInterface<Extreme> {};

TEST_P(ExtremeShape, IsClippedToTheWindow) {
    const Extreme& e = GetParam();
    place(f.StarA, e.left, e.top, e.size);
    window->refresh();
    EXPECT_EQ(pixel(FreeX, FreeY), e.atFree == 0 ? backgroundPixel(FreeX, FreeY) : e.atFree);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ExtremeShape,
                         ::testing::Values(Extreme{"ZeroSize", FreeX, FreeY, 0, 0},
                                           Extreme{"CoversTheWindow", -1e6, -1e6, 2.1e6, RgbRed},
                                           Extreme{"HugeBeyondInt", -1e30, -1e30, 2.5e30, RgbRed},
                                           Extreme{"FarAway", 1e20, 1e20, 10, 0},
                                           Extreme{"LargestFloat", 0, 0,
                                                   std::numeric_limits<float>::max(), 0}),
                         [](const auto& test) { return std::string(test.param.what); });

TEST_F(CanvasPicture, LinesAreOnePixelInTheirColourWithBothEnds) {
    EXPECT_EQ(pixel(10, 351), RgbGreen); // the time axis
    EXPECT_EQ(pixel(10, 350), backgroundPixel(10, 350));
    EXPECT_EQ(pixel(396, 343), RgbGreen); // the centre tick
    EXPECT_EQ(pixel(396, 359), RgbGreen);
    EXPECT_EQ(pixel(396, 360), backgroundPixel(396, 360));
    f.Line2.X1 = -1e30;
    f.Line2.Y1 = 200;
    f.Line2.X2 = 1e30;
    f.Line2.Y2 = 200;
    window->refresh();
    EXPECT_EQ(pixel(0, 200), RgbGreen);
    EXPECT_EQ(pixel(793, 200), RgbGreen);
    f.Line2.X1 = -1e9; // a diagonal from far outside to far outside
    f.Line2.Y1 = -1e9;
    f.Line2.X2 = 1e9;
    f.Line2.Y2 = 1e9;
    window->refresh();
    EXPECT_EQ(pixel(300, 300), RgbGreen);
    EXPECT_EQ(pixel(567, 567), RgbGreen);
    f.Line2.X1 = -100; // passes below the window
    f.Line2.Y1 = 1000;
    f.Line2.X2 = 900;
    f.Line2.Y2 = 2000;
    window->refresh();
    EXPECT_EQ(pixel(300, 300), backgroundPixel(300, 300));
}

TEST_F(CanvasPicture, TheMenuPanelIsOpaqueBlackWithTheEmblemAtNaturalSize) {
    EXPECT_EQ(pixel(738, 380), 0x000000u);
    const QImage* emblem = pictures.picture("emblem.gif");
    ASSERT_NE(emblem, nullptr);
    ASSERT_EQ(emblem->size(), QSize(41, 53));
    const QImage shown = window->canvas()->picture().copy(744, 368, 41, 53);
    EXPECT_EQ(shown, emblem->convertToFormat(QImage::Format_RGB32));
}

TEST_F(CanvasPicture, HiddenMarksAreNotPainted) {
    f.Label49.Visible = false;
    f.Image1.Visible = false;
    window->refresh();
    EXPECT_EQ(pixel(738, 380), backgroundPixel(738, 380));
    EXPECT_EQ(pixel(760, 390), backgroundPixel(760, 390));
}

TEST_F(CanvasPicture, TheCreditsPictureShowsWhenItsImageIsVisible) {
    f.Image2.Visible = true;
    window->refresh();
    const QImage* credits = pictures.picture("credits.jpg");
    ASSERT_NE(credits, nullptr);
    EXPECT_EQ(credits->size(), QSize(313, 272));
    EXPECT_EQ(pixel(84 + 100, 57 + 100), credits->pixel(100, 100) & 0xFFFFFFu);
}

TEST_F(CanvasPicture, ALabelsCaptionAndPlaceShowAtOnce) {
    const QImage before = window->canvas()->picture().copy(584, 336, 25, 17);
    f.Label37.Caption = "42";
    window->refresh();
    EXPECT_NE(window->canvas()->picture().copy(584, 336, 25, 17), before);
    f.Label37.Visible = false;
    window->refresh();
    EXPECT_EQ(pixel(600, 345), backgroundPixel(600, 345));
}

TEST_F(CanvasPicture, ThePictureIsRecomposedOnlyWhenTheSurfaceOrAMarkChanged) {
    const unsigned start = window->canvas()->compositions();
    window->refresh();
    f.TextEdited(f.Text1, "20"); // boxes are widgets, not marks
    window->refresh();
    EXPECT_EQ(window->canvas()->compositions(), start);
    f.PSet(FreeX, FreeY, 0xFFFFFF);
    window->refresh();
    EXPECT_EQ(window->canvas()->compositions(), start + 1);
    f.RedDot.Left += 1;
    window->refresh();
    window->refresh();
    EXPECT_EQ(window->canvas()->compositions(), start + 2);
}

TEST_F(CanvasPicture, PanelLabelsArePaintedOnTheirFrame) {
    auto* frame = widget<PanelFrame>("Frame1");
    const QImage before = frame->picture().copy(136, 16, 169, 17);
    f.Label47.Caption = "3.21";
    window->refresh();
    EXPECT_NE(frame->picture().copy(136, 16, 169, 17), before);
}

} // namespace
} // namespace orvanta::view::testing

namespace orvanta::view::testing {
namespace {

// The menu label with the panels hidden, painted alone over a green field (the colour of the
// axis that runs beneath it).
QImage menuLabelOverGreen(Form1& f) {
    f.HideMenu_Click();
    QImage image(WindowWidth, WindowHeight, QImage::Format_RGB32);
    image.fill(QColor(0, 0xFF, 0));
    std::vector<Mark> marks;
    for (const Mark& m : marksIn(f))
        if (m.Caption == f.HideMenu.Caption) marks.push_back(m);
    EXPECT_EQ(marks.size(), 1u);
    paintMarks(image, marks, Pictures{});
    return image;
}

TEST_F(CanvasPicture, ShowMenuStaysOnOneLineAndReadsOverTheAxis) {
    window->load();
    ASSERT_EQ(f.ErrorCount, 0u);
    const QImage image = menuLabelOverGreen(f);
    ASSERT_EQ(f.HideMenu.Caption, "Show  Menu");
    const QRect inner = pixelRect(f.HideMenu).adjusted(1, 1, -1, -1);
    const int lineHeight = QFontMetrics(controlFont(false)).height();
    int lowestText = -1, leftmost = inner.right(), rightmost = inner.left(), halo = 0;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 0x80 && c.blue() > 0x80) {
                lowestText = y;
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
            if (c.green() < 0x40) ++halo;
        }
    // Neither end of the caption is cut by the box.
    EXPECT_GT(leftmost, inner.left());
    EXPECT_LT(rightmost, inner.right());
    ASSERT_GE(lowestText, 0) << "no caption painted";
    EXPECT_LT(lowestText, inner.top() + lineHeight) << "the caption wraps onto a second line";
    EXPECT_GT(halo, 20) << "no dark halo around the caption";
}

} // namespace
} // namespace orvanta::view::testing
