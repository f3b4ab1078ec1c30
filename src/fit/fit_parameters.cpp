// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fit_parameters.h"

#include "form1.h"

#include <cmath>

namespace orvanta::fit {

namespace {

/// The box of a parameter, once the star's selector shows a temperature where one is free.
template <class Boxes> auto& boxOf(Boxes& c, std::string_view name) {
    if (name == "radius-a") return c.Text9;
    if (name == "radius-b") return c.Text10;
    if (name == "temperature-a") return c.List1.TopIndex == 3 ? c.Text16 : c.Text11;
    if (name == "temperature-b") return c.List2.TopIndex == 3 ? c.Text17 : c.Text12;
    if (name == "eccentricity") return c.Text3;
    if (name == "incline1") return c.Text4;
    if (name == "incline2") return c.Text5;
    if (name == "incline3") return c.Text6;
    if (name == "distance") return c.Text1;
    if (name == "mass-a") return c.Text7;
    if (name == "mass-b") return c.Text8;
    throw FitError("unknown parameter '" + std::string(name) + "'");
}

} // namespace

const std::vector<FitParameter>& fitParameters() {
    static const std::vector<FitParameter> table = {
        {"mass-a", "solar masses", 1e-3, 1e4, false, 0.1},
        {"mass-b", "solar masses", 1e-3, 1e4, false, 0.1},
        {"radius-a", "solar radii", 1e-3, 1e4, false, 0.1},
        {"radius-b", "solar radii", 1e-3, 1e4, false, 0.1},
        {"temperature-a", "K", 500, 1e6, false, 100},
        {"temperature-b", "K", 500, 1e6, false, 100},
        {"distance", "solar radii", 1e-3, 1e6, false, 0.1},
        {"eccentricity", "", 0, 0.95, false, 0.1},
        {"incline1", "degrees", -1e4, 1e4, true, 10},
        {"incline2", "degrees", -1e4, 1e4, true, 10},
        {"incline3", "degrees", -1e4, 1e4, true, 10},
    };
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

void prepareBoxes(Form1& f, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (findFitParameter(name) == nullptr)
            throw FitError("unknown parameter '" + name + "' (one of " + fitParameterNames() + ")");
        const bool a = name.back() == 'a';
        ListBoxCtl& selector = a ? f.List1 : f.List2;
        if ((name == "radius-a" || name == "radius-b") && selector.TopIndex == 3)
            throw FitError(name + " follows from the absolute magnitude of star " +
                           (a ? "A" : "B") + "; give its light as a temperature to fit it");
        if ((name == "temperature-a" || name == "temperature-b") && selector.TopIndex < 2) {
            selector.TopIndex = 2;
            if (a)
                f.List1_Scroll();
            else
                f.List2_Scroll();
        }
    }
}

double readParameter(const Controls& boxes, const FitParameter& p) {
    return Val(boxOf(boxes, p.name).Text);
}

void writeParameter(Controls& boxes, const FitParameter& p, double value) {
    boxOf(boxes, p.name).Text = Str(value);
}

double reported(const FitParameter& p, double value) {
    if (!p.angle || !std::isfinite(value)) return value;
    double v = std::fmod(value, 360.0);
    if (v <= -180) v += 360;
    if (v > 180) v -= 360;
    return v;
}

} // namespace orvanta::fit
