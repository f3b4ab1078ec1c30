// SPDX-License-Identifier: GPL-3.0-or-later
// An integration over a limb-darkened disc, independent of the one the model uses: the light
// an opaque disc hides, by rings about the star's centre.
#pragma once

#include "physics/limb_darkening.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace orvanta::physics {

inline constexpr double kPi = std::numbers::pi;

inline double intensity(const LimbDarkening& l, double r) {
    const double x = 1 - std::sqrt(std::max(0.0, 1 - r * r));
    return 1 - l.u1 * x - l.u2 * x * x;
}

/// Half the angle of the circle of radius r about the star's centre that lies inside the
/// occulter (radius p, centre at distance d).
inline double insideHalfAngle(double r, double p, double d) {
    if (r + d <= p) return kPi;
    if (r >= d + p || r <= d - p) return 0;
    return std::acos(std::clamp((r * r + d * d - p * p) / (2 * r * d), -1.0, 1.0));
}

/// The double-exponential (tanh-sinh) rule on [a, b]: exact to rounding for functions that are
/// analytic inside the interval, whatever square-root behaviour they have at its ends.
template <class F> inline double tanhSinh(F f, double a, double b) {
    if (b <= a) return 0;
    const double h = 1.0 / 128, c = (a + b) / 2, m = (b - a) / 2;
    double sum = 0;
    for (int k = -512; k <= 512; ++k) {
        const double t = k * h;
        const double u = kPi / 2 * std::sinh(t);
        const double x = std::tanh(u);
        const double w = kPi / 2 * std::cosh(t) / (std::cosh(u) * std::cosh(u));
        const double y = m * x;
        if (c + y <= a || c + y >= b) continue;
        sum += w * f(c + y);
    }
    return m * h * sum;
}

/// The hidden fraction as the integral over the star's disc in polar coordinates, the angle
/// done exactly and the radius r = sin(alpha) numerically, piece by piece between the radii
/// where the occulter's edge meets the circles about the star's centre.
inline double bruteForce(const LimbDarkening& l, double p, double d) {
    std::vector<double> cuts{0, 1};
    for (double r : {std::fabs(d - p), d + p})
        if (r > 0 && r < 1) cuts.push_back(r);
    std::sort(cuts.begin(), cuts.end());
    double hidden = 0;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        hidden += tanhSinh(
            [&](double alpha) {
                const double r = std::sin(alpha);
                return intensity(l, r) * 2 * insideHalfAngle(r, p, d) * r * std::cos(alpha);
            },
            std::asin(cuts[i]), std::asin(cuts[i + 1]));
    }
    return hidden / (kPi * (1 - l.u1 / 3 - l.u2 / 6));
}

} // namespace orvanta::physics
