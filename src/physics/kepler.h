// SPDX-License-Identifier: GPL-3.0-or-later
// Kepler's equation.
#pragma once

#include "physics/checked.h"

namespace orvanta {

/// Solves M = E - e sin E for the eccentric anomaly E (radians), starting from the value in
/// `EccAnomaly` and leaving the solution there: exactly the window's hundred Newton steps,
/// restarted from a safe point where the warm start does not converge. So the digits depend
/// on the warm start: the same sequence of calls gives the same digits. `LoopIndex` is the
/// step counter (101 after a solution). Raises where an operation faults (|e| >= 1), with
/// `EccAnomaly` holding the last iterate.
void solveKepler(Num& EccAnomaly, const Num& M, const Num& Eccen, const Num& Pi, int& LoopIndex);

} // namespace orvanta
