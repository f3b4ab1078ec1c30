// SPDX-License-Identifier: GPL-3.0-or-later
// The colour of a star from its surface temperature, dark red to light blue.
#include "form1.h"
#include "photometry/light_constants.h"

namespace orvanta {

// Colour value 0x00BBGGRR. The temperature is rounded down first, so each boundary
// belongs to the hotter band, except 25000 K, which stays pale blue-white.
Num Form1::Colour(const Num& Flux) {
    const Num T = Int(pow(Flux / StefanBoltzmann, 0.25));
    if (T > 25000) return 0xFF8080;               // light blue
    if (T >= 11000) return 0xFFFFC0;              // pale blue-white
    if (T >= 8000 && T <= 11000) return 0xFFFFFF; // white
    if (T >= 6000 && T <= 8000) return 0xC0FFFF;  // pale yellow
    if (T >= 4500 && T <= 6000) return 0x00FFFF;  // yellow
    if (T >= 3500 && T <= 4500) return 0x0080FF;  // orange
    return 0x0000C0;                              // dark red
}

} // namespace orvanta
