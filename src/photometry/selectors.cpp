// SPDX-License-Identifier: GPL-3.0-or-later
// The one-row lists that choose in which quantity each star's light is entered.
#include "core/list_rows.h"
#include "photometry/star_side.h"

namespace orvanta {

void selectorScrolled(SimState& f, const StarSide& s) {
    const int shown = s.selector.TopIndex;
    if (s.previousRow == LightRow::Magnitude) {
        s.temperatureRow.Visible = false;
        s.temperatureNote.Visible = false;
        s.temperature.Visible = false;
        if (s.type.Text().empty()) {
            // The box shows the flux of the last parameter read in the row now shown (the
            // temperature when the list moved to its neighbour row 2).
            s.radius.Enabled = true;
            s.value.Text = text(fluxToAll(f, s, s.fluxField, shown));
        }
    } else {
        const Num flux = num(allToFlux(f, s, s.previousRow));
        s.value.Text = text(fluxToAll(f, s, flux, shown));
    }
    s.previousRow = shown;
}

void Form1::List1_Scroll() {
    selectorScrolled(*this, starA(*this));
}
void Form1::List2_Scroll() {
    selectorScrolled(*this, starB(*this));
}

} // namespace orvanta
