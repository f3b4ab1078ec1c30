// SPDX-License-Identifier: GPL-3.0-or-later
// Main: the whole system at the instant held in Time. Draws nothing, never changes Time.
// The stages are the physics' own (physics/binary_state.h), run on the window's state.
#include "form1.h"

namespace orvanta {

void Form1::Main() {
    ++MainCalls;
    OrbitStage();
    LightStage();
}

void Form1::OrbitStage() {
    orbitStage();
}

void Form1::LightStage() {
    lightStage();
}

void Form1::ReferToSub1() {
    partialEclipse();
}

void Form1::ReferToSub2() {
    nestedEclipse();
}

void Form1::ReferToSub3() {
    nestedABehind();
}

void Form1::ReferToSub4() {
    nestedBBehind();
}

} // namespace orvanta
