// SPDX-License-Identifier: GPL-3.0-or-later
// What a student can act on: the box most likely at fault when an error stops a handler, and
// what a box's text was read as when the number rule ignored part of it.
#pragma once

#include "ui/window_controls.h"

#include <string>
#include <vector>

namespace orvanta {

/// One plain sentence naming the input box most likely behind an error and what it accepts
/// ("MassB / SunMass is empty: type a mass above 0."), found by inspecting the boxes as they
/// are now; empty when no box explains the error.
std::string inputHint(const Controls& controls, int errorNumber);

/// The boxes that a plot reads, in the order it reads them (a star's temperature box only
/// counts while its selector shows the magnitude row).
std::vector<TextBoxCtl*> boxesRead(Controls& controls);

/// Notes in every box that a plot reads what its text is read as, where the number rule
/// ignores part of it ("3,59" is read as 3).
void noteWhatIsRead(Controls& controls);

/// The note a box shows: its last reading's, while the box still holds the text so read;
/// empty once the user or the program has changed it.
std::string shownNote(const TextBoxCtl& box);

/// The text colour of a box that shows a note: a dark red, legible on the button face.
inline constexpr Colour32 ReadInPartColour = 0x0000B4; // 0x00BBGGRR

} // namespace orvanta
