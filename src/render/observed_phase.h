// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics of folded points: phases, medians and the phase of the deepest eclipse.
#pragma once

#include <vector>

namespace orvanta {

/// x - floor(x), in [0, 1); 0 for a value that is not finite, which has no phase.
double frac(double x);

/// The median of v (reordered); the mean of the middle two for an even count.
double median(std::vector<double>& v);

/// The phase 0..1 of the deepest eclipse of a curve given as relative flux (1 out of
/// eclipse) at phases 0..1 in any order: the deepest of 100 bins of medians (the first of
/// equal ones), then the centroid of the light missing below half that depth around it.
double minimumPhase(const std::vector<double>& phase, const std::vector<double>& flux);

} // namespace orvanta
