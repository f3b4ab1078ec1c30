// SPDX-License-Identifier: GPL-3.0-or-later
// Where the light-curve graph and the star view sit in the window, in window pixels.
#pragma once

#include "physics/orbit.h"

namespace orvanta {

/// Columns 0 to 793 span one run on the graph (and the star view's automatic fit), one column
/// a step of the period sweep.
inline constexpr int GraphSpan = SweepSteps;
/// Highest row of the curve: the full power, or the brighter magnitude extreme.
inline constexpr int GraphTop = 34;
/// Lowest row of the graph area with the side panels shown and hidden.
inline constexpr int GraphBottomShown = 360;
inline constexpr int GraphBottomHidden = 560;
/// Height of one row of read-out labels: the time labels take the two rows above the
/// graph's bottom, the value labels the two rows above the red dot.
inline constexpr int LabelRow = 17;
/// Row of the star view's centre of mass at start-up and when the panels come back.
inline constexpr int StarViewCentreY = 240;

} // namespace orvanta
