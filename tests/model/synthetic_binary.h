// SPDX-License-Identifier: GPL-3.0-or-later
// Eclipsing binaries observed by the model on a seeded schedule, with gaps, noise and a
// few outliers: the light curves the period search is checked against.
#pragma once

#include "form1.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace orvanta::testing {

/// A system as typed into the window's boxes (masses and radii solar, flux W/m^2, mean
/// distance solar radii, angles degrees).
struct BinaryInputs {
    const char* name;
    const char *massA, *massB, *radiusA, *radiusB, *fluxA, *fluxB, *distance, *eccentricity;
    const char *incline1, *incline2, *incline3;
};

/// One period of the model's light, tabulated in phase from periastron.
struct ModelCurve {
    double periodDays = 0;
    double primaryPhase = 0; ///< of the faintest light (the middle of a flat bottom)
    std::vector<double> magnitude;

    [[nodiscard]] double at(double phase) const {
        const auto n = static_cast<double>(magnitude.size());
        const double u = (phase - std::floor(phase)) * n;
        const auto a = static_cast<std::size_t>(u) % magnitude.size();
        const double w = u - std::floor(u);
        return magnitude[a] * (1 - w) + magnitude[(a + 1) % magnitude.size()] * w;
    }
};

inline ModelCurve modelCurve(const BinaryInputs& in, int samples = 6000) {
    Form1 f;
    f.Form_Load();
    f.Text7.Text = in.massA;
    f.Text8.Text = in.massB;
    f.Text9.Text = in.radiusA;
    f.Text10.Text = in.radiusB;
    f.Text11.Text = in.fluxA;
    f.Text12.Text = in.fluxB;
    f.Text1.Text = in.distance;
    f.Text3.Text = in.eccentricity;
    f.Text4.Text = in.incline1;
    f.Text5.Text = in.incline2;
    f.Text6.Text = in.incline3;
    f.Plot_Click();
    const double period = f.Period.value();
    auto magnitudeAt = [&](double phase) {
        f.Time = phase * period;
        f.Main();
        return num(f.PowerToAll(f.PowerSum, 1)).value();
    };
    ModelCurve c;
    c.periodDays = period * DaysPerYear;
    c.magnitude.resize(static_cast<std::size_t>(samples));
    std::size_t faintest = 0;
    for (std::size_t i = 0; i < c.magnitude.size(); ++i) {
        c.magnitude[i] = magnitudeAt(static_cast<double>(i) / samples);
        if (c.magnitude[i] > c.magnitude[faintest]) faintest = i;
    }
    // The minimum to a thousandth of a sample: the middle of the faintest stretch.
    constexpr int Fine = 1000;
    const double base = static_cast<double>(faintest) - 1;
    double best = -1e300;
    int first = 0, last = 0;
    for (int k = 0; k <= 2 * Fine; ++k) {
        const double m = magnitudeAt((base + static_cast<double>(k) / Fine) / samples);
        if (m > best + 1e-12) {
            best = m;
            first = last = k;
        } else if (m > best - 1e-12 && last == k - 1) {
            last = k;
        }
    }
    c.primaryPhase = (base + (first + last) / 2.0 / Fine) / samples;
    return c;
}

/// How a curve is observed.
struct Schedule {
    double spanDays = 90;
    std::size_t points = 1000;
    double noise = 0.005; ///< magnitudes, one sigma
    bool nightly = true;  ///< from the ground: clear nights of a few hours; else from space
    std::uint64_t seed = 1;
};

struct Observations {
    std::vector<double> time; ///< days
    std::vector<double> magnitude;
    double periodDays = 0;
    double periastron = 0; ///< days
    double primaryPhase = 0;

    /// The true time of primary minimum nearest t.
    [[nodiscard]] double minimumNear(double t) const {
        const double first = periastron + primaryPhase * periodDays;
        return first + std::round((t - first) / periodDays) * periodDays;
    }
};

inline double uniform(std::mt19937_64& rng) {
    return static_cast<double>(rng() >> 11) * 0x1.0p-53;
}

inline double gauss(std::mt19937_64& rng) {
    const double u = 1 - uniform(rng);
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * 3.141592653589793 * uniform(rng));
}

/// Observations of `curve`: ground-based ones on 60 % of the nights, 0.3 d each; space-based
/// ones spread over the span less two gaps of a tenth of it; three outliers.
inline Observations observe(const ModelCurve& curve, const Schedule& s) {
    std::mt19937_64 rng(s.seed);
    Observations o;
    o.periodDays = curve.periodDays;
    o.primaryPhase = curve.primaryPhase;
    const double start = 2460000.5;
    o.periastron = start - uniform(rng) * curve.periodDays;
    std::vector<int> nights;
    for (int d = 0; d < static_cast<int>(s.spanDays); ++d)
        if (uniform(rng) < 0.6) nights.push_back(d);
    const double gapA = 0.2 + 0.3 * uniform(rng), gapB = 0.6 + 0.2 * uniform(rng);
    while (o.time.size() < s.points) {
        double t;
        if (s.nightly) {
            t = nights[static_cast<std::size_t>(uniform(rng) *
                                                static_cast<double>(nights.size()))] +
                0.3 * uniform(rng);
        } else {
            const double u = uniform(rng);
            if ((u > gapA && u < gapA + 0.1) || (u > gapB && u < gapB + 0.1)) continue;
            t = u * s.spanDays;
        }
        o.time.push_back(start + t);
    }
    std::sort(o.time.begin(), o.time.end());
    for (const double t : o.time)
        o.magnitude.push_back(curve.at((t - o.periastron) / curve.periodDays) +
                              s.noise * gauss(rng));
    for (int k = 0; k < 3; ++k)
        o.magnitude[static_cast<std::size_t>(
            uniform(rng) * static_cast<double>(o.magnitude.size()))] += k < 2 ? 0.2 : -0.15;
    return o;
}

} // namespace orvanta::testing
