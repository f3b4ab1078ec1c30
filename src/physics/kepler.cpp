// SPDX-License-Identifier: GPL-3.0-or-later
// Kepler's equation M = E - e sin E by Newton's method from a warm start.
#include "physics/kepler.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace orvanta {

namespace {
bool sameBits(const Num& a, const Num& b) {
    return std::bit_cast<std::uint64_t>(a.value()) == std::bit_cast<std::uint64_t>(b.value());
}
} // namespace

void solveKepler(Num& EccAnomaly, const Num& M, const Num& Eccen, const Num& Pi, int& LoopIndex) {
    // Exactly 100 Newton steps. A step is a function of E alone (M fixed), so once a step
    // returns the iterate of one or two steps before, the rest of the hundred repeats that
    // cycle: its parity gives the digits of the hundredth step.
    auto newton = [&] {
        Num twoBack;
        for (LoopIndex = 1; LoopIndex <= 100; ++LoopIndex) {
            const Num E = EccAnomaly;
            const Num s = Sin(E);
            const Num c = Cos(E);
            const Num p = Eccen * s;
            const Num q = Eccen * c - 1;
            EccAnomaly = E - ((M + p) - E) / q;
            const bool fixed = sameBits(EccAnomaly, E);
            const bool cycle = LoopIndex >= 2 && sameBits(EccAnomaly, twoBack);
            if (fixed || cycle) {
                if (!fixed && (100 - LoopIndex) % 2 != 0) EccAnomaly = E;
                LoopIndex = 101;
                break;
            }
            twoBack = E;
        }
    };
    newton();
    // The warm start from the previous solution can cycle for ever (at e = 0.5 and M = pi a
    // start at 0 jumps between 0 and 2 pi) or run off (near |e| = 0.99 to 1e17). Kepler's
    // equation has one root for |e| < 1, so a solution needs no reduction by whole turns:
    // where E does not solve it to within the rounding of M, start again from a point where
    // Newton's method converges for every |e| < 1 and every M.
    const double E0 = EccAnomaly.value(), m = M.value();
    const double residual = E0 - Eccen.value() * std::sin(E0) - m;
    if (Abs(Eccen) < 1 &&
        (!std::isfinite(E0) || std::fabs(residual) > 1e-9 * std::max(1.0, std::fabs(m)))) {
        const Num turns = M / (Pi + Pi);
        if (Eccen >= 0)
            EccAnomaly = Pi + (Pi + Pi) * Int(turns);
        else
            EccAnomaly = (Pi + Pi) * Num(std::nearbyint(turns.value()));
        newton();
    }
}

} // namespace orvanta
