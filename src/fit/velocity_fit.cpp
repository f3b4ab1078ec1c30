// SPDX-License-Identifier: GPL-3.0-or-later
// With the shape of both velocity curves fixed by the model's orbit, the velocities are linear
// in gamma, K_A and K_B at a given time of periastron: a scan over that time with the linear
// solution at each, refined by golden-section search, then the covariance of all four.
#include "fit/velocity_fit.h"

#include "core/projected_orbit.h"
#include "fit/figures.h"
#include "fit/fit_parameters.h"
#include "physics/constants.h"
#include "physics/kepler.h"
#include "physics/radial_velocity.h"

#include <Eigen/Dense>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace orvanta::fit {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
/// Times of periastron tried before the refinement, per period.
constexpr int ScanSteps = 360;

/// The eccentric anomaly of the mean anomaly M (0 <= M < 2 pi), by the model's own solution
/// of Kepler's equation, from a start near the root.
double eccentricAnomaly(double M, double e) {
    Num E = e > 0.8 ? std::numbers::pi : M + e * std::sin(M);
    int steps = 0;
    solveKepler(E, M, e, std::numbers::pi, steps);
    return E.value();
}

/// One measured velocity.
struct Point {
    double cycles; ///< time in periods
    double velocity;
    double weight;
    bool starA;
};

/// The model's velocity curve of star B divided by its amplitude, as a function of the phase
/// since periastron (star A's is its negative).
class Shape {
public:
    explicit Shape(physics::ProjectedOrbit orbit) : orbit_(orbit) {
        orbit_.massA = orbit_.massB = 1; // the shape does not depend on the masses
        amplitude_ = physics::amplitudes(orbit_).b;
    }
    [[nodiscard]] double at(double phase) const {
        const double M = TwoPi * (phase - std::floor(phase));
        return physics::lineOfSight(orbit_, eccentricAnomaly(M, orbit_.eccen)).b / amplitude_;
    }
    [[nodiscard]] double amplitude() const { return amplitude_; }

private:
    physics::ProjectedOrbit orbit_;
    double amplitude_ = 0;
};

/// The linear least squares of gamma, K_A and K_B at the periastron phase `phi0`.
struct Linear {
    std::array<double, 3> q{}; ///< gamma, K_A, K_B
    double chi2 = INFINITY;
};

Linear solveAt(const std::vector<Point>& points, const Shape& shape, double phi0) {
    Eigen::Matrix3d N = Eigen::Matrix3d::Zero();
    Eigen::Vector3d y = Eigen::Vector3d::Zero();
    std::vector<Eigen::Vector3d> rows;
    rows.reserve(points.size());
    for (const Point& p : points) {
        const double s = shape.at(p.cycles - phi0);
        const Eigen::Vector3d x(1, p.starA ? -s : 0, p.starA ? 0 : s);
        rows.push_back(x);
        N += p.weight * x * x.transpose();
        y += p.weight * p.velocity * x;
    }
    Linear r;
    const Eigen::LDLT<Eigen::Matrix3d> ldlt(N);
    if (ldlt.info() != Eigen::Success || !(std::fabs(N.determinant()) > 0)) return r;
    const Eigen::Vector3d q = ldlt.solve(y);
    r.q = {q(0), q(1), q(2)};
    r.chi2 = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double res = points[i].velocity - rows[i].dot(q);
        r.chi2 += points[i].weight * res * res;
    }
    return r;
}

/// The cost of a periastron phase: the chi-square, with amplitudes of the wrong sign (the
/// curve half a period off) ruled out.
double costAt(const std::vector<Point>& points, const Shape& shape, double phi0) {
    const Linear l = solveAt(points, shape, phi0);
    return l.q[1] > 0 && l.q[2] > 0 ? l.chi2 : INFINITY;
}

[[noreturn]] void refuse(const std::string& why) {
    throw FitError(why);
}

} // namespace

