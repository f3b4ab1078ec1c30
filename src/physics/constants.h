// SPDX-License-Identifier: GPL-3.0-or-later
// The physical constants of the orbit, each used with exactly this value.
#pragma once

namespace orvanta {

inline constexpr double SunRad = 695990000;       // metres
inline constexpr double AstroUnit = 149597900000; // metres
inline constexpr double DaysPerYear = 365.2425;
inline constexpr double PiLiteral = 3.14159265358979; // as typed; not the nearest double to pi

} // namespace orvanta
