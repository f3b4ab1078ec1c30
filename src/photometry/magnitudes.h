// SPDX-License-Identifier: GPL-3.0-or-later
// The magnitude rule of the light conversions in plain numbers: for the observed points,
// which are compared with the graph's magnitudes and must use exactly its constants.
#pragma once

#include "physics/light_constants.h"

#include <cmath>

namespace orvanta {

/// The graph's magnitude of a received power in W, as PowerToAll converts it.
inline double magnitudeOfPower(double power) {
    return ZeroPointMag - MagnitudeFactor * std::log(power / ZeroPointPower) / std::log(10.0);
}

/// The magnitude difference of a flux ratio, with the program's 2.512 per factor of ten.
inline double magnitudeOfRatio(double ratio) {
    return -MagnitudeFactor * std::log10(ratio);
}

/// The flux ratio of a magnitude difference.
inline double ratioOfMagnitude(double magnitude) {
    return std::pow(10.0, -magnitude / MagnitudeFactor);
}

} // namespace orvanta