VelocityFit fitVelocities(const VelocitySet& set, const Parameters& model,
                          std::optional<double> periodDays) {
    VelocityFit fit;
    physics::ProjectedOrbit orbit;
    double modelPeriodDays = 0;
    try {
        Evaluator ev(model);
        ev.at(0);
        orbit = projectedOrbitOf(ev.state());
        modelPeriodDays = ev.period() * DaysPerYear;
    } catch (const RuntimeError& e) {
        refuse("the model cannot be evaluated (" + e.message + ")");
    }
    fit.eccentricity = orbit.eccen;
    fit.sinI = physics::sinInclination(orbit);
    if (!(fit.sinI > 1e-9) || !(orbit.meanMotion != 0))
        refuse("the model's orbit is seen face on: its stars do not move along the line of sight");
    const Shape shape(orbit);
    if (!std::isfinite(shape.amplitude()) || !(shape.amplitude() > 0))
        refuse("the model's velocities cannot be computed");

    fit.periodDays = periodDays ? *periodDays : set.period ? *set.period : modelPeriodDays;
    if (!(fit.periodDays > 0) || !std::isfinite(fit.periodDays))
        refuse("the period must be more than 0 days");
    const double P = fit.periodDays;

    // Weighted by the errors only where every velocity has one.
    fit.pointsA = set.countA();
    fit.pointsB = set.countB();
    bool allErrors = true;
    for (std::size_t i = 0; i < set.time.size(); ++i) {
        if (!std::isnan(set.rvA[i])) allErrors = allErrors && set.errorA[i] > 0;
        if (!std::isnan(set.rvB[i])) allErrors = allErrors && set.errorB[i] > 0;
    }
    fit.weighted = allErrors;
    std::vector<Point> points;
    for (std::size_t i = 0; i < set.time.size(); ++i) {
        const double cycles = set.phased ? set.time[i] : set.time[i] / P;
        for (const bool a : {true, false}) {
            const double v = a ? set.rvA[i] : set.rvB[i];
            if (std::isnan(v)) continue;
            const double e = a ? set.errorA[i] : set.errorB[i];
            points.push_back({cycles, v, allErrors ? 1 / (e * e) : 1.0, a});
        }
    }
    if (fit.pointsA == 0 || fit.pointsB == 0)
        refuse("the masses need the velocities of both stars (the file has " +
               std::to_string(fit.pointsA) + " of star A and " + std::to_string(fit.pointsB) +
               " of star B)");
    if (fit.pointsA < 2 || fit.pointsB < 2 || points.size() < 5)
        refuse("too few velocities: at least 2 of each star and 5 in all are needed");

    // The time of periastron: the best of a scan, then golden-section search about it.
    int best = -1;
    double bestCost = INFINITY;
    for (int k = 0; k < ScanSteps; ++k) {
        const double c = costAt(points, shape, static_cast<double>(k) / ScanSteps);
        if (c < bestCost) {
            bestCost = c;
            best = k;
        }
    }
    if (best < 0) refuse("the velocities cannot be fitted with the model's curves");
    double lo = (best - 1.0) / ScanSteps, hi = (best + 1.0) / ScanSteps;
    const double g = (std::sqrt(5.0) - 1) / 2;
    double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo);
    double f1 = costAt(points, shape, x1), f2 = costAt(points, shape, x2);
    for (int i = 0; i < 60 && hi - lo > 1e-12; ++i) {
        if (f1 <= f2) {
            hi = x2;
            x2 = x1;
            f2 = f1;
            x1 = hi - g * (hi - lo);
            f1 = costAt(points, shape, x1);
        } else {
            lo = x1;
            x1 = x2;
            f1 = f2;
            x2 = lo + g * (hi - lo);
            f2 = costAt(points, shape, x2);
        }
    }
    double phi0 = f1 <= f2 ? x1 : x2;
    if (!(std::min(f1, f2) <= bestCost)) phi0 = static_cast<double>(best) / ScanSteps;
    const Linear l = solveAt(points, shape, phi0);

    // The covariance of gamma, K_A, K_B and the periastron phase from the Jacobian there.
    const double h = 1e-6;
    Eigen::Matrix4d N = Eigen::Matrix4d::Zero();
    double sum2 = 0;
    for (const Point& p : points) {
        const double s = shape.at(p.cycles - phi0);
        const double ds = (shape.at(p.cycles - phi0 + h) - shape.at(p.cycles - phi0 - h)) / (2 * h);
        const double sign = p.starA ? -1 : 1, K = p.starA ? l.q[1] : l.q[2];
        const Eigen::Vector4d x(1, p.starA ? sign * s : 0, p.starA ? 0 : sign * s, -K * sign * ds);
        N += p.weight * x * x.transpose();
        const double res = p.velocity - (l.q[0] + K * sign * s);
        sum2 += res * res;
    }
    const double dof = static_cast<double>(points.size()) - 4;
    fit.chi2Reduced = l.chi2 / dof;
    fit.rms = std::sqrt(sum2 / static_cast<double>(points.size()));
    const Eigen::FullPivLU<Eigen::Matrix4d> lu(N);
    if (!lu.isInvertible()) refuse("the velocities cannot tell the amplitudes apart");
    const Eigen::Matrix4d C = lu.inverse() * fit.chi2Reduced;
    auto sd = [&](int i) { return std::sqrt(std::max(0.0, C(i, i))); };
    fit.gamma = {l.q[0], sd(0)};
    fit.kA = {l.q[1], sd(1)};
    fit.kB = {l.q[2], sd(2)};
    // A periastron passage near the first point, in the file's time.
    const double first = points.front().cycles;
    const double cycle = phi0 + std::round(first - phi0);
    fit.periastron = {set.phased ? cycle : cycle * P, set.phased ? sd(3) : sd(3) * P};

    const auto d = physics::fromAmplitudes(fit.kA.value, fit.kB.value, P, orbit.eccen, fit.sinI);
    physics::AmplitudeFit amp;
    amp.kA = fit.kA.value;
    amp.kB = fit.kB.value;
    amp.sigmaKA = fit.kA.error;
    amp.sigmaKB = fit.kB.error;
    amp.covKAKB = C(1, 2);
    const auto m = physics::massErrors(amp, P, orbit.eccen, fit.sinI);
    const double sin3 = fit.sinI * fit.sinI * fit.sinI;
    fit.massA = {d.massA, m.massA};
    fit.massB = {d.massB, m.massB};
    fit.massASin3i = {d.massASin3i, m.massA * sin3};
    fit.massBSin3i = {d.massBSin3i, m.massB * sin3};
    const double sumK = fit.kA.value + fit.kB.value;
    const double sigmaSum = std::sqrt(std::max(0.0, C(1, 1) + C(2, 2) + 2 * C(1, 2)));
    fit.aSinI = {d.aSinI, sumK > 0 ? d.aSinI / sumK * sigmaSum : 0};
    fit.a = {d.a, fit.sinI > 0 ? fit.aSinI.error / fit.sinI : 0};
    return fit;
}

