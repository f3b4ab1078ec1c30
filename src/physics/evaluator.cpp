// SPDX-License-Identifier: GPL-3.0-or-later
#include "physics/evaluator.h"

#include "physics/constants.h"
#include "physics/orbit.h"
#include "physics/photometry.h"

namespace orvanta {

Parameters parametersOf(const BinaryState& s) {
    Parameters p;
    p.massA = s.MassA.value();
    p.massB = s.MassB.value();
    p.radiusA = s.RadiusA.value();
    p.radiusB = s.RadiusB.value();
    p.fluxA = s.FluxA.value();
    p.fluxB = s.FluxB.value();
    p.distance = s.MeanDistance.value();
    p.eccentricity = s.Eccen.value();
    p.incline1 = s.Incline1.value();
    p.incline2 = s.Incline2.value();
    p.incline3 = s.Incline3.value();
    p.light = s.LightOptions;
    return p;
}

Evaluator::Evaluator(const Parameters& p) {
    BinaryState& s = state_;
    s.MassA = p.massA;
    s.MassB = p.massB;
    s.MeanDistance = p.distance;
    s.Eccen = p.eccentricity;
    s.Incline1 = p.incline1;
    s.Incline2 = p.incline2;
    s.Incline3 = p.incline3;
    s.RadiusA = p.radiusA;
    s.RadiusB = p.radiusB;
    s.FluxA = p.fluxA;
    s.FluxB = p.fluxB;
    s.LightOptions = p.light;
    s.Pi = PiLiteral;
    s.Time = 0;
    // In the order of the window's reading of its boxes, so the first fault is the same.
    s.Period = orbitalPeriod(s.MeanDistance, s.MassA, s.MassB);
    s.MeanMotion = meanMotionOf(s.Period, s.Pi);
    fullPower_ = fullDiscPower(s.FluxA, s.RadiusA, s.FluxB, s.RadiusB, s.Pi);
    if (s.LightOptions.thirdLight != 0)
        fullPower_ = fullPower_ +
                     Num(physics::thirdLightPower(fullPower_.value(), s.LightOptions.thirdLight));
}

void Evaluator::evaluate(const Num& time) {
    ++evaluations_;
    state_.Time = time;
    state_.orbitStage();
    state_.lightStage();
}

CurveSample Evaluator::sample() const {
    return {state_.Time.value(), state_.PowerSum.value(), eclipseNow(state_)};
}

CurveSample Evaluator::at(double time) {
    evaluate(time);
    return sample();
}

std::vector<CurveSample> Evaluator::at(std::span<const double> times) {
    std::vector<CurveSample> out;
    out.reserve(times.size());
    for (const double t : times)
        out.push_back(at(t));
    return out;
}

std::vector<CurveSample> Evaluator::sweep() {
    std::vector<CurveSample> out;
    out.reserve(SweepSteps + 1);
    sweep([&](const BinaryState&) { out.push_back(sample()); });
    return out;
}

} // namespace orvanta
