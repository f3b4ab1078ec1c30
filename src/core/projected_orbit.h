// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit of the state as the radial velocities need it.
#pragma once

#include "physics/binary_state.h"
#include "physics/radial_velocity.h"

namespace orvanta {

/// The orbit as the orbit stage turned it into the view at the last evaluation (its angles'
/// sines and cosines), with the state's distance, eccentricity, mean motion and masses.
physics::ProjectedOrbit projectedOrbitOf(const BinaryState& s);

/// Both stars' line-of-sight velocities at the last evaluation, km/s, positive away from the
/// observer, without the systemic velocity.
physics::StarVelocities velocitiesNow(const BinaryState& s);

} // namespace orvanta
