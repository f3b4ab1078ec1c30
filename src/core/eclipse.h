// SPDX-License-Identifier: GPL-3.0-or-later
// Which star hides the other at the instant last evaluated by Main.
#pragma once

#include "core/sim_state.h"

namespace orvanta {

enum class Eclipse { None, AInFront, BInFront };

/// How the two discs lie as seen: apart (at or beyond contact), crossing each other's
/// outline, or one wholly within the other's.
enum class Overlap { Apart, Partial, Nested };

/// The overlap at the last Main, as the light stage branches on it.
Overlap overlapOf(const SimState& s);

/// Whether the light stage counts A as the star behind: the deeper one, and at equal depths
/// A in a partial eclipse, B in a nested one.
bool aIsBehind(const SimState& s, Overlap o);

/// The eclipse in progress at the last Main: none while the discs do not overlap as seen,
/// else the star the light stage counts as the nearer one (equal depths decided as there).
Eclipse eclipseNow(const SimState& s);

/// "none", "A in front" or "B in front".
const char* eclipseText(Eclipse e);

} // namespace orvanta
