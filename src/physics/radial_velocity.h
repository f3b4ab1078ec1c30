// SPDX-License-Identifier: GPL-3.0-or-later
// Radial velocities: how fast each star moves along the line of sight, and the masses that
// two velocity amplitudes, the period and the inclination give.
#pragma once

#include <span>

namespace orvanta::physics {

/// The orbit as the model turns it into the observer's view, in the model's units. The depth
/// of a star (its distance behind the plane of the sky through the centre of mass, growing away
/// from the observer) is depthX X + depthY Y for its position (X, Y) in the orbital plane, X
/// towards periastron.
struct ProjectedOrbit {
    double meanDistance = 0; ///< semi-major axis of the relative orbit, solar radii
    double eccen = 0;        ///< eccentricity, -1 < e < 1
    double meanMotion = 0;   ///< radians per year
    double massA = 0;        ///< solar masses
    double massB = 0;        ///< solar masses
    double depthX = 0;       ///< the depth of a unit step along X
    double depthY = 0;       ///< the depth of a unit step along Y
};

/// A velocity for each star, km/s.
struct StarVelocities {
    double a = 0;
    double b = 0;
};

/// Kilometres per second in one solar radius per year, with the model's solar radius and year.
inline constexpr double kKmPerSecondPerSunRadPerYear = 695990.0 / (365.2425 * 86400.0);

/// The line-of-sight velocities of both stars, km/s, positive away from the observer: the rate
/// of change of each star's depth, at the eccentric anomaly `eccAnomaly` (radians) that solves
/// Kepler's equation at that instant. Add the systemic velocity for what a spectrum shows.
[[nodiscard]] StarVelocities lineOfSight(const ProjectedOrbit& orbit, double eccAnomaly);

/// The sine of the inclination, the angle between the orbit's normal and the line of sight
/// (1 seen edge-on, 0 face-on).
[[nodiscard]] double sinInclination(const ProjectedOrbit& orbit);

/// The velocity amplitudes K_A and K_B, km/s: half the range of each star's velocity,
/// 2 pi a_star sin i / (P sqrt(1 - e^2)).
[[nodiscard]] StarVelocities amplitudes(const ProjectedOrbit& orbit);

/// What a student computes from two velocity amplitudes, the period and the eccentricity (and,
/// for the masses themselves, the inclination from the light curve).
struct BinaryFromVelocities {
    double massASin3i = 0; ///< M_A sin^3 i, solar masses
    double massBSin3i = 0; ///< M_B sin^3 i, solar masses
    double aSinI = 0;      ///< a sin i of the relative orbit, solar radii
    double massA = 0;      ///< solar masses (0 when sin i is 0)
    double massB = 0;      ///< solar masses
    double a = 0;          ///< semi-major axis of the relative orbit, solar radii
};

/// The masses and the separation from K_A and K_B (km/s), the period (days), the eccentricity
/// and sin i, by the textbook formulae (for example B. W. Carroll and D. A. Ostlie, An
/// Introduction to Modern Astrophysics, 2nd ed., section 7.3; R. W. Hilditch, An Introduction
/// to Close Binary Stars, 2001, section 2.3):
///   a sin i       = (P / 2 pi) sqrt(1 - e^2) (K_A + K_B)
///   M_A sin^3 i   = (P / 2 pi G) (1 - e^2)^(3/2) (K_A + K_B)^2 K_B, and M_B with K_A.
/// G times the Sun's mass is the one in the model's law of periods (P in years, a in
/// astronomical units, masses in solar masses: 4 pi^2 AU^3 per year squared), so the masses of
/// a model are recovered from its own velocities.
[[nodiscard]] BinaryFromVelocities fromAmplitudes(double kA, double kB, double periodDays,
                                                  double eccen, double sinI);

/// One measured velocity for the fit of the amplitudes: the star it belongs to, the velocity
/// and its error (km/s; 0 or less when unknown), and the model's velocity of that star at the
/// instant divided by the model's amplitude of that star (the shape of the curve, -1 to 1
/// about the systemic velocity for a circular orbit).
struct VelocityPoint {
    bool starA = true;
    double velocity = 0;
    double error = 0;
    double shape = 0;
};

/// The systemic velocity and the two amplitudes that fit measured velocities best (least
/// squares, weighted by the errors), with their standard errors. Without errors on every
/// point, the scatter about the fit stands in for them.
struct AmplitudeFit {
    bool ok = false; ///< at least one point of each star, four in all, and a solvable fit
    double gamma = 0, kA = 0, kB = 0;
    double sigmaGamma = 0, sigmaKA = 0, sigmaKB = 0;
    double covKAKB = 0; ///< covariance of K_A and K_B, (km/s)^2
    double chiSquare = 0;
    int points = 0;
};

[[nodiscard]] AmplitudeFit fitAmplitudes(std::span<const VelocityPoint> points);

/// The standard errors of M_A and M_B from those of the fit, by first-order propagation
/// through the formulae of `fromAmplitudes` (the period, eccentricity and inclination taken as
/// exact).
struct MassErrors {
    double massA = 0; ///< solar masses
    double massB = 0; ///< solar masses
};
[[nodiscard]] MassErrors massErrors(const AmplitudeFit& fit, double periodDays, double eccen,
                                    double sinI);

} // namespace orvanta::physics
