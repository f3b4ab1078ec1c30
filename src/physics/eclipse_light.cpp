// SPDX-License-Identifier: GPL-3.0-or-later
// The light stage: power received from two uniformly bright discs, the nearer hiding the
// overlapping part of the farther, then what the options of real stars change. Radii in solar
// radii, areas in square metres.
#include "physics/binary_state.h"
#include "physics/constants.h"
#include "physics/photometry.h"

#include <algorithm>

namespace orvanta {

namespace {
// Within about 1e-14 of contact the rounded arguments can fall just outside -1..1.
Num clampUnit(const Num& x) {
    return std::clamp(x.value(), -1.0, 1.0);
}
} // namespace

Overlap overlapOf(const BinaryState& s) {
    if (s.ProjDistance >= s.RadiusA + s.RadiusB) return Overlap::Apart;
    const Num g = Sqr(Power(s.RadiusA - s.RadiusB, 2));
    return s.ProjDistance > g ? Overlap::Partial : Overlap::Nested;
}

bool aIsBehind(const BinaryState& s, Overlap o) {
    return o == Overlap::Nested ? s.DepthA > s.DepthB : s.DepthA >= s.DepthB;
}

void BinaryState::lightStage() {
    uniformLight();
    // With every option off the uniform digits stay as they are.
    if (LightOptions.any()) optionsStage();
}

void BinaryState::uniformLight() {
    const Overlap o = overlapOf(*this);
    if (o == Overlap::Apart) {
        PowerSum = fullDiscPower(FluxA, RadiusA, FluxB, RadiusB, Pi);
        return;
    }
    if (o == Overlap::Partial)
        partialEclipse();
    else
        nestedEclipse();
}

// Partial eclipse. At equal depths A counts as the star behind.
void BinaryState::partialEclipse() {
    const Num& D = ProjDistance;
    LensAngleA =
        acos(clampUnit(((pow(D, 2) + pow(RadiusA, 2)) - pow(RadiusB, 2)) / ((2 * RadiusA) * D)));
    LensAngleB =
        acos(clampUnit(((pow(D, 2) + pow(RadiusB, 2)) - pow(RadiusA, 2)) / ((2 * RadiusB) * D)));
    const Num& aA = LensAngleA;
    const Num& aB = LensAngleB;
    const Num RAm2 = pow(RadiusA * SunRad, 2);
    const Num RBm2 = pow(RadiusB * SunRad, 2);
    if (aIsBehind(*this, Overlap::Partial)) {
        PowerSum =
            FluxA * (RAm2 * ((Pi + Sin(aA) * Cos(aA)) - aA) + RBm2 * (Sin(aB) * Cos(aB) - aB)) +
            (FluxB * Pi) * RBm2;
    } else {
        PowerSum =
            FluxB * (RBm2 * ((Pi + Sin(aB) * Cos(aB)) - aB) + RAm2 * (Sin(aA) * Cos(aA) - aA)) +
            (FluxA * Pi) * RAm2;
    }
}

// One disc within the other's outline. At equal depths B counts as the star behind.
void BinaryState::nestedEclipse() {
    if (aIsBehind(*this, Overlap::Nested))
        nestedABehind();
    else
        nestedBBehind();
}

// Nested, A behind: B transits the larger A, or A is wholly hidden.
void BinaryState::nestedABehind() {
    const Num RAm2 = pow(RadiusA * SunRad, 2);
    const Num RBm2 = pow(RadiusB * SunRad, 2);
    if (RadiusA > RadiusB)
        PowerSum = (FluxA * Pi) * (RAm2 - RBm2) + (FluxB * Pi) * RBm2;
    else
        PowerSum = (FluxB * Pi) * RBm2;
}

// Nested, B behind: B is wholly hidden, or A transits the larger or equal B.
void BinaryState::nestedBBehind() {
    const Num RAm2 = pow(RadiusA * SunRad, 2);
    const Num RBm2 = pow(RadiusB * SunRad, 2);
    if (RadiusA > RadiusB)
        PowerSum = (FluxA * Pi) * RAm2;
    else
        PowerSum = (FluxB * Pi) * (RBm2 - RAm2) + (FluxA * Pi) * RAm2;
}

Eclipse eclipseNow(const BinaryState& s) {
    const Overlap o = overlapOf(s);
    if (o == Overlap::Apart) return Eclipse::None;
    return aIsBehind(s, o) ? Eclipse::BInFront : Eclipse::AInFront;
}

const char* eclipseText(Eclipse e) {
    switch (e) {
    case Eclipse::AInFront:
        return "A in front";
    case Eclipse::BInFront:
        return "B in front";
    case Eclipse::None:
        break;
    }
    return "none";
}

// Only with an option on (lightStage).
void BinaryState::optionsStage() {
    const Overlap o = overlapOf(*this);
    const Num RAm2 = pow(RadiusA * SunRad, 2);
    const Num RBm2 = pow(RadiusB * SunRad, 2);
    const Num whole = (FluxA * Pi) * RAm2 + (FluxB * Pi) * RBm2;
    if (o != Overlap::Apart) {
        const bool aBehind = aIsBehind(*this, o);
        const physics::LimbDarkening& law = aBehind ? LightOptions.limbA : LightOptions.limbB;
        const Num& behind = aBehind ? RadiusA : RadiusB;
        const Num& front = aBehind ? RadiusB : RadiusA;
        // A darkened disc needs a size; the uniform formulas take any radius as they come.
        if (!law.uniform() && behind > 0 && front >= 0) {
            const double hidden = physics::hiddenFraction(law, (front / behind).value(),
                                                          (ProjDistance / behind).value());
            const Num& flux = aBehind ? FluxA : FluxB;
            PowerSum = whole - ((flux * Pi) * (aBehind ? RAm2 : RBm2)) * hidden;
        }
    }
    if (LightOptions.thirdLight != 0)
        PowerSum = PowerSum + Num(physics::thirdLightPower(whole.value(), LightOptions.thirdLight));
}

} // namespace orvanta
