// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/projected_orbit.h"

namespace orvanta {

physics::ProjectedOrbit projectedOrbitOf(const BinaryState& s) {
    const double c1 = s.CosIncline1.value(), c2 = s.CosIncline2.value();
    const double c3 = s.CosIncline3.value(), s1 = s.SinIncline1.value();
    const double s3 = s.SinIncline3.value();
    physics::ProjectedOrbit o;
    o.meanDistance = s.MeanDistance.value();
    o.eccen = s.Eccen.value();
    o.meanMotion = s.MeanMotion.value();
    o.massA = s.MassA.value();
    o.massB = s.MassB.value();
    // The depth row of the orbit stage's rotation.
    o.depthX = c3 * s1 + (c2 * c1) * s3;
    o.depthY = (-s3) * s1 + (c2 * c1) * c3;
    return o;
}

physics::StarVelocities velocitiesNow(const BinaryState& s) {
    return physics::lineOfSight(projectedOrbitOf(s), s.EccAnomaly.value());
}

} // namespace orvanta
