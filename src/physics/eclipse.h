// SPDX-License-Identifier: GPL-3.0-or-later
// Which star hides the other at the instant last evaluated.
#pragma once

namespace orvanta {

struct BinaryState;

enum class Eclipse { None, AInFront, BInFront };

/// How the two discs lie as seen: apart (at or beyond contact), crossing each other's
/// outline, or one wholly within the other's.
enum class Overlap { Apart, Partial, Nested };

/// The overlap at the last evaluation, as the light stage branches on it.
Overlap overlapOf(const BinaryState& s);

/// Whether the light stage counts A as the star behind: the deeper one, and at equal depths
/// A in a partial eclipse, B in a nested one.
bool aIsBehind(const BinaryState& s, Overlap o);

/// The eclipse in progress at the last evaluation: none while the discs do not overlap as
/// seen, else the star the light stage counts as the nearer one (equal depths decided as
/// there).
Eclipse eclipseNow(const BinaryState& s);

/// "none", "A in front" or "B in front".
const char* eclipseText(Eclipse e);

} // namespace orvanta
