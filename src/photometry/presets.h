// SPDX-License-Identifier: GPL-3.0-or-later
// The spectral-type presets: typical main-sequence stars, hottest first. The drop-down lists
// of both stars are made from this one table.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta {

struct Preset {
    std::string_view type;
    double mass;        // solar masses
    double radius;      // solar radii
    double temperature; // K
};

inline constexpr std::array<Preset, 14> Presets = {{
    {"O5V", 40, 17.8, 40000},
    {"B0V", 18, 7.4, 28000},
    {"B5V", 6.4, 3.8, 15000},
    {"A0V", 3.2, 2.5, 9900},
    {"A5V", 2.1, 1.7, 8500},
    {"F0V", 1.7, 1.4, 7400},
    {"F5V", 1.3, 1.2, 6600},
    {"G0V", 1.1, 1, 6000},
    {"G5V", 0.9, 0.9, 5500},
    {"K0V", 0.8, 0.8, 4900},
    {"K5V", 0.7, 0.7, 4100},
    {"M0V", 0.5, 0.6, 3500},
    {"M5V", 0.2, 0.3, 2800},
    {"M8V", 0.1, 0.1, 2400},
}};

/// The items of a star's drop-down list: the empty row (no preset), then every type.
inline std::vector<std::string> spectralTypeItems() {
    std::vector<std::string> items = {""};
    for (const Preset& p : Presets)
        items.emplace_back(p.type);
    return items;
}

} // namespace orvanta
