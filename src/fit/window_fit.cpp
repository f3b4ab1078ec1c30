// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/window_fit.h"
#include "fit/figures.h"

#include "core/list_rows.h"
#include "form1.h"
#include "ui/inputs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orvanta::fit {

namespace {

/// Every box a fit may type into or a selector's move may convert.
std::vector<TextBoxCtl Controls::*> boxesOfTheInputs() {
    std::vector<TextBoxCtl Controls::*> boxes;
    for (const InputQuantity& q : inputQuantities()) {
        bool known = false;
        for (const auto b : boxes)
            known = known || b == q.box;
        if (!known) boxes.push_back(q.box);
    }
    boxes.push_back(temperatureBesideMagnitude('a'));
    boxes.push_back(temperatureBesideMagnitude('b'));
    return boxes;
}

std::string withError(double value, double error) {
    return fit::withError(value, error, "\u00b1");
}

} // namespace

std::vector<std::string> defaultWindowFree() {
    return {"radius-a", "radius-b", "temperature-b", "incline2"};
}

std::string cannotFitWhy(const Form1& f) {
    if (!f.observed.shown())
        return "There is no observed light curve to fit: open one first (Ctrl+O).";
    return {};
}

WindowFit windowFit(const Form1& f, const std::vector<std::string>& free) {
    if (const std::string why = cannotFitWhy(f); !why.empty()) throw FitError(why);
    if (free.empty()) throw FitError("Tick at least one parameter to fit.");
    BoxModel model(f, free, f.LightOptions);
    const ObservedSet& set = *f.observed.set();
    const std::optional<double> period = set.phased   ? std::nullopt
                                         : set.period ? set.period
                                                      : std::optional(model.periodDays());
    Observations data =
        observationsOf(set, f.List3.TopIndex == GraphRow::Magnitude, period, set.epoch);
    std::vector<double> start = model.start();
    return {free, std::move(model), std::move(data), std::move(start)};
}

BoxesBefore applyFit(Form1& f, const WindowFit& fit, const FitResult& result) {
    BoxesBefore before;
    for (const auto box : boxesOfTheInputs())
        before.texts.push_back((f.*box).Text);
    before.rowA = f.List1.TopIndex;
    before.rowB = f.List2.TopIndex;
    before.previousA = f.PrevQuantityA;
    before.previousB = f.PrevQuantityB;
    before.captionA = f.Label4.Caption;
    before.captionB = f.Label3.Caption;
    before.light = f.LightOptions;

    std::vector<double> values;
    for (const ParameterResult& p : result.parameters)
        values.push_back(p.value);
    f.Run([&] {
        // The boxes may have changed while the fit ran: a radius the magnitude row now
        // derives is left as the row makes it.
        std::vector<std::string> free;
        for (const std::string& name : fit.free) {
            const FitParameter* p = findFitParameter(name);
            const bool derived =
                name.starts_with("radius") &&
                (name.back() == 'a' ? f.List1 : f.List2).TopIndex == LightRow::Magnitude;
            if (p != nullptr && !derived) free.push_back(name);
        }
        prepareBoxes(f, free);
        physics::LightOptions light = f.LightOptions;
        const double distance0 = Val(inputBox(f, "distance").Text);
        for (std::size_t j = 0; j < fit.free.size() && j < values.size(); ++j) {
            const FitParameter& p = *findFitParameter(fit.free[j]);
            bool kept = false;
            for (const std::string& name : free)
                kept = kept || name == p.name;
            if (!kept) continue;
            if (p.input == nullptr)
                writeOption(light, p, values[j]);
            else
                writeParameter(f, p, values[j]);
        }
        // A fitted distance keeps the period, as in the fit: the masses follow it.
        const double r = Val(inputBox(f, "distance").Text) / distance0;
        if (r != 1 && std::isfinite(r)) {
            inputBox(f, "mass-a").Text = Str(Val(inputBox(f, "mass-a").Text) * r * r * r);
            inputBox(f, "mass-b").Text = Str(Val(inputBox(f, "mass-b").Text) * r * r * r);
        }
        if (optionsProblem(light).empty()) f.LightOptions = light;
        f.Plot_Click();
    });
    return before;
}

void undoFit(Form1& f, const BoxesBefore& before) {
    f.Run([&] {
        const auto boxes = boxesOfTheInputs();
        for (std::size_t i = 0; i < boxes.size() && i < before.texts.size(); ++i)
            (f.*boxes[i]).Text = before.texts[i];
        f.List1.TopIndex = before.rowA;
        f.List2.TopIndex = before.rowB;
        f.PrevQuantityA = before.previousA;
        f.PrevQuantityB = before.previousB;
        f.Label4.Caption = before.captionA;
        f.Label3.Caption = before.captionB;
        f.LightOptions = before.light;
        f.Plot_Click();
    });
}

std::string fitSummary(const WindowFit& fit, const FitResult& result) {
    const std::string unit = fit.data.magnitudes ? " mag" : " (relative flux)";
    std::string s = fit.data.name + ": ";
    if (result.chi2Reduced) s += "\u03c7\u00b2\u1d63 " + digits(*result.chi2Reduced, 3) + ", ";
    s += "rms " + digits(result.robustRms, 2) + unit;
    if (result.outliers > 0)
        s += " (" + std::to_string(result.outliers) +
             (result.outliers == 1 ? " outlier" : " outliers") + " left out)";
    s += ", " + std::to_string(result.points) + " points, " + std::to_string(result.iterations) +
         " iterations\n";
    for (std::size_t p = 0; p < result.parameters.size(); ++p) {
        const ParameterResult& r = result.parameters[p];
        const std::string_view u = fit.model.parameters()[p]->unit;
        const std::string withUnit = u.empty() ? "" : " " + std::string(u);
        s += r.name + " = ";
        s += r.error ? withError(r.value, *r.error) + withUnit
                     : digits(r.value, 6) + withUnit + " (" + r.note + ")";
        s += "\n";
    }
    for (const Alternative& a : result.alternatives) {
        s += "Nearly as good:";
        for (std::size_t p = 0; p < a.values.size(); ++p)
            s += " " + result.parameters[p].name + " " +
                 digits(reported(*fit.model.parameters()[p], a.values[p]), 6);
        s += "\n";
    }
    s += "Ctrl+Z puts the values before the fit back.";
    return s;
}

} // namespace orvanta::fit
