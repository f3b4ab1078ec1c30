// SPDX-License-Identifier: GPL-3.0-or-later
// The arc cosine, power and square root the physics uses, so that every caller has the
// same fault behaviour.
#include "physics/numeric.h"

#include "physics/binary_state.h"

namespace orvanta {

// Built from the arc tangent: |x| > 1 makes the square root fault, and so does a non-zero
// x so small that 1 / x^2 leaves the double range.
Num arcCos(const Num& x, const Num& Pi) {
    Num result;
    if (x == 0)
        result = Pi / 2;
    else
        result = Atn(Sqr(1 / Power(x, 2) - 1));
    if (x < 0) result = Pi - result;
    return result;
}

Num BinaryState::acos(const Num& x) const {
    return arcCos(x, Pi);
}

Num BinaryState::pow(const Num& x, const Num& Y) {
    return Power(x, Y);
}

Num BinaryState::sqrt(const Num& x) {
    return Sqr(x);
}

} // namespace orvanta
