// SPDX-License-Identifier: GPL-3.0-or-later
// The options of real stars in words, for the title bar.
#pragma once

#include "physics/light_options.h"

#include <string>

namespace orvanta {

/// What the title bar adds while options are on ("limb darkening A, B; third light 10 %"), or
/// empty with every option off.
std::string lightOptionsCaption(const physics::LightOptions& options);

} // namespace orvanta
