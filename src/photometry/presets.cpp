// SPDX-License-Identifier: GPL-3.0-or-later
// Spectral-type presets: typical main-sequence stars fill and lock a star's boxes.
#include "photometry/star_side.h"

#include <array>
#include <string_view>

namespace orvanta {

namespace {
struct Preset {
    std::string_view type;
    double mass;        // solar masses
    double radius;      // solar radii
    double temperature; // K
};

constexpr std::array<Preset, 14> Presets = {{
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
} // namespace

void presetPicked(Form1& f, const StarSide& s) {
    if (s.type.Text().empty()) {
        s.mass.Enabled = true;
        s.radius.Enabled = true;
        s.value.Enabled = true;
        return;
    }
    if (s.selector.TopIndex != 2) {
        // Moving the selector from code runs its change handling as a user's scroll
        // would. A fault in that conversion is reported on its own and does not keep
        // the preset from filling the boxes.
        s.selector.TopIndex = 2;
        f.Run([&] { selectorScrolled(f, s); });
        s.previousRow = 2;
    }
    s.mass.Enabled = false;
    s.radius.Enabled = false;
    s.value.Enabled = false;
    const std::string type = s.type.Text();
    for (const Preset& p : Presets) {
        if (p.type != type) continue;
        s.mass.Text = Str(p.mass);
        s.radius.Text = Str(p.radius);
        s.value.Text = Str(p.temperature);
        break;
    }
}

void Form1::Combo1_Click() {
    presetPicked(*this, starA(*this));
}
void Form1::Combo2_Click() {
    presetPicked(*this, starB(*this));
}

} // namespace orvanta
