// SPDX-License-Identifier: GPL-3.0-or-later
// The arc cosine, power and square root the physics uses, so that every caller has the
// same fault behaviour.
#include "form1.h"

namespace orvanta {

// Built from the arc tangent: |x| > 1 makes the square root fault, and so does a non-zero
// x so small that 1 / x^2 leaves the double range.
Num Form1::acos(const Num& x) {
    Num result;
    if (x == 0)
        result = Pi / 2;
    else
        result = Atn(Sqr(1 / Power(x, 2) - 1));
    if (x < 0) result = Pi - result;
    return result;
}

Num Form1::pow(const Num& x, const Num& Y) {
    return Power(x, Y);
}

Num Form1::sqrt(const Num& x) {
    return Sqr(x);
}

} // namespace orvanta
