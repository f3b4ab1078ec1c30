// SPDX-License-Identifier: GPL-3.0-or-later
// The phase of a number of cycles.
#pragma once

namespace orvanta {

/// The fractional part of `cycles`, x - floor(x), in [0, 1): the one rounding that would
/// give 1 (a negative x too small to show beside 1, such as -1e-20) gives 0. NaN for a
/// value that is not finite.
double cyclePhase(double cycles);

/// Which of `bins` equal bins of a cycle the phase of `cycles` falls in, 0 to bins - 1 (0 for
/// a value that is not finite). A phase below 1 times a whole number never rounds up to it:
/// the product is at most bins (1 - 2^-53), more than half a step of the doubles below bins.
int phaseBin(double cycles, int bins);

} // namespace orvanta
