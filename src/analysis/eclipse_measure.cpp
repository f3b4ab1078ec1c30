// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/eclipse_measure.h"

#include "core/projected_orbit.h"
#include "physics/constants.h"
#include "physics/orbit.h"

#include <cmath>
#include <numbers>

namespace orvanta::analysis {

namespace {

/// Light below this is dimmed by an eclipse.
constexpr double FullLevel = 1 - 1e-9;
/// Light within this of an eclipse's faintest is its flat bottom.
constexpr double FlatTolerance = 1e-9;
constexpr double Step = 1.0 / SweepSteps;

double wrapped(double phase) {
    return phase - std::floor(phase);
}

/// The separation of the centres in units of the orbit's radius, `duration` in phase
/// from one contact to its partner about mid-eclipse.
double separationFor(double duration, double cosI) {
    const double half = std::numbers::pi * duration;
    const double s = std::sin(half);
    const double c = std::cos(half);
    return std::sqrt(s * s + cosI * cosI * c * c);
}

/// The faintest light on the samples from `from` to `from + span` in phase.
double faintestBetween(const LightCurve& curve, double from, double span) {
    double faintest = 1;
    for (std::size_t k = 0; k < curve.phase.size(); ++k)
        if (phaseSpan(from, curve.phase[k]) <= span && curve.flux[k] < faintest)
            faintest = curve.flux[k];
    return faintest;
}

EclipseReading read(const Contacts& c, const LightCurve& curve) {
    EclipseReading r;
    r.duration = phaseSpan(c.first, c.last);
    r.durationDays = r.duration * curve.periodDays;
    r.depth = 1 - faintestBetween(curve, c.first, r.duration);
    if (c.second && c.third) {
        const double inner = phaseSpan(*c.second, *c.third);
        if (inner < r.duration) {
            r.innerDuration = inner;
            r.innerDurationDays = inner * curve.periodDays;
        }
    }
    return r;
}

} // namespace

double phaseSpan(double from, double to) {
    return wrapped(to - from);
}

LightCurve lightCurveOf(const Parameters& p) {
    Evaluator ev(p);
    LightCurve curve;
    const double period = ev.period();
    const double full = ev.fullPower();
    curve.periodDays = period * DaysPerYear;
    for (const CurveSample& s : ev.sweep()) {
        const double phase = s.time / period;
        if (phase >= 1 - 1e-9) break; // the last sample repeats the first, a period on
        curve.phase.push_back(phase);
        curve.flux.push_back(s.power / full);
    }
    return curve;
}

ModelContacts contactsOf(const LightCurve& curve) {
    const std::size_t n = curve.flux.size();
    ModelContacts found;
    if (n < 3) return found;
    // Start at a sample in full light, so that no eclipse is cut in two.
    std::size_t origin = n;
    for (std::size_t k = 0; k < n; ++k)
        if (curve.flux[k] >= FullLevel) {
            origin = k;
            break;
        }
    if (origin == n) return found; // never in full light: no contacts to see
    struct Run {
        std::size_t start, end; ///< samples, counted from origin (end inclusive)
        double faintest;
    };
    std::vector<Run> runs;
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t k = (origin + j) % n;
        if (curve.flux[k] >= FullLevel) continue;
        if (runs.empty() || runs.back().end + 1 != j)
            runs.push_back({j, j, curve.flux[k]});
        else
            runs.back().end = j;
        if (curve.flux[k] < runs.back().faintest) runs.back().faintest = curve.flux[k];
    }
    auto at = [&](std::size_t j) { return curve.phase[(origin + j) % n]; };
    auto contacts = [&](const Run& r) {
        Contacts c;
        c.first = wrapped(at(r.start) - Step / 2);
        c.last = wrapped(at(r.end) + Step / 2);
        std::size_t flatStart = r.end + 1, flatEnd = r.start;
        for (std::size_t j = r.start; j <= r.end; ++j)
            if (curve.flux[(origin + j) % n] <= r.faintest + FlatTolerance) {
                if (flatStart > r.end) flatStart = j;
                flatEnd = j;
            }
        if (flatStart <= r.end && flatEnd >= flatStart + 2) { // a flat bottom of 3 samples
            c.second = wrapped(at(flatStart) - Step / 2);
            c.third = wrapped(at(flatEnd) + Step / 2);
        }
        return c;
    };
    const Run* deepest = nullptr;
    const Run* next = nullptr;
    for (const Run& r : runs) {
        if (deepest == nullptr || r.faintest < deepest->faintest) {
            next = deepest;
            deepest = &r;
        } else if (next == nullptr || r.faintest < next->faintest) {
            next = &r;
        }
    }
    if (deepest != nullptr) found.primary = contacts(*deepest);
    if (next != nullptr) found.secondary = contacts(*next);
    return found;
}

Measurement measure(const Cursors& cursors, const LightCurve& curve, double inclinationDeg) {
    Measurement m;
    m.primary = read(cursors.primary, curve);
    m.secondary = read(cursors.secondary, curve);
    const double cosI = std::cos(inclinationDeg * std::numbers::pi / 180);
    m.sumOfRadii = separationFor(m.primary.duration, cosI);
    if (m.primary.innerDuration)
        m.differenceOfRadii = separationFor(*m.primary.innerDuration, cosI);
    else if (m.secondary.innerDuration)
        m.differenceOfRadii = separationFor(*m.secondary.innerDuration, cosI);
    if (m.secondary.depth > 0) m.surfaceFluxRatio = m.primary.depth / m.secondary.depth;
    return m;
}

ModelFigures modelFigures(const Parameters& p) {
    ModelFigures m;
    m.sumOfRadii = (p.radiusA + p.radiusB) / p.distance;
    m.differenceOfRadii = std::fabs(p.radiusA - p.radiusB) / p.distance;
    Evaluator ev(p);
    double faintest = 0;
    Eclipse behindFaintest = Eclipse::None;
    bool first = true;
    for (const CurveSample& s : ev.sweep())
        if (first || s.power < faintest) {
            first = false;
            faintest = s.power;
            behindFaintest = s.eclipse;
        }
    if (behindFaintest == Eclipse::AInFront) m.surfaceFluxRatio = p.fluxB / p.fluxA;
    if (behindFaintest == Eclipse::BInFront) m.surfaceFluxRatio = p.fluxA / p.fluxB;
    const double sinI = physics::sinInclination(projectedOrbitOf(ev.state()));
    m.inclinationDeg = std::asin(std::fmin(1.0, std::fabs(sinI))) * 180 / std::numbers::pi;
    return m;
}

} // namespace orvanta::analysis
