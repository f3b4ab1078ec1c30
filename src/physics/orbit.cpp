// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit stage: the positions of both stars about the centre of mass and their rotation
// into the observer's view. Periastron at Time 0.
#include "physics/orbit.h"
#include "physics/binary_state.h"
#include "physics/constants.h"
#include "physics/kepler.h"

namespace orvanta {

// Kepler's third law in years, solar masses and astronomical units.
Num orbitalPeriod(const Num& MeanDistance, const Num& MassA, const Num& MassB) {
    const Num x = (MeanDistance * SunRad) / AstroUnit;
    const Num c = BinaryState::pow(x, 3) / (MassA + MassB);
    return BinaryState::sqrt(c);
}

Num meanMotionOf(const Num& Period, const Num& Pi) {
    return (Pi + Pi) / Period;
}

void BinaryState::orbitStage() {
    const Num M = MeanMotion * Time;
    solveKepler(EccAnomaly, M, Eccen, Pi, LoopIndex);

    const Num E = EccAnomaly;
    Separation = MeanDistance * (1 - Eccen * Cos(E));
    TrueAnomaly = acos((Cos(E) - Eccen) / (1 - Eccen * Cos(E)));
    const Num phase = (Time - Int(Time / Period) * Period) / Period;
    if (phase > 0.5) TrueAnomaly = (Pi + Pi) - TrueAnomaly;

    RelX = Separation * Cos(TrueAnomaly);
    RelY = Separation * Sin(TrueAnomaly);
    OrbitXA = (-RelX) / (1 + MassA / MassB);
    OrbitYA = (-RelY) / (1 + MassA / MassB);
    OrbitXB = RelX / (1 + MassB / MassA);
    OrbitYB = RelY / (1 + MassB / MassA);

    CosIncline1 = Cos((Incline1 * Pi) / 180);
    CosIncline2 = Cos((Incline2 * Pi) / 180);
    CosIncline3 = Cos((Incline3 * Pi) / 180);
    SinIncline1 = Sin((Incline1 * Pi) / 180);
    SinIncline2 = Sin((Incline2 * Pi) / 180);
    SinIncline3 = Sin((Incline3 * Pi) / 180);

    // The orbital plane seen edge-on, then turned by Incline3 about the vertical axis,
    // tilted by Incline2 about the horizontal axis and turned by Incline1 about the vertical.
    const Num &c1 = CosIncline1, &c2 = CosIncline2, &c3 = CosIncline3;
    const Num &s1 = SinIncline1, &s2 = SinIncline2, &s3 = SinIncline3;
    auto viewX = [&](const Num& X, const Num& Y) {
        return X * (c3 * c1 - (c2 * s1) * s3) + Y * ((-s3) * c1 - (c2 * s1) * c3);
    };
    auto depth = [&](const Num& X, const Num& Y) {
        return X * (c3 * s1 + (c2 * c1) * s3) + Y * ((-s3) * s1 + (c2 * c1) * c3);
    };
    auto viewY = [&](const Num& X, const Num& Y) { return (X * s2) * s3 + (Y * s2) * c3; };
    ViewXA = viewX(OrbitXA, OrbitYA);
    DepthA = depth(OrbitXA, OrbitYA);
    ViewYA = viewY(OrbitXA, OrbitYA);
    ViewXB = viewX(OrbitXB, OrbitYB);
    DepthB = depth(OrbitXB, OrbitYB);
    ViewYB = viewY(OrbitXB, OrbitYB);

    ProjDistance = sqrt(pow(ViewXA - ViewXB, 2) + pow(ViewYA - ViewYB, 2));
}

} // namespace orvanta
