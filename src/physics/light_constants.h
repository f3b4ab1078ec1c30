// SPDX-License-Identifier: GPL-3.0-or-later
// The constants of the light conversions, each used with exactly this value.
#pragma once

namespace orvanta {

inline constexpr double StefanBoltzmann = 5.7e-8; // W m^-2 K^-4, the value the system uses
inline constexpr double SunTemperature = 5780;    // K
inline constexpr double SunBolometricMag = 4.75;
inline constexpr double ZeroPointMag = 4.85; // absolute magnitude of a received 1e26 W
inline constexpr double ZeroPointPower = 1e26;
inline constexpr double MagnitudeFactor = 2.512;

} // namespace orvanta
