// SPDX-License-Identifier: GPL-3.0-or-later
// The colour of a star from its surface temperature (physics/photometry.h).
#include "form1.h"
#include "physics/photometry.h"

namespace orvanta {

Num Form1::Colour(const Num& Flux) {
    return starColour(Flux);
}

} // namespace orvanta
