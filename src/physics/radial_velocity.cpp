// SPDX-License-Identifier: GPL-3.0-or-later
#include "physics/radial_velocity.h"

#include <array>
#include <cmath>
#include <numbers>

namespace orvanta::physics {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kSunRadMetres = 695990000;
constexpr double kAstroUnitMetres = 149597900000;
constexpr double kSecondsPerYear = 365.2425 * 86400;
/// G times the Sun's mass in the model's law of periods, P^2 = a^3 / M in years, astronomical
/// units and solar masses: 4 pi^2 AU^3 / yr^2, m^3/s^2.
const double kGMSun =
    4 * kPi * kPi * std::pow(kAstroUnitMetres, 3) / (kSecondsPerYear * kSecondsPerYear);

} // namespace

StarVelocities lineOfSight(const ProjectedOrbit& o, double E) {
    // The relative orbit: X = a (cos E - e), Y = a sqrt(1 - e^2) sin E, dE/dt = n / (1 - e cos E).
    const double s = std::sin(E), c = std::cos(E);
    const double rate = o.meanMotion / (1 - o.eccen * c);
    const double vx = -o.meanDistance * s * rate;
    const double vy = o.meanDistance * std::sqrt(1 - o.eccen * o.eccen) * c * rate;
    const double relative = (o.depthX * vx + o.depthY * vy) * kKmPerSecondPerSunRadPerYear;
    // Each star's share of the relative motion, as its position's.
    return {-relative / (1 + o.massA / o.massB), relative / (1 + o.massB / o.massA)};
}

double sinInclination(const ProjectedOrbit& o) {
    return std::hypot(o.depthX, o.depthY);
}

StarVelocities amplitudes(const ProjectedOrbit& o) {
    const double k = std::fabs(o.meanMotion * o.meanDistance) * sinInclination(o) /
                     std::sqrt(1 - o.eccen * o.eccen) * kKmPerSecondPerSunRadPerYear;
    return {k / std::fabs(1 + o.massA / o.massB), k / std::fabs(1 + o.massB / o.massA)};
}

BinaryFromVelocities fromAmplitudes(double kA, double kB, double periodDays, double eccen,
                                    double sinI) {
    const double P = periodDays * 86400;
    const double sum = (kA + kB) * 1000; // m/s
    const double root = std::sqrt(1 - eccen * eccen);
    BinaryFromVelocities r;
    r.aSinI = P / (2 * kPi) * root * sum / kSunRadMetres;
    const double massUnit = P / (2 * kPi * kGMSun) * root * root * root * sum * sum;
    r.massASin3i = massUnit * kB * 1000;
    r.massBSin3i = massUnit * kA * 1000;
    if (sinI > 0) {
        const double sin3 = sinI * sinI * sinI;
        r.massA = r.massASin3i / sin3;
        r.massB = r.massBSin3i / sin3;
        r.a = r.aSinI / sinI;
    }
    return r;
}

AmplitudeFit fitAmplitudes(std::span<const VelocityPoint> points) {
    AmplitudeFit fit;
    fit.points = static_cast<int>(points.size());
    bool allErrors = true;
    int nA = 0, nB = 0;
    for (const auto& p : points) {
        allErrors = allErrors && p.error > 0;
        (p.starA ? nA : nB) += 1;
    }
    if (nA == 0 || nB == 0 || fit.points < 4) return fit;
    // Normal equations of v = gamma + K_A shape (star A) or gamma + K_B shape (star B).
    std::array<std::array<double, 3>, 3> N{};
    std::array<double, 3> y{};
    auto row = [](const VelocityPoint& p) {
        return std::array<double, 3>{1, p.starA ? p.shape : 0, p.starA ? 0 : p.shape};
    };
    for (const auto& p : points) {
        const double w = allErrors ? 1 / (p.error * p.error) : 1;
        const auto x = row(p);
        for (int i = 0; i < 3; ++i) {
            y[i] += w * x[i] * p.velocity;
            for (int j = 0; j < 3; ++j)
                N[i][j] += w * x[i] * x[j];
        }
    }
    // The inverse by cofactors: the covariance of the parameters (up to the scale below).
    const auto& m = N;
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (!(std::fabs(det) > 0) || !std::isfinite(det)) return fit;
    std::array<std::array<double, 3>, 3> C{};
    C[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
    C[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
    C[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
    C[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    C[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    C[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    C[1][0] = C[0][1];
    C[2][0] = C[0][2];
    C[2][1] = C[1][2];
    std::array<double, 3> q{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            q[i] += C[i][j] * y[j];
    fit.gamma = q[0];
    fit.kA = q[1];
    fit.kB = q[2];
    for (const auto& p : points) {
        const auto x = row(p);
        const double residual = p.velocity - (q[0] * x[0] + q[1] * x[1] + q[2] * x[2]);
        const double w = allErrors ? 1 / (p.error * p.error) : 1;
        fit.chiSquare += w * residual * residual;
    }
    // Without errors, the variance of one point is estimated from the scatter.
    const double scale = allErrors ? 1 : fit.chiSquare / (fit.points - 3);
    fit.sigmaGamma = std::sqrt(C[0][0] * scale);
    fit.sigmaKA = std::sqrt(C[1][1] * scale);
    fit.sigmaKB = std::sqrt(C[2][2] * scale);
    fit.covKAKB = C[1][2] * scale;
    fit.ok = true;
    return fit;
}

MassErrors massErrors(const AmplitudeFit& fit, double periodDays, double eccen, double sinI) {
    // M_A = c (K_A + K_B)^2 K_B and M_B = c (K_A + K_B)^2 K_A, c from a unit amplitude sum.
    const auto unit = fromAmplitudes(1, 0, periodDays, eccen, sinI);
    const double c = unit.massB; // c (1 + 0)^2 * 1
    const double s = fit.kA + fit.kB;
    // Gradients with respect to (K_A, K_B).
    const double aA = c * 2 * s * fit.kB, aB = c * (2 * s * fit.kB + s * s);
    const double bA = c * (2 * s * fit.kA + s * s), bB = c * 2 * s * fit.kA;
    auto spread = [&](double gA, double gB) {
        return std::sqrt(gA * gA * fit.sigmaKA * fit.sigmaKA + gB * gB * fit.sigmaKB * fit.sigmaKB +
                         2 * gA * gB * fit.covKAKB);
    };
    return {spread(aA, aB), spread(bA, bB)};
}

} // namespace orvanta::physics
