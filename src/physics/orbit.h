// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit's period from the parameter set. The positions at an instant are
// BinaryState::orbitStage (physics/binary_state.h).
#pragma once

#include "physics/checked.h"

namespace orvanta {

/// A period sweep takes this many steps: Time from 0 in steps of Period / 793 up to Period
/// (the graph spans columns 0 to 793 with it).
inline constexpr int SweepSteps = 793;

/// Kepler's third law: the period in years of two stars of MassA and MassB (solar masses)
/// at a mean distance of MeanDistance (solar radii).
Num orbitalPeriod(const Num& MeanDistance, const Num& MassA, const Num& MassB);
/// Radians per year.
Num meanMotionOf(const Num& Period, const Num& Pi);

} // namespace orvanta
