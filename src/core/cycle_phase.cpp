// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cycle_phase.h"

#include <cmath>

namespace orvanta {

double cyclePhase(double cycles) {
    const double f = cycles - std::floor(cycles);
    return f >= 1 ? 0 : f;
}

int phaseBin(double cycles, int bins) {
    const double phase = cyclePhase(cycles);
    return phase >= 0 ? static_cast<int>(phase * bins) : 0;
}

} // namespace orvanta
