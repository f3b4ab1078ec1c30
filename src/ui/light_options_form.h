// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog of the options of real stars: its boxes as text, read by the boxes' rule.
#pragma once

#include "core/light_options_text.h"
#include "physics/light_options.h"

#include <string>
#include <variant>

namespace orvanta {

/// The five boxes of the dialog, as typed.
struct LightOptionTexts {
    std::string u1A, u2A;   ///< star A's limb-darkening coefficients
    std::string u1B, u2B;   ///< star B's
    std::string thirdLight; ///< fraction of the light outside the eclipses
};

/// The boxes that show the options (empty boxes read as 0).
LightOptionTexts textsOf(const physics::LightOptions& options);

/// The options the boxes hold, or one sentence naming the box at fault and why: a box must
/// hold one number by the window's reading rule (or nothing, for 0), each star's law must keep
/// its light positive, and the third light must lie from 0 up to (not) 1.
std::variant<physics::LightOptions, std::string> readLightOptions(const LightOptionTexts& texts);

} // namespace orvanta
