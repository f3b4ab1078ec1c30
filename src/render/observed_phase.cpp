// SPDX-License-Identifier: GPL-3.0-or-later
// Phases, medians and the deepest eclipse of folded points.
#include "render/observed_phase.h"

#include "core/cycle_phase.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace orvanta {

double frac(double x) {
    return std::isfinite(x) ? cyclePhase(x) : 0;
}

double median(std::vector<double>& v) {
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    const double upper = v[mid];
    if (v.size() % 2 == 1) return upper;
    const double lower = *std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid));
    return lower + (upper - lower) / 2;
}

double minimumPhase(const std::vector<double>& phase, const std::vector<double>& flux) {
    const std::size_t n = phase.size();
    if (n == 0) return 0;
    // A fixed number of bins, so that the same curve sampled more or less densely gives
    // the same depth and so the same minimum.
    constexpr std::size_t bins = 100;
    const double width = 1.0 / static_cast<double>(bins);
    auto binOf = [](double p) {
        return static_cast<std::size_t>(phaseBin(p, static_cast<int>(bins)));
    };
    // Group the fluxes by bin (a counting sort), then take each bin's median.
    std::vector<std::size_t> start(bins + 1, 0);
    for (double p : phase)
        ++start[binOf(p) + 1];
    for (std::size_t b = 0; b < bins; ++b)
        start[b + 1] += start[b];
    std::vector<double> grouped(n);
    std::vector<std::size_t> fill = start; // the next free place in each bin
    for (std::size_t i = 0; i < n; ++i)
        grouped[fill[binOf(phase[i])]++] = flux[i];
    std::vector<double> med(bins, HUGE_VAL);
    std::vector<double> part;
    for (std::size_t b = 0; b < bins; ++b) {
        if (start[b] == start[b + 1]) continue;
        part.assign(grouped.begin() + static_cast<std::ptrdiff_t>(start[b]),
                    grouped.begin() + static_cast<std::ptrdiff_t>(start[b + 1]));
        med[b] = median(part);
    }
    const std::size_t deepest =
        static_cast<std::size_t>(std::min_element(med.begin(), med.end()) - med.begin());
    const double centre = (static_cast<double>(deepest) + 0.5) * width;
    const double bottom = med[deepest];
    if (!(bottom < 1)) return centre;
    const double half = (1 + bottom) / 2;
    // The run of bins below half depth around the deepest, and one bin more on each side.
    std::size_t left = 0, right = 0;
    // Empty bins (sparse samples) do not end the run.
    auto below = [&](std::size_t b) { return med[b] < half || start[b] == start[b + 1]; };
    while (left + right + 1 < bins && below((deepest + bins - left - 1) % bins))
        ++left;
    while (left + right + 1 < bins && below((deepest + right + 1) % bins))
        ++right;
    // A run round the whole circle (every point in eclipse) takes every point, on both sides.
    const bool everywhere = left + right + 1 >= bins;
    const double lo = -(static_cast<double>(left) + 1.5) * width;
    const double hi = (static_cast<double>(right) + 1.5) * width;
    double sw = 0, swu = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double u = frac(phase[i] - centre + 0.5) - 0.5;
        if (!everywhere && (u < lo || u > hi)) continue;
        const double w = half - flux[i];
        if (w <= 0) continue;
        sw += w;
        swu += w * u;
    }
    return sw > 0 ? frac(centre + swu / sw) : centre;
}

} // namespace orvanta
