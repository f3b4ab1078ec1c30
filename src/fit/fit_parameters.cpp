// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fit_parameters.h"

#include "core/list_rows.h"
#include "photometry/star_side.h"
#include "physics/light_options.h"
#include "ui/inputs.h"

#include <cmath>

namespace orvanta::fit {

namespace {

/// The box of a parameter: its row's, but the temperature beside the magnitude while the
/// star's selector shows the magnitude row.
template <class Boxes> auto& boxOf(Boxes& c, const FitParameter& p) {
    if (p.input == nullptr)
        throw FitError(std::string(p.name) + " is an option of the light, not a box");
    const InputQuantity& q = *p.input;
    if (q.lightRow == LightRow::Temperature) {
        const ListBoxCtl& selector = q.star == 'a' ? c.List1 : c.List2;
        if (selector.TopIndex == LightRow::Magnitude) return c.*temperatureBesideMagnitude(q.star);
    }
    return c.*(q.box);
}

} // namespace

const std::vector<FitParameter>& fitParameters() {
    static const std::vector<FitParameter> table = [] {
        std::vector<FitParameter> t;
        for (const InputQuantity& q : inputQuantities())
            if (q.fit.fittable())
                t.push_back({q.name, q.unit, q.fit.lower, q.fit.upper, q.unit == "degrees",
                             q.fit.typical, &q});
        // A linear law keeps the light positive up to u1 = 1 (less u2); limb brightening
        // (u1 < 0) is allowed. The third light is a fraction of the whole light below 1.
        t.push_back({LimbA, "", -1, 1, false, 0.1, nullptr});
        t.push_back({LimbB, "", -1, 1, false, 0.1, nullptr});
        t.push_back({ThirdLight, "", 0, 0.99, false, 0.01, nullptr});
        return t;
    }();
    return table;
}

const FitParameter* findFitParameter(std::string_view name) {
    for (const FitParameter& p : fitParameters())
        if (p.name == name) return &p;
    return nullptr;
}

std::string fitParameterNames() {
    std::string s;
    for (const FitParameter& p : fitParameters()) {
        if (!s.empty()) s += ", ";
        s += p.name;
    }
    return s;
}

void prepareBoxes(SimState& s, Controls& c, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const FitParameter* p = findFitParameter(name);
        if (p == nullptr)
            throw FitError("unknown parameter '" + name + "' (one of " + fitParameterNames() + ")");
        if (p->input == nullptr) continue;
        const InputQuantity& q = *p->input;
        if (q.star == 0) continue;
        const bool a = q.star == 'a';
        ListBoxCtl& selector = a ? c.List1 : c.List2;
        if (q.name.starts_with("radius")) {
            if (selector.TopIndex == LightRow::Magnitude)
                throw FitError(name + " follows from the absolute magnitude of star " +
                               (a ? "A" : "B") + "; give its light as a temperature to fit it");
        } else if (q.lightRow == LightRow::Temperature &&
                   selector.TopIndex < LightRow::Temperature) {
            selector.TopIndex = LightRow::Temperature;
            selectorScrolled(s, a ? starA(s, c) : starB(s, c));
        }
    }
}

void prepareBoxes(Form1& f, const std::vector<std::string>& names) {
    prepareBoxes(f, f, names);
}

double readParameter(const Controls& boxes, const FitParameter& p) {
    return Val(boxOf(boxes, p).Text);
}

void writeParameter(Controls& boxes, const FitParameter& p, double value) {
    boxOf(boxes, p).Text = Str(value);
}

double readOption(const physics::LightOptions& light, const FitParameter& p) {
    if (p.name == LimbA) return light.limbA.u1;
    if (p.name == LimbB) return light.limbB.u1;
    if (p.name == ThirdLight) return light.thirdLight;
    throw FitError(std::string(p.name) + " is not an option of the light");
}

void writeOption(physics::LightOptions& light, const FitParameter& p, double value) {
    if (p.name == LimbA)
        light.limbA.u1 = value;
    else if (p.name == LimbB)
        light.limbB.u1 = value;
    else if (p.name == ThirdLight)
        light.thirdLight = value;
    else
        throw FitError(std::string(p.name) + " is not an option of the light");
}

std::string optionsProblem(const physics::LightOptions& light) {
    if (std::string why = physics::limbDarkeningProblem(light.limbA); !why.empty()) return why;
    if (std::string why = physics::limbDarkeningProblem(light.limbB); !why.empty()) return why;
    return physics::thirdLightProblem(light.thirdLight);
}

double reported(const FitParameter& p, double value) {
    if (!p.angle || !std::isfinite(value)) return value;
    double v = std::fmod(value, 360.0);
    if (v <= -180) v += 360;
    if (v > 180) v -= 360;
    return v;
}

} // namespace orvanta::fit
