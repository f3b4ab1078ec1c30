// SPDX-License-Identifier: GPL-3.0-or-later
// Which star hides the other at the instant last evaluated by Main.
#pragma once

#include "core/sim_state.h"

namespace orvanta {

enum class Eclipse { None, AInFront, BInFront };

/// The eclipse in progress at the last Main: none while the discs do not overlap as seen,
/// else the star the light stage counts as the nearer one (equal depths decided as there).
Eclipse eclipseNow(const SimState& s);

/// "none", "A in front" or "B in front".
const char* eclipseText(Eclipse e);

} // namespace orvanta
