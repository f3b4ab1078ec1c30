// SPDX-License-Identifier: GPL-3.0-or-later
// The phase of a number of cycles.
#pragma once

namespace orvanta {

/// The fractional part of `cycles`, x - floor(x), in [0, 1): the one rounding that would
/// give 1 (a negative x too small to show beside 1, such as -1e-20) gives 0. NaN for a
/// value that is not finite.
double cyclePhase(double cycles);

} // namespace orvanta
