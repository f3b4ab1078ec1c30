// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit stage: Kepler's equation, the positions of both stars about the centre of mass
// and their rotation into the observer's view. Periastron at Time 0.
#include "core/form1.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace orvanta {

namespace {
// Kepler's residual E - e sin E - M, reduced by whole turns into -pi..pi (radians).
double keplerResidual(double E, double e, double M) {
    constexpr double Turn = 2 * PiLiteral;
    const double r = E - e * std::sin(E) - M;
    return r - Turn * std::nearbyint(r / Turn);
}
} // namespace

void Form1::OrbitStage() {
    const Num M = MeanMotion * Time;
    // Exactly 100 Newton steps. A step is a function of E alone (M fixed), so once a step
    // returns its own input every further step would too: stopping there gives the same
    // digits as running all 100.
    auto newton = [&] {
        for (LoopIndex = 1; LoopIndex <= 100; ++LoopIndex) {
            const Num E = EccAnomaly;
            const Num s = Sin(E);
            const Num c = Cos(E);
            const Num p = Eccen * s;
            const Num q = Eccen * c - 1;
            EccAnomaly = E - ((M + p) - E) / q;
            if (std::bit_cast<std::uint64_t>(EccAnomaly.value()) ==
                std::bit_cast<std::uint64_t>(E.value())) {
                LoopIndex = 101;
                break;
            }
        }
    };
    newton();
    // The warm start from the previous solution can cycle for ever (at e = 0.5 and M = pi a
    // start at 0 jumps between 0 and 2 pi). Where it has not converged, start again from a
    // point where Newton's method converges for every |e| < 1 and every M.
    if (Abs(Eccen) < 1 &&
        std::fabs(keplerResidual(EccAnomaly.value(), Eccen.value(), M.value())) > 1e-9) {
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
