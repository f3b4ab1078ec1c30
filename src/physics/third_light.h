// SPDX-License-Identifier: GPL-3.0-or-later
// Third light: a constant light from a third star (or any unresolved neighbour) in the same
// image as the binary, which makes every eclipse shallower.
#pragma once

#include <cmath>
#include <string>

namespace orvanta::physics {

/// Why f cannot be a fraction of third light (0 <= f < 1), or empty when it can.
[[nodiscard]] inline std::string thirdLightProblem(double f) {
    if (!(f >= 0 && f < 1)) return "the third light must be a fraction from 0 up to (not) 1";
    return {};
}

/// The constant power of third light that is the fraction f of the whole light outside the
/// eclipses, where the two stars give `binaryPower`: f / (1 - f) of it. Zero for f = 0.
[[nodiscard]] inline double thirdLightPower(double binaryPower, double f) {
    if (f == 0) return 0;
    return binaryPower * (f / (1 - f));
}

} // namespace orvanta::physics
