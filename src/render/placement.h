// SPDX-License-Identifier: GPL-3.0-or-later
// Where a value lands on the graph and a point of the view in the star view, in window
// pixels: one rule each for the curve, the cursor's dot, the drag preview, the orbit traces
// and the star shapes.
#pragma once

#include "core/sim_state.h"

namespace orvanta {

/// Row (px) of a shown value v (W, or magnitude) on the graph: AxisY at GraphBase, GraphMag
/// px per unit upward.
inline Num graphRowOf(const SimState& s, const Num& v) {
    return s.AxisY - s.GraphMag * (v - s.GraphBase);
}

/// Column (px) of a view coordinate x (solar radii) in the star view.
inline Num starColumnOf(const SimState& s, const Num& x) {
    return s.CentreX + s.StarMag * x;
}

/// Row (px) of a view coordinate y (solar radii) in the star view.
inline Num starRowOf(const SimState& s, const Num& y) {
    return s.CentreY + s.StarMag * y;
}

} // namespace orvanta
