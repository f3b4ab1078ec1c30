// SPDX-License-Identifier: GPL-3.0-or-later
// Main: the whole system at the instant held in Time. Draws nothing, never changes Time.
#include "form1.h"

namespace orvanta {

void Form1::Main() {
    ++MainCalls;
    OrbitStage();
    LightStage();
    if (LightOptions.any()) OptionsStage();
}

} // namespace orvanta
