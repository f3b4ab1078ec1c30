// SPDX-License-Identifier: GPL-3.0-or-later
// What real stars add to the light of two uniform discs: limb darkening and third light.
#pragma once

#include "physics/limb_darkening.h"
#include "physics/third_light.h"

namespace orvanta::physics {

/// The options of the light, all off by default. Off, the light is the uniform discs' to the
/// last digit.
struct LightOptions {
    LimbDarkening limbA;   ///< star A's law
    LimbDarkening limbB;   ///< star B's law
    double thirdLight = 0; ///< fraction of the whole light outside the eclipses, 0 <= F < 1

    [[nodiscard]] bool any() const {
        return !limbA.uniform() || !limbB.uniform() || thirdLight != 0;
    }
    friend bool operator==(const LightOptions&, const LightOptions&) = default;
};

} // namespace orvanta::physics
