// SPDX-License-Identifier: GPL-3.0-or-later
// The time of an eclipse's minimum from the points around it, by the bisector method of
// Kwee & van Woerden (1956, Bull. Astron. Inst. Netherlands 12, 327).
#pragma once

#include <optional>
#include <span>

namespace orvanta::analysis {

/// A time of minimum and its standard error, in the unit of the times given.
struct MinimumTime {
    double time = 0;
    double error = 0;
    int points = 0; ///< observations inside the window that were used
};

/// The time about which the light of one eclipse is most nearly symmetric. `time` and
/// `dimming` (larger is fainter: a magnitude, or minus a flux) are the observations in
/// any order; only those within `halfWidth` of `guess` are used, the eclipse should fill
/// most of that window. The curve is averaged onto an even grid, reflected about trial
/// times, and the sum of squared differences S(T) fitted by a parabola near its least
/// value; the error is sqrt((4AC - B^2) / (4A^2 (Z - 1))) with Z independent pairs, a
/// quarter of the grid's cells, as the method counts a quarter of the points. Nothing when the
/// window holds too few points on either side of the guess, or when S(T) has no clear least value
/// there.
std::optional<MinimumTime> kweeVanWoerden(std::span<const double> time,
                                          std::span<const double> dimming, double guess,
                                          double halfWidth);

} // namespace orvanta::analysis
