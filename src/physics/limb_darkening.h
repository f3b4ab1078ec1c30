// SPDX-License-Identifier: GPL-3.0-or-later
// Limb darkening: how much of a limb-darkened star's light an opaque disc in front hides.
#pragma once

#include <string>

namespace orvanta::physics {

/// A star's limb darkening, I(mu) / I(1) = 1 - u1 (1 - mu) - u2 (1 - mu)^2, with mu the
/// cosine of the angle between the line of sight and the star's surface normal (1 at the
/// centre of the disc, 0 at its limb). u2 = 0 is the linear law, u1 = u2 = 0 the uniform disc.
/// The law only redistributes the light over the disc: the star's unobscured power is the
/// same as the uniform disc's.
struct LimbDarkening {
    double u1 = 0; ///< linear coefficient
    double u2 = 0; ///< quadratic coefficient

    /// No darkening: the uniform disc, whose light is computed by the uniform formulas.
    [[nodiscard]] bool uniform() const { return u1 == 0 && u2 == 0; }
    friend bool operator==(const LimbDarkening&, const LimbDarkening&) = default;
};

/// Why the law cannot describe a star (a negative intensity somewhere on the disc, or a
/// coefficient that is not a finite number), or empty when it can.
[[nodiscard]] std::string limbDarkeningProblem(const LimbDarkening& law);

/// The fraction (0 to 1) of a limb-darkened star's unobscured power that an opaque disc
/// hides. The occulting disc has radius p and its centre lies d from the star's centre, both
/// in units of the star's radius (p >= 0, d >= 0). Every overlap is covered: none (d >= 1 + p),
/// partial, the occulter within the star's outline (a transit), and the star wholly hidden
/// (d <= p - 1). The error is below 1e-10 of the star's power. The law must have no problem.
[[nodiscard]] double hiddenFraction(const LimbDarkening& law, double p, double d);

} // namespace orvanta::physics
