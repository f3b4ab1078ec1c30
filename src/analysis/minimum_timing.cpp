// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/minimum_timing.h"
#include "analysis/minimum_timing_parts.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace orvanta::analysis {

namespace {

/// The curve averaged onto `cells` even cells over [-halfWidth, halfWidth]; an empty cell
/// takes the line between its filled neighbours, and is NaN beyond the last filled one.
std::vector<double> averagedGrid(const std::vector<double>& x, const std::vector<double>& y,
                                 double halfWidth, int cells) {
    std::vector<double> sum(static_cast<std::size_t>(cells), 0.0);
    std::vector<int> count(static_cast<std::size_t>(cells), 0);
    const double width = 2 * halfWidth / cells;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const int k =
            std::clamp(static_cast<int>(std::floor((x[i] + halfWidth) / width)), 0, cells - 1);
        sum[static_cast<std::size_t>(k)] += y[i];
        ++count[static_cast<std::size_t>(k)];
    }
    std::vector<double> grid(static_cast<std::size_t>(cells), std::nan(""));
    int last = -1;
    for (int k = 0; k < cells; ++k) {
        const auto ku = static_cast<std::size_t>(k);
        if (count[ku] == 0) continue;
        grid[ku] = sum[ku] / count[ku];
        if (last >= 0 && k - last > 1) {
            const auto lu = static_cast<std::size_t>(last);
            for (int j = last + 1; j < k; ++j)
                grid[static_cast<std::size_t>(j)] =
                    grid[lu] + (grid[ku] - grid[lu]) * (j - last) / (k - last);
        }
        last = k;
    }
    return grid;
}

} // namespace

double parts::gridAt(const std::vector<double>& grid, double halfWidth, double x) {
    const auto cells = static_cast<int>(grid.size());
    const double width = 2 * halfWidth / cells;
    const double u = (x + halfWidth) / width - 0.5;
    if (u < 0 || u > cells - 1) return std::nan("");
    const int k = std::min(static_cast<int>(u), cells - 2);
    const double w = u - k;
    return grid[static_cast<std::size_t>(k)] * (1 - w) + grid[static_cast<std::size_t>(k) + 1] * w;
}

std::optional<parts::LeastSum> parts::leastOfSums(const std::vector<double>& s) {
    int best = -1;
    for (int j = 0; j < static_cast<int>(s.size()); ++j)
        if (!std::isnan(s[static_cast<std::size_t>(j)]) &&
            (best < 0 || s[static_cast<std::size_t>(j)] < s[static_cast<std::size_t>(best)]))
            best = j;
    constexpr int Reach = 2;
    if (best < Reach || best > static_cast<int>(s.size()) - 1 - Reach) return std::nullopt;

    // Least-squares parabola S = A T^2 + B T + C through the trials around the least one,
    // T measured from that trial (in steps) to keep the sums well scaled.
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0, r0 = 0, r1 = 0, r2 = 0;
    for (int j = best - Reach; j <= best + Reach; ++j) {
        const double v = s[static_cast<std::size_t>(j)];
        if (std::isnan(v)) return std::nullopt;
        const double u = j - best;
        s0 += 1;
        s1 += u;
        s2 += u * u;
        s3 += u * u * u;
        s4 += u * u * u * u;
        r0 += v;
        r1 += v * u;
        r2 += v * u * u;
    }
    // Solve [s4 s3 s2; s3 s2 s1; s2 s1 s0] [A B C] = [r2 r1 r0] by Cramer's rule.
    const double det =
        s4 * (s2 * s0 - s1 * s1) - s3 * (s3 * s0 - s1 * s2) + s2 * (s3 * s1 - s2 * s2);
    if (det == 0) return std::nullopt;
    const double a =
        (r2 * (s2 * s0 - s1 * s1) - s3 * (r1 * s0 - s1 * r0) + s2 * (r1 * s1 - s2 * r0)) / det;
    const double b =
        (s4 * (r1 * s0 - s1 * r0) - r2 * (s3 * s0 - s1 * s2) + s2 * (s3 * r0 - r1 * s2)) / det;
    const double c =
        (s4 * (s2 * r0 - r1 * s1) - s3 * (s3 * r0 - r1 * s2) + r2 * (s3 * s1 - s2 * s2)) / det;
    if (!(a > 0)) return std::nullopt;
    const double u0 = -b / (2 * a);
    if (std::abs(u0) > Reach) return std::nullopt;
    // The least S: the parabola's, but never below the least S seen, since a parabola
    // through noisy sums can dip towards zero and state an error far too small.
    const double least = std::max(c - b * b / (4 * a), s[static_cast<std::size_t>(best)]);
    return LeastSum{best, u0, least, a};
}

std::optional<MinimumTime> kweeVanWoerden(std::span<const double> time,
                                          std::span<const double> dimming, double guess,
                                          double halfWidth) {
    if (!(halfWidth > 0)) return std::nullopt;
    std::vector<double> x, y;
    int left = 0, right = 0;
    for (std::size_t i = 0; i < time.size() && i < dimming.size(); ++i) {
        const double d = time[i] - guess;
        if (std::abs(d) > halfWidth || !std::isfinite(dimming[i])) continue;
        x.push_back(d);
        y.push_back(dimming[i]);
        (d < 0 ? left : right) += 1;
    }
    const auto n = static_cast<int>(x.size());
    if (left < 4 || right < 4 || n < 12) return std::nullopt;

    const int cells = std::clamp(n / 2, 16, 200);
    const std::vector<double> grid = averagedGrid(x, y, halfWidth, cells);
    const double width = 2 * halfWidth / cells;
    // Trial times a whole cell apart, so that every reflected value lies on cell centres and
    // has the same noise (half a cell would average two cells and bias S low there).
    const double step = width;
    const int trials = cells / 4; // trial times within half the window of the guess
    // Independent pairs: a quarter of the values reflected, as the method counts them, here
    // of the grid's cells (each the mean of its points, so the noise per pair is the same
    // as the method's own with N/4 pairs of single points).
    const double z = cells / 4.0;

    // Mean squared difference of the reflected curve, scaled to Z pairs.
    std::vector<double> s(static_cast<std::size_t>(2 * trials + 1), std::nan(""));
    for (int j = -trials; j <= trials; ++j) {
        const double t = j * step;
        double sum = 0;
        int pairs = 0;
        for (double d = width / 2; d < halfWidth - std::abs(t); d += width) {
            const double a = parts::gridAt(grid, halfWidth, t + d);
            const double b = parts::gridAt(grid, halfWidth, t - d);
            if (std::isnan(a) || std::isnan(b)) continue;
            sum += (a - b) * (a - b);
            ++pairs;
        }
        if (pairs >= 4) s[static_cast<std::size_t>(j + trials)] = z * sum / pairs;
    }
    const auto least = parts::leastOfSums(s);
    if (!least) return std::nullopt;
    if (!(z > 1)) return std::nullopt;
    // In steps: sigma^2 = (4AC - B^2) / (4 A^2 (Z - 1)) = least / (A (Z - 1)).
    const double sigmaSteps = std::sqrt(least->least / (least->curvature * (z - 1)));
    MinimumTime m;
    m.time = guess + (least->best - trials + least->offset) * step;
    m.error = sigmaSteps * step;
    m.points = n;
    return m;
}

} // namespace orvanta::analysis
