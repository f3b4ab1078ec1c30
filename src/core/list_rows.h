// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of the window's one-row lists: in which quantity each star's light is entered, and
// which quantity the graph shows.
#pragma once

namespace orvanta {

/// The rows of the lists beside each star's light box (List1, List2).
namespace LightRow {
inline constexpr int Flux = 0;
inline constexpr int Luminosity = 1;
inline constexpr int Temperature = 2;
/// The absolute visual magnitude, which reads a temperature beside it.
inline constexpr int Magnitude = 3;
/// Rows that hold a light the star gives (not a magnitude).
inline constexpr bool isLight(int row) {
    return row >= Flux && row <= Temperature;
}
} // namespace LightRow

/// The rows of the list of the graph's quantity (List3).
namespace GraphRow {
inline constexpr int Power = 0;
inline constexpr int Magnitude = 1;
} // namespace GraphRow

} // namespace orvanta
