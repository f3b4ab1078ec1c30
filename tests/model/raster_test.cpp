// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel rules of the picture, without a display: the shapes' coverage, outline and raster
// modes, the line marks, and the picture beneath the marks.
#include "render/raster.h"
#include "render/surface.h"
#include "ui/marks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace orvanta {
namespace {

constexpr ScreenPixel Paper = 0xFF102030; // what lies beneath, before a mark is painted
constexpr ScreenPixel ScreenWhite = 0xFFFFFFFF, ScreenRed = 0xFFFF0000, ScreenBlue = 0xFF0000FF;

/// A picture of the window's size, filled with one pixel value.
struct Picture {
    explicit Picture(ScreenPixel fill = Paper, int w = Surface::W, int h = Surface::H)
        : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
    PixelGrid grid() { return {pixels.data(), width, height, width}; }
    [[nodiscard]] ScreenPixel at(int x, int y) const { return pixels[y * width + x]; }
    int width, height;
    std::vector<std::uint32_t> pixels;
};

ShapeLook look(Colour32 fill, FillStyle style = FillStyle::Solid,
               BorderStyle outline = BorderStyle::Solid, DrawMode mode = DrawMode::Copy) {
    return {fill, White, style, outline, mode};
}

TEST(ScreenPixel, SwapsRedIntoTheHighByteAndResolvesTheButtonFace) {
    EXPECT_EQ(screenPixel(Red), ScreenRed);
    EXPECT_EQ(screenPixel(Blue), ScreenBlue);
    EXPECT_EQ(screenPixel(0x123456), 0xFF563412u);
    EXPECT_EQ(screenPixel(ButtonFace), 0xFFF0F0F0u);
}

TEST(WholePixel, RoundsHalvesUpAndSaturates) {
    EXPECT_EQ(wholePixel(12.5), 13);
    EXPECT_EQ(wholePixel(12.49), 12);
    EXPECT_EQ(wholePixel(-0.5), 0);
    EXPECT_EQ(wholePixel(-0.51), -1);
    EXPECT_GT(wholePixel(1e300), 1 << 29);
    EXPECT_LT(wholePixel(-1e300), -(1 << 29));
    EXPECT_LT(wholePixel(std::numeric_limits<double>::quiet_NaN()), -(1 << 29));
    // Exactly at the bounds: far values and a NaN give the bound itself, and a value just
    // inside a bound is kept as it is.
    EXPECT_EQ(wholePixel(-1e300), INT_MIN / 2);
    EXPECT_EQ(wholePixel(std::numeric_limits<double>::quiet_NaN()), INT_MIN / 2);
    EXPECT_EQ(wholePixel(1e300), INT_MAX / 2);
    EXPECT_EQ(wholePixel(INT_MIN / 2 + 1000.0), INT_MIN / 2 + 1000);
    EXPECT_EQ(wholePixel(INT_MAX / 2 - 1000.0), INT_MAX / 2 - 1000);
}

TEST(Circle, AnEightPixelShapeCoversExactlyItsEightByEightBox) {
    Picture p;
    const int x = 300, y = 100;
    paintCircle(p.grid(), x - 3, y - 3, 8, 8, look(Red));
    EXPECT_EQ(p.at(x, y), ScreenRed);
    for (auto [ex, ey] : {std::pair{x - 3, y}, {x + 4, y}, {x, y - 3}, {x, y + 4}})
        EXPECT_EQ(p.at(ex, ey), ScreenWhite) << ex << "," << ey;
    for (auto [ox, oy] :
         {std::pair{x - 4, y}, {x + 5, y}, {x, y - 4}, {x, y + 5}, {x - 3, y - 3}, {x + 4, y + 4}})
        EXPECT_EQ(p.at(ox, oy), Paper) << ox << "," << oy;
}

// A disc over the right edge stops there: nothing of it comes round onto the next row.
TEST(Circle, OverTheRightEdgeItStopsAtTheEdge) {
    Picture p;
    paintCircle(p.grid(), Surface::W - 20, 100, 41, 41, look(Red));
    EXPECT_EQ(p.at(Surface::W - 1, 120), ScreenRed);
    for (int y = 100; y < 142; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(p.at(x, y), Paper) << x << "," << y;
}

TEST(Circle, IsSymmetricAndItsOutlineClosed) {
    Picture p(0xFF000000);
    paintCircle(p.grid(), 100, 100, 41, 41, look(Red));
    for (int y = 100; y < 141; ++y)
        for (int x = 100; x < 141; ++x) {
            const ScreenPixel v = p.at(x, y);
            EXPECT_EQ(v, p.at(240 - x, y)) << x << "," << y;
            EXPECT_EQ(v, p.at(x, 240 - y)) << x << "," << y;
            EXPECT_EQ(v, p.at(y, x)) << x << "," << y;
            // A fill pixel never touches the outside: the outline closes it in.
            if (v != ScreenRed) continue;
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                EXPECT_NE(p.at(x + dx, y + dy), 0xFF000000u) << x << "," << y;
        }
}

TEST(Circle, TheMaskingModeKeepsColourAndNotTheScreenAndTheInvertingModeXors) {
    Picture p;
    paintCircle(p.grid(), 300, 100, 8, 8,
                look(Red, FillStyle::Solid, BorderStyle::Solid, DrawMode::MaskPenNot));
    paintCircle(p.grid(), 300, 150, 4, 4,
                look(White, FillStyle::Solid, BorderStyle::Solid, DrawMode::XorPen));
    EXPECT_EQ(p.at(304, 104), 0xFF000000u | (ScreenRed & ~Paper));
    EXPECT_EQ(p.at(300, 104), 0xFF000000u | (ScreenWhite & ~Paper));
    EXPECT_EQ(p.at(301, 151), 0xFF000000u | ((ScreenWhite ^ Paper) & 0xFFFFFFu));
    EXPECT_EQ(p.at(300, 150), Paper); // a corner outside the circle
}

TEST(Circle, ATransparentShapeLeavesItsInsideAlone) {
    Picture p;
    paintCircle(p.grid(), 200, 100, 41, 41, look(Red, FillStyle::Transparent));
    EXPECT_EQ(p.at(220, 120), Paper);
    EXPECT_EQ(p.at(200, 120), ScreenWhite);
}

// A dotted outline is one pixel on, one off along its path, on the diagonal strokes as much as
// on the flat edges: a checkerboard of x + y would leave the strokes near 45 degrees solid
// or missing.
TEST(Circle, ADottedOutlineAlternatesAlongItsPathEverywhere) {
    const int left = 100, top = 100, d = 200;
    Picture solid, dotted;
    paintCircle(solid.grid(), left, top, d, d, look(Red, FillStyle::Transparent));
    paintCircle(dotted.grid(), left, top, d, d,
                look(Red, FillStyle::Transparent, BorderStyle::Dotted));
    auto onOutline = [&](int x, int y) { return solid.at(x, y) == ScreenWhite; };
    auto lit = [&](int x, int y) { return dotted.at(x, y) == ScreenWhite; };
    int outline = 0, on = 0;
    for (int y = top - 1; y <= top + d; ++y)
        for (int x = left - 1; x <= left + d; ++x) {
            if (!onOutline(x, y)) {
                EXPECT_FALSE(lit(x, y)) << x << "," << y; // nothing off the outline
                continue;
            }
            ++outline;
            on += lit(x, y);
            // Every outline pixel has a neighbour along the outline in the other state.
            bool other = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if ((dx != 0 || dy != 0) && onOutline(x + dx, y + dy) &&
                        lit(x + dx, y + dy) != lit(x, y))
                        other = true;
            EXPECT_TRUE(other) << x << "," << y << (lit(x, y) ? " on" : " off");
        }
    EXPECT_NEAR(on, outline / 2, 1);
    // The four diagonal strokes, each a 24 x 24 box around the point at 45 degrees.
    const double c = left + d / 2.0, reach = d / 2.0 / std::sqrt(2.0);
    for (auto [sx, sy] : {std::pair{1, 1}, {1, -1}, {-1, 1}, {-1, -1}}) {
        const int bx = static_cast<int>(c + sx * reach), by = static_cast<int>(c + sy * reach);
        int strokeOutline = 0, strokeOn = 0;
        for (int y = by - 12; y < by + 12; ++y)
            for (int x = bx - 12; x < bx + 12; ++x)
                if (onOutline(x, y)) {
                    ++strokeOutline;
                    strokeOn += lit(x, y);
                }
        ASSERT_GT(strokeOutline, 20);
        EXPECT_GE(strokeOn, strokeOutline * 2 / 5) << sx << "," << sy;
        EXPECT_LE(strokeOn, strokeOutline * 3 / 5) << sx << "," << sy;
    }
}

struct Extreme {
    const char* what;
    double left, top, size;
    ScreenPixel atFree; ///< the pixel at (300, 30) afterwards
};
void PrintTo(const Extreme& e, std::ostream* os) {
    *os << e.what;
}
class ExtremeCircle : public ::testing::TestWithParam<Extreme> {};

TEST_P(ExtremeCircle, IsClippedToTheGrid) {
    const Extreme& e = GetParam();
    Picture p;
    paintCircle(p.grid(), e.left, e.top, e.size, e.size, look(Red));
    EXPECT_EQ(p.at(300, 30), e.atFree);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ExtremeCircle,
    ::testing::Values(Extreme{"ZeroSize", 300, 30, 0, Paper},
                      Extreme{"CoversTheWindow", -1e6, -1e6, 2.1e6, ScreenRed},
                      Extreme{"HugeBeyondInt", -1e30, -1e30, 2.5e30, ScreenRed},
                      Extreme{"FarAway", 1e20, 1e20, 10, Paper},
                      Extreme{"LargestFloat", 0, 0, std::numeric_limits<float>::max(), Paper}),
    [](const auto& test) { return std::string(test.param.what); });

// The line marks and the surface share one line rule: the same pixels for every segment,
// with ends inside the window or far outside it.
TEST(LineRule, LineMarksDrawExactlyTheSurfacesLines) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> near(-400, 1200);
    std::uniform_real_distribution<double> far(-1e7, 1e7);
    // One surface and one picture, cleared for each segment; the pixels are compared in a plain
    // loop first, and one by one only when they differ (a fresh pair and an assertion per
    // pixel made this test take minutes).
    Surface s;
    Picture p(0);
    for (int i = 0; i < 2000; ++i) {
        auto pick = [&] { return std::round(i % 2 ? far(rng) : near(rng)); };
        const double x0 = pick(), y0 = pick(), x1 = pick(), y1 = pick();
        s.Cls();
        s.PSet(static_cast<float>(x0), static_cast<float>(y0), White);
        s.Line(static_cast<float>(x1), static_cast<float>(y1), White);
        s.PSet(static_cast<float>(x0), static_cast<float>(y0), White); // the start again
        std::fill(p.pixels.begin(), p.pixels.end(), 0);
        paintLine(p.grid(), static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1),
                  static_cast<float>(y1), White);
        const std::uint32_t* drawn = s.pixels().data();
        const std::uint32_t* painted = p.pixels.data();
        size_t differ = 0;
        for (size_t k = 0; k < p.pixels.size(); ++k)
            differ += (painted[k] != 0) != (drawn[k] != Surface::Undrawn);
        if (differ == 0) continue;
        for (size_t k = 0; k < p.pixels.size(); ++k)
            ASSERT_EQ(p.pixels[k] != 0, s.pixels()[k] != Surface::Undrawn)
                << "segment " << i << " (" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ") at "
                << k % Surface::W << "," << k / Surface::W;
    }
}

