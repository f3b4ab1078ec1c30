// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/curve_model.h"

#include "form1.h"
#include "physics/photometry.h"
#include "ui/inputs.h"

#include <cmath>

namespace orvanta::fit {

namespace {

/// A value as its box holds it once typed in: the 15 digits of the general format.
double asTyped(double value) {
    return Val(Str(value));
}

/// The surface flux of a star whose light Plot reads in `row`, and, in the magnitude row,
/// the radius the magnitude gives; the same operations as the reading of the boxes.
Num starLight(int row, double value, double temperature, double& radius) {
    switch (row) {
    case 1:
        return fluxOfLuminosity(Num(value), Num(radius), Num(PiLiteral));
    case 2:
        return fluxOfTemperature(Num(temperature));
    case 3: {
        const Num T(temperature);
        const Num flux = fluxOfTemperature(T);
        const Num bolometric = bolometricMagnitude(Num(value), logTemperatureX(T));
        radius = radiusOfMagnitude(bolometric, T).value();
        return flux;
    }
    default:
        return Num(value);
    }
}

} // namespace

BoxModel::BoxModel(const Controls& boxes, const std::vector<std::string>& free,
                   const physics::LightOptions& light) {
    auto c = std::make_unique<Controls>();
    c->copyValuesFrom(boxes);
    auto s = std::make_unique<SimState>();
    s->PrevQuantityA = c->List1.TopIndex;
    s->PrevQuantityB = c->List2.TopIndex;
    s->Pi = PiLiteral;
    s->LightOptions = light;
    for (const std::string& name : free) {
        const FitParameter* p = findFitParameter(name);
        if (p == nullptr)
            throw FitError("unknown parameter '" + name + "' (one of " + fitParameterNames() + ")");
        for (const FitParameter* q : free_)
            if (q == p) throw FitError("parameter '" + name + "' is named twice");
        free_.push_back(p);
        freeDistance_ = freeDistance_ || name == "distance";
        freeOptions_ = freeOptions_ || p->input == nullptr;
    }
    try {
        prepareBoxes(*s, *c, free);
        readInputs(*s, *c);
        const auto lightOf = [](const Controls& k, const ListBoxCtl& selector, char star) {
            StarLight l;
            l.row = selector.TopIndex;
            const TextBoxCtl& value = star == 'a' ? k.Text11 : k.Text12;
            if (l.row == 1 || l.row == 3) l.value = Val(value.Text);
            if (l.row == 2) l.temperature = Val(value.Text);
            if (l.row == 3) l.temperature = Val((k.*temperatureBesideMagnitude(star)).Text);
            if (l.row == 0) l.value = Val(value.Text);
            return l;
        };
        lightA_ = lightOf(*c, c->List1, 'a');
        lightB_ = lightOf(*c, c->List2, 'b');
        for (const FitParameter* p : free_)
            start_.push_back(p->input != nullptr ? readParameter(*c, *p) : readOption(light, *p));
        distance0_ = Val(inputBox(*c, "distance").Text);
        massA0_ = Val(inputBox(*c, "mass-a").Text);
        massB0_ = Val(inputBox(*c, "mass-b").Text);
    } catch (const RuntimeError& e) {
        throw FitError("the starting values cannot be used: " + e.message);
    }
    base_ = parametersOf(*s);
    period0_ = (s->Period * DaysPerYear).value();
}

std::unique_ptr<CurveModel> BoxModel::clone() const {
    return std::make_unique<BoxModel>(*this);
}

Parameters BoxModel::parametersWith(const std::vector<double>& values) const {
    Parameters p = base_;
    double temperatureA = lightA_.temperature, temperatureB = lightB_.temperature;
    for (std::size_t j = 0; j < free_.size(); ++j) {
        const std::string_view name = free_[j]->name;
        const double v = asTyped(values[j]);
        if (name == "mass-a") p.massA = v;
        if (name == "mass-b") p.massB = v;
        if (name == "radius-a") p.radiusA = v;
        if (name == "radius-b") p.radiusB = v;
        if (name == "temperature-a") temperatureA = v;
        if (name == "temperature-b") temperatureB = v;
        if (name == "distance") p.distance = v;
        if (name == "eccentricity") p.eccentricity = v;
        if (name == "incline1") p.incline1 = v;
        if (name == "incline2") p.incline2 = v;
        if (name == "incline3") p.incline3 = v;
        if (free_[j]->input == nullptr) writeOption(p.light, *free_[j], values[j]);
    }
    // The data fix the period; Kepler's third law then carries the masses with the orbit's
    // size. The masses themselves change nothing in phase: they stay as typed.
    if (freeDistance_) {
        const double r = p.distance / distance0_;
        p.massA = asTyped(massA0_ * r * r * r);
        p.massB = asTyped(massB0_ * r * r * r);
    }
    p.fluxA = starLight(lightA_.row, lightA_.value, temperatureA, p.radiusA).value();
    p.fluxB = starLight(lightB_.row, lightB_.value, temperatureB, p.radiusB).value();
    return p;
}

bool BoxModel::flux(const std::vector<double>& values, const std::vector<double>& phases,
                    std::vector<double>& out) {
    out.resize(phases.size());
    try {
        const Parameters p = parametersWith(values);
        if (freeOptions_ && !optionsProblem(p.light).empty()) return false;
        // Each curve from a fresh evaluator: the same start, whatever ran before.
        Evaluator ev(p);
        const Num period(ev.period());
        const Num full(ev.fullPower());
        for (std::size_t i = 0; i < phases.size(); ++i) {
            const CurveSample s = ev.at((Num(phases[i]) * period).value());
            out[i] = (Num(s.power) / full).value();
        }
    } catch (const RuntimeError&) {
        return false;
    }
    return true;
}

} // namespace orvanta::fit
