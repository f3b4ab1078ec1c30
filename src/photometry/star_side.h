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

inline StarSide starA(Form1& f) {
    return {'A',      f.Text11,  f.Text9, f.Text7,         f.Text16, f.Label41, f.Label44,
            f.Label4, f.RadiusA, f.FluxA, f.PrevQuantityA, f.List1,  f.Combo1};
}

inline StarSide starB(Form1& f) {
    return {'B',      f.Text12,  f.Text10, f.Text8,         f.Text17, f.Label42, f.Label43,
            f.Label3, f.RadiusB, f.FluxB,  f.PrevQuantityB, f.List2,  f.Combo2};
}

Maybe allToFlux(Form1& f, const StarSide& s, int Index);
Maybe fluxToAll(Form1& f, const StarSide& s, const Num& Value, int Index);
void selectorScrolled(Form1& f, const StarSide& s);
void presetPicked(Form1& f, const StarSide& s);

} // namespace orvanta