std::string withError(const Estimate& e, std::string_view plusMinus) {
    if (!(e.error > 0) || !std::isfinite(e.error)) return digits(e.value, 4);
    return withError(e.value, e.error, plusMinus);
}

double inclinationDegrees(const VelocityFit& fit) {
    return std::asin(std::min(1.0, fit.sinI)) * 180 / std::numbers::pi;
}

std::string velocityFitText(const VelocityFit& f) {
    char buf[160];
    std::snprintf(buf, sizeof buf,
                  "fitted with the model's orbit (e = %.4g, i = %.2f deg), period %.8g d:\n",
                  f.eccentricity, inclinationDegrees(f), f.periodDays);
    std::string t = buf;
    auto line = [&](const char* name, const Estimate& e, const char* unit) {
        t += std::string(name) + " " + withError(e, "\u00B1") + unit + "\n";
    };
    line("K_A", f.kA, " km/s");
    line("K_B", f.kB, " km/s");
    line("gamma", f.gamma, " km/s");
    line("M_A sin\u00B3i", f.massASin3i, " M\u2609");
    line("M_B sin\u00B3i", f.massBSin3i, " M\u2609");
    line("a sin i", f.aSinI, " R\u2609");
    line("M_A", f.massA, " M\u2609");
    line("M_B", f.massB, " M\u2609");
    line("a", f.a, " R\u2609");
    std::snprintf(buf, sizeof buf, "rms %.3g km/s, reduced chi-square %.3g%s", f.rms, f.chi2Reduced,
                  f.weighted ? "" : " (no errors in the file: unweighted)");
    return t + buf;
}

