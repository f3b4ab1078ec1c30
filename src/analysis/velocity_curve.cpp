// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/velocity_curve.h"

#include "core/projected_orbit.h"

namespace orvanta::analysis {

VelocityCurve velocityCurveOf(const Parameters& p) {
    Evaluator ev(p);
    const double period = ev.period();
    VelocityCurve curve;
    ev.sweep([&](const BinaryState& s) {
        const physics::StarVelocities v = velocitiesNow(s);
        curve.phase.push_back(s.Time.value() / period);
        curve.a.push_back(v.a);
        curve.b.push_back(v.b);
    });
    return curve;
}

} // namespace orvanta::analysis