TEST(LineRule, IsOnePixelWideWithBothEnds) {
    Picture p(0);
    paintLine(p.grid(), 10, 20, 30, 30, Green);
    int count = 0;
    for (std::uint32_t v : p.pixels)
        count += v != 0;
    EXPECT_EQ(count, 21);
    EXPECT_EQ(p.at(10, 20), 0xFF00FF00u);
    EXPECT_EQ(p.at(30, 30), 0xFF00FF00u);
    paintLine(p.grid(), -1e30, 200, 1e30, 200, Green); // across the whole window
    EXPECT_EQ(p.at(0, 200), 0xFF00FF00u);
    EXPECT_EQ(p.at(793, 200), 0xFF00FF00u);
    paintLine(p.grid(), 5, std::numeric_limits<double>::quiet_NaN(), 9, 9, Red); // no pixel
    EXPECT_EQ(p.at(9, 9), 0u);
}

TEST(ComposeBase, BackgroundOnBlackThenTheDrawnPixels) {
    Surface s;
    s.PSet(10, 10, 0x123456);
    Picture background(0xFFABCDEF, 100, 50); // smaller than the window
    Picture out(0);
    composeBase(s, {background.pixels.data(), 100, 50, 100}, out.grid());
    EXPECT_EQ(out.at(10, 10), 0xFF563412u);
    EXPECT_EQ(out.at(11, 10), 0xFFABCDEFu);
    EXPECT_EQ(out.at(100, 10), 0xFF000000u);
    EXPECT_EQ(out.at(10, 50), 0xFF000000u);
    s.Cls();
    composeBase(s, {background.pixels.data(), 100, 50, 100}, out.grid());
    EXPECT_EQ(out.at(10, 10), 0xFFABCDEFu);
}

TEST(Marks, ListTheVisibleWindowlessControlsOfOneContainerBottomToTop) {
    Controls c;
    const std::vector<Mark> window = marksIn(c);
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(window.front().kind, Kind::Label); // the menu panel, bottommost
    EXPECT_EQ(window.front().BackColor, Black);
    const size_t shown = window.size();
    c.StarBTop.Visible = true;
    EXPECT_EQ(marksIn(c).size(), shown + 1);
    for (const Mark& m : marksIn(c, &c.Frame1))
        EXPECT_EQ(m.kind, Kind::Label);
    const std::vector<Mark> before = marksIn(c, &c.Frame1);
    c.Label47.Caption = "42";
    EXPECT_NE(marksIn(c, &c.Frame1), before);
}

} // namespace
} // namespace orvanta
