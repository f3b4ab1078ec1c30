// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit stage: Kepler's equation, the positions of both stars about the centre of mass
// and their rotation into the observer's view. Periastron at Time 0.
#include "form1.h"

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

void Form1::OrbitStage() {
    const Num M = MeanMotion * Time;
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
