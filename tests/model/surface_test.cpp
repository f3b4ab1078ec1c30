// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

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

namespace {

// An independent exact clip: rationals in 128-bit integers, for ends up to 2^60.
__extension__ typedef __int128 Big;

struct Ratio {
    Big p, q; // q > 0
};

Ratio ratio(Big p, Big q) {
    return q < 0 ? Ratio{-p, -q} : Ratio{p, q};
}

// The coordinate v at u == edge on the line through (au, av) and (bu, bv).
Ratio crossingOf(Big au, Big av, Big bu, Big bv, Big edge) {
    return ratio(av * (bu - au) + (edge - au) * (bv - av), bu - au);
}

bool beyond(Ratio r, Big box) {
    return r.p > box * r.q || r.p < -box * r.q;
}

// The nearest whole number, halves away from zero.
Big nearest(Ratio r) {
    const Big a = r.p < 0 ? -r.p : r.p;
    const Big n = (2 * a + r.q) / (2 * r.q);
    return r.p < 0 ? -n : n;
}

bool referenceEnd(Big ax, Big ay, Big bx, Big by, Big box, Big& x, Big& y) {
    Ratio rx{ax, 1}, ry{ay, 1};
    if (ax > box || ax < -box) {
        const Big edge = ax < 0 ? -box : box;
        ry = crossingOf(ax, ay, bx, by, edge);
        rx = {edge, 1};
    }
    if (beyond(ry, box)) {
        const Big edge = ry.p < 0 ? -box : box;
        rx = crossingOf(ay, ax, by, bx, edge);
        ry = {edge, 1};
    }
    if (beyond(rx, box) || beyond(ry, box)) return false;
    x = nearest(rx);
    y = nearest(ry);
    return true;
}

std::uint64_t below(std::mt19937_64& g, std::uint64_t n) {
    return g() % n;
}

::testing::AssertionResult clipsLikeTheReference(Big ax, Big ay, Big bx, Big by, bool& inBox) {
    const Big box = 1 << 20;
    Big rx0 = 0, ry0 = 0, rx1 = 0, ry1 = 0;
    inBox = !((ax < -box && bx < -box) || (ax > box && bx > box) || (ay < -box && by < -box) ||
              (ay > box && by > box)) &&
            referenceEnd(ax, ay, bx, by, box, rx0, ry0) &&
            referenceEnd(bx, by, ax, ay, box, rx1, ry1);
    auto d = [](Big v) { return static_cast<double>(v); };
    double x0 = d(ax), y0 = d(ay), x1 = d(bx), y1 = d(by);
    if (clipToBox(x0, y0, x1, y1) != inBox) return ::testing::AssertionFailure() << "in the box?";
    if (inBox && (x0 != d(rx0) || y0 != d(ry0) || x1 != d(rx1) || y1 != d(ry1)))
        return ::testing::AssertionFailure()
               << "clipped to (" << x0 << ", " << y0 << ") - (" << x1 << ", " << y1 << ")";
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(Surface, FarEndsAreClippedLikeAnExactRationalClip) {
    // Ends up to 2^60 in every direction, against a clip in exact rationals: lines at
    // random, lines whose crossing is a whole number (slopes 1 and 3) and lines whose
    // crossing lies exactly half-way between two (a rounding tie, either sign).
    const Big box = 1 << 20;
    std::mt19937_64 g(20261209);
    int clipped = 0, missed = 0;
    for (int n = 0; n < 6000; ++n) {
        auto far = [&] {
            const Big m = static_cast<Big>(below(g, std::uint64_t{1} << 60)) + box + 1;
            return below(g, 2) ? m : -m;
        };
        auto near = [&] { return static_cast<Big>(below(g, 2 * (1 << 20) + 1)) - box; };
        Big ax = near(), ay = near(), bx = near(), by = near();
        switch (n % 4) {
        case 0: // one end far on x, y or both
            if (n % 3 != 1) ax = far();
            if (n % 3 != 0) ay = far();
            break;
        case 1: { // slope +-1 or +-3 from a far x
            const Big k = static_cast<Big>(below(g, 1 << 19)) + 1;
            const Big slope = (n % 8 == 1 ? 1 : 3) * (below(g, 2) ? 1 : -1);
            ax = -box - k;
            bx = ax + 2 * k;
            by = ay + slope * (bx - ax);
            if (by > box || by < -box) continue;
            break;
        }
        case 2: { // a tie: half-way along an even run, an odd rise
            const Big k = static_cast<Big>(below(g, 1 << 19)) + 1;
            ax = below(g, 2) ? -box - k : box + k;
            bx = ax < 0 ? -box + k : box - k;
            by = ay + 2 * static_cast<Big>(below(g, 1000)) + 1 - 1000;
            if (by > box || by < -box) continue;
            break;
        }
        default: // both ends far
            ax = far();
            ay = far();
            bx = far();
            by = near();
            break;
        }
        bool inBox = false;
        ASSERT_TRUE(clipsLikeTheReference(ax, ay, bx, by, inBox)) << n;
        ++(inBox ? clipped : missed);
    }
    EXPECT_GT(clipped, 3000);
    EXPECT_GT(missed, 100);
    // Steep lines whose long division meets a remainder equal to the divisor on the way.
    const Big steep[][4] = {
        {-1316430, -926920, -860601, 857530}, {-1297442, 876, -854444, 934145},
        {-1060720, 318368, -1040806, 533304}, {-1413360, 664667, -904987, -796659},
        {-1253677, -290486, -1006627, 25275}, {-1049269, 671266, -1047859, 679601}};
    for (const auto& c : steep) {
        bool inBox = false;
        EXPECT_TRUE(clipsLikeTheReference(c[0], c[1], c[2], c[3], inBox));
        EXPECT_TRUE(inBox);
    }
}

TEST(Surface, CirclesAreTheMidpointRingOfTheirRadius) {
    // The pixels of a circle of whole radius r are, in the first octant (x >= y), the x of each row
    // y whose midpoint (x - 1/2, y) lies inside the circle and (x + 1/2, y) does not, in
    // exact integers: (2x - 1)^2 + 4y^2 < 4r^2 <= (2x + 1)^2 + 4y^2; the other seven by
    // symmetry.
    Surface s;
    for (int r = 2; r <= 250; ++r) {
        const int cx = 396, cy = 283;
        std::vector<std::pair<long long, long long>> expected;
        long long x = r;
        for (long long y = 0;; ++y) {
            while (x >= y && (2 * x - 1) * (2 * x - 1) + 4 * y * y >= 4LL * r * r)
                --x;
            if (x < y) break;
            const long long pts[8][2] = {{x, y},   {y, x},   {-y, x}, {-x, y},
                                         {-x, -y}, {-y, -x}, {y, -x}, {x, -y}};
            for (const auto& p : pts)
                if (cy + p[1] >= 0 && cy + p[1] < Surface::H)
                    expected.emplace_back(cx + p[0], cy + p[1]);
        }
        std::sort(expected.begin(), expected.end());
        expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
        s.Cls();
        s.Circle(cx, cy, static_cast<float>(r), 7);
        std::vector<std::pair<long long, long long>> drawn;
        for (int y = std::max(0, cy - r - 1); y <= std::min(Surface::H - 1, cy + r + 1); ++y)
            for (int px = cx - r - 1; px <= cx + r + 1; ++px)
                if (s.pixel(px, y) != Surface::Undrawn) drawn.emplace_back(px, y);
        std::sort(drawn.begin(), drawn.end());
        ASSERT_EQ(drawn, expected) << "radius " << r;
    }
}