namespace {

bool sameParameters(const Parameters& a, const Parameters& b) {
    return a.massA == b.massA && a.massB == b.massB && a.radiusA == b.radiusA &&
           a.radiusB == b.radiusB && a.fluxA == b.fluxA && a.fluxB == b.fluxB &&
           a.distance == b.distance && a.eccentricity == b.eccentricity &&
           a.incline1 == b.incline1 && a.incline2 == b.incline2 && a.incline3 == b.incline3 &&
           a.light == b.light;
}

} // namespace

void VelocityMasses::hold(std::shared_ptr<const VelocitySet> set) {
    set_ = std::move(set);
    fitted_.reset();
    fit_.reset();
    failure_.clear();
}

bool VelocityMasses::follow(const Parameters& model) {
    if (!set_ || (fitted_ && sameParameters(*fitted_, model))) return false;
    fitted_ = model;
    try {
        fit_ = fitVelocities(*set_, model);
        failure_.clear();
    } catch (const FitError& e) {
        fit_.reset();
        failure_ = e.what();
    }
    return true;
}

std::string VelocityMasses::caption() const {
    if (!set_) return {};
    if (fit_) return velocityCaption(*set_, *fit_);
    const std::size_t n = set_->countA() + set_->countB();
    return set_->name + ": " + std::to_string(n) + (n == 1 ? " velocity" : " velocities") +
           ", no masses" + (failure_.empty() ? std::string() : " (" + failure_ + ")");
}

std::string VelocityMasses::summary() const {
    if (!set_) return {};
    std::string s = describeVelocities(*set_) + "\n";
    if (fit_) return s + velocityFitText(*fit_);
    return s + "no masses: " + (failure_.empty() ? "the model has not been fitted" : failure_);
}

PhasedVelocities phasedVelocities(const VelocitySet& set, const VelocityFit& fit) {
    PhasedVelocities out;
    const std::size_t n = set.time.size();
    out.phase.resize(n);
    out.rvA.resize(n);
    out.rvB.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double cycles = set.phased ? set.time[i] - fit.periastron.value
                                         : (set.time[i] - fit.periastron.value) / fit.periodDays;
        const double f = cycles - std::floor(cycles);
        out.phase[i] = f < 1 ? f : 0;
        out.rvA[i] = set.rvA[i] - fit.gamma.value;
        out.rvB[i] = set.rvB[i] - fit.gamma.value;
    }
    out.errorA = set.errorA;
    out.errorB = set.errorB;
    return out;
}

std::string velocityCaption(const VelocitySet& set, const VelocityFit& fit) {
    const std::size_t n = set.countA() + set.countB();
    return set.name + ": " + std::to_string(n) + (n == 1 ? " velocity" : " velocities") + ", M_A " +
           withError(fit.massA, "\u00B1") + ", M_B " + withError(fit.massB, "\u00B1") + " M\u2609";
}

} // namespace orvanta::fit
