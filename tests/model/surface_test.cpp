// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/surface.h"

#include <gtest/gtest.h>

using namespace orvanta;

namespace {
int painted(const Surface& s) {
    int n = 0;
    for (auto p : s.pixels())
        n += p != Surface::Undrawn;
    return n;
}
} // namespace

TEST(Surface, LineStartsAtTheCurrentPoint) {
    Surface s;
    s.Line(3, 0, 0xFF);
    for (int x = 0; x <= 3; ++x)
        EXPECT_EQ(s.pixel(x, 0), 0xFFu);
    s.PSet(10, 20, 1);
    s.PSet(50, 50, 2);
    s.Line(60, 50, 3);
    EXPECT_EQ(s.pixel(50, 50), 3u);
    EXPECT_EQ(s.pixel(60, 50), 3u);
    EXPECT_EQ(s.pixel(30, 20), Surface::Undrawn);
    s.Cls();
    EXPECT_EQ(painted(s), 0);
    EXPECT_EQ(s.CurrentX(), 0);
    s.Line(0, 2, 5);
    EXPECT_EQ(s.pixel(0, 0), 5u);
    EXPECT_EQ(s.pixel(0, 2), 5u);
}

TEST(Surface, CoordinatesRoundToIntOfXPlusHalf) {
    Surface s;
    s.PSet(12.5f, 3.49f, 7);
    EXPECT_EQ(s.pixel(13, 3), 7u);
    s.PSet(-0.5f, 0, 8);
    EXPECT_EQ(s.pixel(0, 0), 8u);
    EXPECT_EQ(painted(s), 2);
}

TEST(Surface, BresenhamLinePaintsBothEnds) {
    Surface s;
    s.PSet(10, 10, 1);
    s.Line(20, 15, 1);
    EXPECT_EQ(painted(s), 11);
    EXPECT_EQ(s.pixel(10, 10), 1u);
    EXPECT_EQ(s.pixel(20, 15), 1u);
    for (int x = 10; x <= 20; ++x) {
        int column = 0;
        for (int y = 0; y < Surface::H; ++y)
            column += s.pixel(x, y) == 1u;
        EXPECT_EQ(column, 1) << x;
    }
    // The minor coordinate rounds to nearest: (0,0)-(4,1) steps down at x = 2, not x = 4.
    Surface t;
    t.PSet(0, 0, 1);
    t.Line(4, 1, 1);
    EXPECT_EQ(t.pixel(1, 0), 1u);
    EXPECT_EQ(t.pixel(2, 1), 1u);
    EXPECT_EQ(t.pixel(3, 1), 1u);
}

TEST(Surface, CircleOfRadiusOneIsTheRingAroundTheCentre) {
    Surface s;
    s.Circle(100, 100, 1, 0xFFFFFF);
    EXPECT_EQ(painted(s), 8);
    EXPECT_EQ(s.pixel(100, 100), Surface::Undrawn);
    EXPECT_EQ(s.pixel(99, 99), 0xFFFFFFu);
    EXPECT_EQ(s.pixel(101, 101), 0xFFFFFFu);
    s.Line(110, 100, 4);
    EXPECT_EQ(s.pixel(100, 100), 4u);
}

TEST(Surface, FarOffScreenIsClippedNotDrawn) {
    Surface s;
    s.PSet(-1e30f, 5, 1);
    s.Circle(1e38f, -1e38f, 1, 1);
    EXPECT_EQ(painted(s), 0);
    // A line from far left to far right through row 100 crosses the whole width.
    s.PSet(-3e38f, 100, 2);
    s.Line(3e38f, 100, 2);
    for (int x = 0; x < Surface::W; ++x)
        EXPECT_EQ(s.pixel(x, 100), 2u);
    // A steep line clipped to the raster keeps its pixels.
    Surface t;
    t.PSet(400, -1e9f, 3);
    t.Line(400, 1e9f, 3);
    for (int y = 0; y < Surface::H; ++y)
        EXPECT_EQ(t.pixel(400, y), 3u);
    EXPECT_EQ(painted(t), Surface::H);
}

TEST(Surface, FarEndsAreClippedToTheExactlyRoundedPointOfTheLine) {
    // The line from this far end to (384, 422) leaves the 2^20 box at y = -2^20,
    // x = -680136.395...: the end moves to (-680136, -1048576) on every CPU. Rounding on the
    // way (64-bit mantissas give -680137) moves pixels on the raster.
    auto pixelsOf = [](float x0, float y0) {
        Surface s;
        s.PSet(x0, y0, 1);
        s.Line(383.584045f, 421.538818f, 1);
        return s.pixels();
    };
    const auto far = pixelsOf(-7.91642874e+18f, -1.22028935e+19f);
    EXPECT_EQ(far, pixelsOf(-680136, -1048576));
    EXPECT_NE(far, pixelsOf(-680137, -1048576));
}
