// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orvanta {

namespace {

// A coordinate maps to the pixel Int(x + 0.5).
double pixelOf(float v) {
    return std::floor(static_cast<double>(v) + 0.5);
}

// Segments whose ends lie beyond this box are first clipped to it in double precision;
// inside it the Bresenham arithmetic is exact in 64-bit integers.
constexpr double Box = 1 << 20;

// Moves the end (ax, ay) of the segment to (bx, by) onto the box, along the segment.
void clipEnd(long double& ax, long double& ay, long double bx, long double by) {
    if (ax < -Box || ax > Box) {
        const long double edge = ax < 0 ? -Box : Box;
        ay += (edge - ax) * ((by - ay) / (bx - ax));
        ax = edge;
    }
    if (ay < -Box || ay > Box) {
        const long double edge = ay < 0 ? -Box : Box;
        ax += (edge - ay) * ((bx - ax) / (by - ay));
        ay = edge;
    }
}

bool outside(long double v) {
    return v < -Box || v > Box;
}

bool clipToBox(double& x0, double& y0, double& x1, double& y1) {
    if ((x0 < -Box && x1 < -Box) || (x0 > Box && x1 > Box) || (y0 < -Box && y1 < -Box) ||
        (y0 > Box && y1 > Box))
        return false;
    long double ax = x0, ay = y0, bx = x1, by = y1;
    clipEnd(ax, ay, x1, y1);
    clipEnd(bx, by, x0, y0);
    if (outside(ax) || outside(ay) || outside(bx) || outside(by)) return false;
    x0 = static_cast<double>(std::round(ax));
    y0 = static_cast<double>(std::round(ay));
    x1 = static_cast<double>(std::round(bx));
    y1 = static_cast<double>(std::round(by));
    return true;
}

} // namespace

Surface::Surface() : pixels_(static_cast<size_t>(W) * H, Undrawn) {}

void Surface::plot(long long x, long long y, std::uint32_t colour) {
    if (x < 0 || y < 0 || x >= W || y >= H) return;
    pixels_[static_cast<size_t>(y) * W + static_cast<size_t>(x)] = colour;
}

void Surface::Cls() {
    std::fill(pixels_.begin(), pixels_.end(), Undrawn);
    currentX_ = 0;
    currentY_ = 0;
    ++revision_;
}

void Surface::PSet(float x, float y, long colour) {
    const double px = pixelOf(x), py = pixelOf(y);
    if (px >= 0 && py >= 0 && px < W && py < H)
        plot(static_cast<long long>(px), static_cast<long long>(py),
             static_cast<std::uint32_t>(colour) & 0xFFFFFFu);
    currentX_ = x;
    currentY_ = y;
    ++revision_;
}

void Surface::Line(float x, float y, long colour) {
    double x0 = pixelOf(currentX_), y0 = pixelOf(currentY_);
    double x1 = pixelOf(x), y1 = pixelOf(y);
    currentX_ = x;
    currentY_ = y;
    ++revision_;
    const auto c = static_cast<std::uint32_t>(colour) & 0xFFFFFFu;
    if (std::max({std::fabs(x0), std::fabs(y0), std::fabs(x1), std::fabs(y1)}) > Box &&
        !clipToBox(x0, y0, x1, y1))
        return;
    const auto ax = static_cast<long long>(x0), ay = static_cast<long long>(y0);
    const auto bx = static_cast<long long>(x1), by = static_cast<long long>(y1);
    const long long dx = std::llabs(bx - ax), dy = std::llabs(by - ay);
    const long long sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    // Step along the major axis only where it crosses the raster; the minor coordinate of
    // step i is the Bresenham one, minor0 + floor((2 i d_minor + n) / 2n).
    const bool xMajor = dx >= dy;
    const long long n = xMajor ? dx : dy;
    const long long m = xMajor ? dy : dx;
    const long long major0 = xMajor ? ax : ay, minor0 = xMajor ? ay : ax;
    const long long smaj = xMajor ? sx : sy, smin = xMajor ? sy : sx;
    const long long limit = xMajor ? W : H;
    long long iFirst = 0, iLast = n;
    if (smaj > 0) {
        iFirst = std::max(iFirst, -major0);
        iLast = std::min(iLast, limit - 1 - major0);
    } else {
        iFirst = std::max(iFirst, major0 - (limit - 1));
        iLast = std::min(iLast, major0);
    }
    for (long long i = iFirst; i <= iLast; ++i) {
        const long long minor = n == 0 ? minor0 : minor0 + smin * ((2 * i * m + n) / (2 * n));
        const long long major = major0 + smaj * i;
        if (xMajor)
            plot(major, minor, c);
        else
            plot(minor, major, c);
    }
}

void Surface::Circle(float x, float y, float radius, long colour) {
    const double cx = pixelOf(x), cy = pixelOf(y);
    currentX_ = x;
    currentY_ = y;
    ++revision_;
    const auto c = static_cast<std::uint32_t>(colour) & 0xFFFFFFu;
    if (std::fabs(cx) > Box || std::fabs(cy) > Box) return;
    const auto px = static_cast<long long>(cx), py = static_cast<long long>(cy);
    const double r = std::round(std::fabs(static_cast<double>(radius)));
    if (r <= 1) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (dx != 0 || dy != 0) plot(px + dx, py + dy, c);
        return;
    }
    if (r > Box) return;
    // Midpoint circle.
    long long ox = static_cast<long long>(r), oy = 0, d = 1 - ox;
    while (ox >= oy) {
        const long long pts[8][2] = {{ox, oy},   {oy, ox},   {-oy, ox}, {-ox, oy},
                                     {-ox, -oy}, {-oy, -ox}, {oy, -ox}, {ox, -oy}};
        for (const auto& p : pts)
            plot(px + p[0], py + p[1], c);
        ++oy;
        if (d < 0)
            d += 2 * oy + 1;
        else {
            --ox;
            d += 2 * (oy - ox) + 1;
        }
    }
}

} // namespace orvanta
