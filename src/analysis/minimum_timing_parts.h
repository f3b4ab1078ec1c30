// SPDX-License-Identifier: GPL-3.0-or-later
// The steps of Kwee-van Woerden's method that its tests reach on their own: the averaged
// curve read between its cells, and the least of the sums of squared differences.
#pragma once

#include <optional>
#include <vector>

namespace orvanta::analysis::parts {

/// The value of a curve averaged onto even cells over [-halfWidth, halfWidth] at x, by
/// linear interpolation between the cells' centres; NaN outside the first and last centre.
double gridAt(const std::vector<double>& grid, double halfWidth, double x);

/// The least of the sums S at trial times a step apart, as a parabola places it.
struct LeastSum {
    int best = 0;         ///< the trial of the least S (the first of equal ones)
    double offset = 0;    ///< of the parabola's vertex from that trial, in steps
    double least = 0;     ///< S there, never below the least S seen
    double curvature = 0; ///< A of S = A T^2 + B T + C, T in steps
};

/// The least S of the trials (NaN where a trial had too few pairs) and the least-squares
/// parabola through it and the two trials either side. Nothing when the least is within
/// two trials of either end, a trial there is NaN, the parabola does not open upwards or
/// its vertex lies more than two steps away.
std::optional<LeastSum> leastOfSums(const std::vector<double>& s);

} // namespace orvanta::analysis::parts
