// SPDX-License-Identifier: GPL-3.0-or-later
// The model's radial-velocity curves of both stars over one period.
#pragma once

#include "physics/evaluator.h"

#include <vector>

namespace orvanta::analysis {

/// Both stars' line-of-sight velocities (km/s, positive away from the observer, without a
/// systemic velocity) at the graph's sweep, in phase from time 0 (periastron).
struct VelocityCurve {
    std::vector<double> phase, a, b;
};

/// Raises the model's RuntimeError for a set it cannot evaluate.
VelocityCurve velocityCurveOf(const Parameters& p);

} // namespace orvanta::analysis
