// SPDX-License-Identifier: GPL-3.0-or-later
// The controls and fields of one star, so that the twin procedures of stars A and B
// share one body.
#pragma once

#include "form1.h"

namespace orvanta {

struct StarSide {
    char letter;              ///< 'A' or 'B', as in the captions
    TextBoxCtl& value;        ///< the light quantity chosen by the selector
    TextBoxCtl& radius;       ///< solar radii
    TextBoxCtl& mass;         ///< solar masses
    TextBoxCtl& temperature;  ///< K, used with the magnitude row only
    LabelCtl& temperatureRow; ///< caption of the temperature box
    LabelCtl& temperatureNote;
    LabelCtl& description; ///< caption beside the value box
    Num& radiusField;
    Num& fluxField;
    int& previousRow;
    ListBoxCtl& selector;
    ComboBoxCtl& type;
};

/// Star A of a state and its controls (a window, or the light-curve table's own pair).
inline StarSide starA(SimState& s, Controls& c) {
    return {'A',      c.Text11,  c.Text9, c.Text7,         c.Text16, c.Label41, c.Label44,
            c.Label4, s.RadiusA, s.FluxA, s.PrevQuantityA, c.List1,  c.Combo1};
}

inline StarSide starB(SimState& s, Controls& c) {
    return {'B',      c.Text12,  c.Text10, c.Text8,         c.Text17, c.Label42, c.Label43,
            c.Label3, s.RadiusB, s.FluxB,  s.PrevQuantityB, c.List2,  c.Combo2};
}

inline StarSide starA(Form1& f) {
    return starA(f, f);
}

inline StarSide starB(Form1& f) {
    return starB(f, f);
}

Maybe allToFlux(SimState& f, const StarSide& s, int Index);
Maybe fluxToAll(SimState& f, const StarSide& s, const Num& Value, int Index);
void selectorScrolled(SimState& f, const StarSide& s);
/// The star's preset picked: a fault of the selector's conversion is reported on its own by
/// the window's event boundary, and does not keep the preset from filling the boxes.
void presetPicked(Form1& f, const StarSide& s);
/// The same on a state and controls without a window: a fault of the conversion raises.
void presetPicked(SimState& f, const StarSide& s);

} // namespace orvanta
