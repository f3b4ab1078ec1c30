// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/raster.h"

#include "render/surface.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <compare>
#include <cstring>
#include <vector>

namespace orvanta {

double nearestPixel(double v) {
    return std::floor(v + 0.5);
}

int wholePixel(double v) {
    const double p = nearestPixel(v);
    if (!(p > INT_MIN / 2)) return INT_MIN / 2; // also catches a NaN
    if (p > INT_MAX / 2) return INT_MAX / 2;
    return static_cast<int>(p);
}

namespace {

// One pixel of a shape in its raster mode; `pen`, `screen` and the result are screen pixels.
inline ScreenPixel combine(DrawMode mode, ScreenPixel pen, ScreenPixel screen) {
    switch (mode) {
    case DrawMode::MaskPenNot:
        return 0xFF000000u | (pen & ~screen);
    case DrawMode::XorPen:
        return 0xFF000000u | ((pen ^ screen) & 0xFFFFFFu);
    default:
        return pen;
    }
}

// The columns of row j covered by a circle of diameter d whose box starts at (ox, oy):
// the pixels whose centres lie inside it. Empty when first > last.
struct Span {
    double first = 1, last = 0;
};
Span circleRow(double ox, double oy, double d, double j) {
    const double r = d / 2;
    const double dy = j + 0.5 - (oy + r);
    if (j < oy || j >= oy + d || dy * dy > r * r) return {};
    const double half = std::sqrt(r * r - dy * dy);
    const double cx = ox + r;
    return {std::ceil(cx - half - 0.5), std::floor(cx + half - 0.5)};
}

// Where a pixel centre lies around the circle's centre, as a number that grows with the
// angle: 0 to 4 once round, one per quadrant ("diamond angle"; exact in its order and
// free of trigonometry, so every build orders the pixels alike). Offsets in half pixels.
double turnOf(double ex, double ey) {
    const double s = std::fabs(ex) + std::fabs(ey);
    if (s == 0) return 0;
    if (ey >= 0) return ex >= 0 ? ey / s : 1 + (-ex) / s;
    return ex < 0 ? 2 + (-ey) / s : 3 + ex / s;
}

/// Ordered by turn, then row, then column: the members' order.
struct OutlinePixel {
    double turn;
    int y, x;
    auto operator<=>(const OutlinePixel&) const = default;
};

} // namespace

void paintCircle(PixelGrid grid, double left, double top, double width, double height,
                 const ShapeLook& look) {
    // In double, not int: a star magnified far beyond the window still covers it rightly.
    const double l = nearestPixel(left), t = nearestPixel(top);
    const double w = std::max(0.0, nearestPixel(width)), h = std::max(0.0, nearestPixel(height));
    const double d = std::min(w, h);
    if (!(d > 0)) return;
    const double ox = l + std::floor((w - d) / 2), oy = t + std::floor((h - d) / 2);
    const ScreenPixel fill = screenPixel(look.FillColor), border = screenPixel(look.BorderColor);
    const bool solid = look.Fill == FillStyle::Solid;
    const bool dotted = look.Outline == BorderStyle::Dotted;
    const double maxX = grid.width - 1;
    const double rows = grid.height;
    const int y0 = static_cast<int>(std::clamp(oy, 0.0, rows));
    const int y1 = static_cast<int>(std::clamp(oy + d, 0.0, rows));
    // A dotted outline is one pixel on, one off along its path: its pixels are gathered,
    // put in order round the circle and every other one painted.
    std::vector<OutlinePixel> dots;
    const double twiceCx = 2 * ox + d, twiceCy = 2 * oy + d;
    for (int y = y0; y < y1; ++y) {
        const Span row = circleRow(ox, oy, d, y);
        if (row.first > row.last) continue;
        const Span above = circleRow(ox, oy, d, y - 1), below = circleRow(ox, oy, d, y + 1);
        // Interior: inside, not at the row's ends, and inside the rows above and below.
        const double inFirst = std::max({row.first + 1, above.first, below.first});
        const double inLast = std::min({row.last - 1, above.last, below.last});
        const bool hasInside =
            above.first <= above.last && below.first <= below.last && inFirst <= inLast;
        std::uint32_t* px = grid.row(y);
        // Pixels first..last (whole numbers in double, any range) clipped to the row.
        auto run = [&](double first, double last, ScreenPixel pen, bool outline) {
            const double a = std::max(0.0, first), b = std::min(maxX, last);
            for (double xd = a; xd <= b; ++xd) {
                const int x = static_cast<int>(xd);
                if (outline && dotted)
                    dots.push_back({turnOf(2 * xd + 1 - twiceCx, 2 * y + 1 - twiceCy), y, x});
                else
                    px[x] = combine(look.Mode, pen, px[x]);
            }
        };
        if (!hasInside) {
            run(row.first, row.last, border, true);
            continue;
        }
        run(row.first, inFirst - 1, border, true);
        if (solid) run(inFirst, inLast, fill, false);
        run(inLast + 1, row.last, border, true);
    }
    std::sort(dots.begin(), dots.end());
    for (size_t i = 0; i < dots.size(); i += 2) {
        std::uint32_t& px = grid.row(dots[i].y)[dots[i].x];
        px = combine(look.Mode, border, px);
    }
}

void paintLine(PixelGrid grid, double x1, double y1, double x2, double y2, Colour32 colour) {
    rasterLine(grid, nearestPixel(x1), nearestPixel(y1), nearestPixel(x2), nearestPixel(y2),
               screenPixel(colour));
}

void paintLine(PixelGrid grid, double x1, double y1, double x2, double y2, Colour32 colour,
               int width) {
    const int r = std::max(0, (width - 1) / 2);
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            paintLine(grid, x1 + dx, y1 + dy, x2 + dx, y2 + dy, colour);
}

void composeBase(const Surface& surface, PixelSource background, PixelGrid out) {
    const int rows = std::min(out.height, background.height);
    const int cols = std::min(out.width, background.width);
    for (int y = 0; y < out.height; ++y) {
        std::uint32_t* dst = out.row(y);
        std::fill(dst, dst + out.width, screenPixel(Black));
        if (y < rows && cols > 0)
            std::memcpy(dst, background.pixels + y * background.stride,
                        static_cast<size_t>(cols) * sizeof(std::uint32_t));
    }
    const std::uint32_t* src = surface.pixels().data();
    for (int y = 0; y < std::min(out.height, Surface::H); ++y) {
        std::uint32_t* dst = out.row(y);
        for (int x = 0; x < Surface::W; ++x, ++src) {
            if (*src == Surface::Undrawn || x >= out.width) continue;
            dst[x] = screenPixel(*src);
        }
    }
}

} // namespace orvanta
