// SPDX-License-Identifier: GPL-3.0-or-later
// The window's arc cosine, power and square root: the physics' own (physics/numeric.h).
#include "form1.h"
#include "physics/numeric.h"

namespace orvanta {

Num Form1::acos(const Num& x) {
    return arcCos(x, Pi);
}

Num Form1::pow(const Num& x, const Num& Y) {
    return BinaryState::pow(x, Y);
}

Num Form1::sqrt(const Num& x) {
    return BinaryState::sqrt(x);
}

} // namespace orvanta
