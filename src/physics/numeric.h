// SPDX-License-Identifier: GPL-3.0-or-later
// The arc cosine, power and square root the physics uses, so that every caller has the
// same fault behaviour.
#pragma once

#include "physics/checked.h"

namespace orvanta {

/// Radians, for -1 <= x <= 1, with `Pi` the caller's value of pi (the window's field is 0
/// until start-up). Raises where the result would be a NaN or an infinity.
Num arcCos(const Num& x, const Num& Pi);

} // namespace orvanta
