// SPDX-License-Identifier: GPL-3.0-or-later
// Spectral-type presets: picking a type fills and locks a star's boxes.
#include "photometry/presets.h"
#include "photometry/star_side.h"

namespace orvanta {

namespace {

// `run` runs the selector's conversion: under the window's event boundary, or as it is.
template <class Run> void pick(SimState& f, const StarSide& s, Run&& run) {
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
        run([&] { selectorScrolled(f, s); });
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

} // namespace

void presetPicked(Form1& f, const StarSide& s) {
    pick(f, s, [&](auto&& conversion) { f.Run(conversion); });
}

void presetPicked(SimState& f, const StarSide& s) {
    pick(f, s, [](auto&& conversion) { conversion(); });
}

void Form1::Combo1_Click() {
    presetPicked(*this, starA(*this));
}
void Form1::Combo2_Click() {
    presetPicked(*this, starB(*this));
}

} // namespace orvanta
