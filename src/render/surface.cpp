// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/surface.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace orvanta {

namespace {

// A coordinate maps to the pixel Int(x + 0.5).
double pixelOf(float v) {
    return nearestPixel(static_cast<double>(v));
}

constexpr double Box = LineBox;

// A signed whole number of up to 9 x 32 bits. Pixel coordinates come from single precision,
// so they stay below 2^128: their differences and the product of two differences fit. The
// clipping is exact in it, so every CPU and compiler draws the same pixels.
struct Wide {
    static constexpr int N = 9;
    std::array<std::uint32_t, N> mag{}; // little-endian
    bool neg = false;

    // v is a whole number, |v| < 2^288.
    explicit Wide(double v = 0) : neg(v < 0) {
        double a = std::fabs(v);
        for (int i = N - 1; i >= 0; --i) { // every step is exact: powers of two and whole numbers
            const double unit = std::ldexp(1.0, 32 * i);
            const double limb = std::floor(a / unit);
            mag[static_cast<size_t>(i)] = static_cast<std::uint32_t>(limb);
            a -= limb * unit;
        }
        if (isZero()) neg = false;
    }
    [[nodiscard]] bool isZero() const {
        return std::all_of(mag.begin(), mag.end(), [](std::uint32_t l) { return l == 0; });
    }
    [[nodiscard]] double toDouble() const { // exact below 2^53
        double v = 0;
        for (int i = N - 1; i >= 0; --i)
            v = v * 4294967296.0 + mag[static_cast<size_t>(i)];
        return neg ? -v : v;
    }
};

using Mag = std::array<std::uint32_t, Wide::N>;

int compareMag(const Mag& a, const Mag& b) {
    for (int i = Wide::N - 1; i >= 0; --i) {
        const auto k = static_cast<size_t>(i);
        if (a[k] != b[k]) return a[k] < b[k] ? -1 : 1;
    }
    return 0;
}

Mag addMag(const Mag& a, const Mag& b) {
    Mag r{};
    std::uint64_t carry = 0;
    for (size_t i = 0; i < r.size(); ++i) {
        const std::uint64_t t = std::uint64_t{a[i]} + b[i] + carry;
        r[i] = static_cast<std::uint32_t>(t);
        carry = t >> 32;
    }
    return r;
}

// a - b for a >= b.
Mag subMag(const Mag& a, const Mag& b) {
    Mag r{};
    std::uint64_t borrow = 0;
    for (size_t i = 0; i < r.size(); ++i) {
        const std::uint64_t t = std::uint64_t{a[i]} - b[i] - borrow;
        r[i] = static_cast<std::uint32_t>(t);
        borrow = (t >> 32) & 1;
    }
    return r;
}

Wide operator-(Wide a) {
    if (!a.isZero()) a.neg = !a.neg;
    return a;
}

Wide operator+(const Wide& a, const Wide& b) {
    Wide r;
    if (a.neg == b.neg) {
        r.mag = addMag(a.mag, b.mag);
        r.neg = a.neg;
    } else if (compareMag(a.mag, b.mag) >= 0) {
        r.mag = subMag(a.mag, b.mag);
        r.neg = a.neg;
    } else {
        r.mag = subMag(b.mag, a.mag);
        r.neg = b.neg;
    }
    if (r.isZero()) r.neg = false;
    return r;
}

Wide operator-(const Wide& a, const Wide& b) {
    return a + (-b);
}

Wide operator*(const Wide& a, const Wide& b) {
    Wide r;
    for (size_t i = 0; i < a.mag.size(); ++i) {
        std::uint64_t carry = 0;
        for (size_t j = 0; i + j < r.mag.size(); ++j) {
            const std::uint64_t t = std::uint64_t{a.mag[i]} * b.mag[j] + r.mag[i + j] + carry;
            r.mag[i + j] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
    }
    r.neg = a.neg != b.neg && !r.isZero();
    return r;
}

bool operator<(const Wide& a, const Wide& b) {
    if (a.neg != b.neg) return a.neg;
    const int c = compareMag(a.mag, b.mag);
    return a.neg ? c > 0 : c < 0;
}

// A point's coordinate on the exact line: whole + rem / den with 0 <= rem < den.
struct Exact {
    Wide whole;
    int half = 0; // where rem / den lies: 0 none, 1 below a half, 2 a half, 3 above a half

    [[nodiscard]] bool outside() const {
        return whole < Wide(-Box) || Wide(Box) < whole || (!(whole < Wide(Box)) && half != 0);
    }
    // The nearest whole number, halves away from zero.
    [[nodiscard]] double rounded() const {
        const bool up = half == 3 || (half == 2 && !whole.neg);
        return (up ? whole + Wide(1) : whole).toDouble();
    }
};

// The coordinate v of the line through (au, av) and (bu, bv) where u equals `edge`:
// av + (edge - au) (bv - av) / (bu - au), for bu != au.
Exact crossing(double au, double av, double bu, double bv, double edge) {
    Wide num = (Wide(edge) - Wide(au)) * (Wide(bv) - Wide(av));
    Wide den = Wide(bu) - Wide(au);
    if (den.neg) {
        num = -num;
        den = -den;
    }
    // |num| = q den + r by long division, one bit at a time.
    Mag q{}, r{};
    int top = Wide::N - 1;
    while (top > 0 && num.mag[static_cast<size_t>(top)] == 0)
        --top;
    for (int bit = 32 * top + 31; bit >= 0; --bit) {
        r = addMag(r, r);
        r[0] |= (num.mag[static_cast<size_t>(bit / 32)] >> (bit % 32)) & 1u;
        if (compareMag(r, den.mag) >= 0) {
            r = subMag(r, den.mag);
            q[static_cast<size_t>(bit / 32)] |= 1u << (bit % 32);
        }
    }
    Wide quotient;
    quotient.mag = q;
    const bool exact = std::all_of(r.begin(), r.end(), [](std::uint32_t l) { return l == 0; });
    if (num.neg) { // floor of a negative quotient
        quotient = -quotient;
        if (!exact) {
            quotient = quotient - Wide(1);
            r = subMag(den.mag, r);
        }
    }
    Exact v;
    v.whole = Wide(av) + quotient;
    const int c = compareMag(addMag(r, r), den.mag);
    v.half = exact ? 0 : c < 0 ? 1 : c == 0 ? 2 : 3;
    return v;
}

Exact exactly(double v) {
    Exact e;
    e.whole = Wide(v);
    return e;
}

bool outside(double v) {
    return v < -Box || v > Box;
}

// Moves the end (ax, ay) of the segment to (bx, by) along the segment onto the box, first
// across the vertical edge, then, if still outside, across the horizontal one; then rounds it.
// False when the result still lies outside.
bool clipEnd(double& ax, double& ay, double bx, double by) {
    Exact x = exactly(ax), y = exactly(ay);
    if (outside(ax)) {
        const double edge = ax < 0 ? -Box : Box;
        y = crossing(ax, ay, bx, by, edge);
        x = exactly(edge);
    }
    if (y.outside()) {
        const double edge = y.whole.neg ? -Box : Box;
        x = crossing(ay, ax, by, bx, edge);
        y = exactly(edge);
    }
    if (x.outside() || y.outside()) return false;
    ax = x.rounded();
    ay = y.rounded();
    return true;
}

} // namespace

bool clipToBox(double& x0, double& y0, double& x1, double& y1) {
    if ((x0 < -Box && x1 < -Box) || (x0 > Box && x1 > Box) || (y0 < -Box && y1 < -Box) ||
        (y0 > Box && y1 > Box))
        return false;
    double ax = x0, ay = y0, bx = x1, by = y1;
    if (!clipEnd(ax, ay, x1, y1) || !clipEnd(bx, by, x0, y0)) return false;
    x0 = ax;
    y0 = ay;
    x1 = bx;
    y1 = by;
    return true;
}

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
    const int r = std::max(0, (PenWidth - 1) / 2);
    if (px >= -r && py >= -r && px < W + r && py < H + r)
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx)
                plot(static_cast<long long>(px) + dx, static_cast<long long>(py) + dy,
                     static_cast<std::uint32_t>(colour) & 0xFFFFFFu);
    currentX_ = x;
    currentY_ = y;
    ++revision_;
}

void Surface::Line(float x, float y, long colour) {
    const double x0 = pixelOf(currentX_), y0 = pixelOf(currentY_);
    const double x1 = pixelOf(x), y1 = pixelOf(y);
    currentX_ = x;
    currentY_ = y;
    ++revision_;
    const int r = std::max(0, (PenWidth - 1) / 2);
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            rasterLine(grid(), x0 + dx, y0 + dy, x1 + dx, y1 + dy,
                       static_cast<std::uint32_t>(colour) & 0xFFFFFFu);
}

void rasterLine(PixelGrid grid, double x0, double y0, double x1, double y1, std::uint32_t c) {
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return;
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
    const long long limit = xMajor ? grid.width : grid.height;
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
            grid.set(major, minor, c);
        else
            grid.set(minor, major, c);
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
