// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/worksheet.h"

#include "form1.h"
#include "ui/inputs.h"

#include <charconv>
#include <cmath>

namespace orvanta {

std::string figure(double value) {
    if (!std::isfinite(value)) return "-";
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
    return std::string(text, end.ptr);
}

std::vector<WorksheetRow> inputRows(const Controls& c) {
    std::vector<WorksheetRow> rows;
    for (const InputQuantity& q : inputQuantities()) {
        const ListBoxCtl* selector = q.star == 'a' ? &c.List1 : q.star == 'b' ? &c.List2 : nullptr;
        std::string caption;
        if (q.lightRow >= 0) {
            if (selector == nullptr || selector->TopIndex != q.lightRow) continue;
            const auto row = static_cast<std::size_t>(q.lightRow);
            if (row < selector->Items.size()) caption = selector->Items[row];
        } else if (q.caption != nullptr) {
            caption = (c.*q.caption).Caption;
        }
        if (caption.empty()) caption = std::string(q.name);
        if (q.star != 0) caption += q.star == 'a' ? " (A)" : " (B)";
        rows.push_back({"Inputs", caption, (c.*q.box).Text, "", "", std::string(q.unit)});
    }
    return rows;
}

std::vector<WorksheetRow> residualRows(const RobustFigures& f, const std::string& unit) {
    std::vector<WorksheetRow> rows = {
        {"Residuals", "points", std::to_string(f.points), "", "", ""},
        {"Residuals", "outliers (beyond 5 robust sigma)", std::to_string(f.outliers), "", "", ""},
        {"Residuals", "robust rms", figure(f.robustRms), "", "", unit},
    };
    if (f.chi2Reduced)
        rows.push_back({"Residuals", "reduced chi-square", figure(*f.chi2Reduced), "", "", ""});
    return rows;
}

std::vector<WorksheetRow> measurementRows(const analysis::Measurement& m,
                                          const analysis::ModelFigures& model) {
    std::vector<WorksheetRow> rows;
    auto add = [&](const std::string& what, double value, const std::string& beside,
                   const std::string& unit) {
        rows.push_back({"Measurement", what, figure(value), "", beside, unit});
    };
    for (const auto& [name, e] :
         {std::pair{"primary", &m.primary}, std::pair{"secondary", &m.secondary}}) {
        const std::string eclipse = std::string(name) + " eclipse ";
        add(eclipse + "duration", e->duration, "", "phase");
        add(eclipse + "duration", e->durationDays, "", "days");
        add(eclipse + "depth", e->depth, "", "flux");
        if (e->innerDuration) {
            add(eclipse + "totality", *e->innerDuration, "", "phase");
            add(eclipse + "totality", *e->innerDurationDays, "", "days");
        }
    }
    add("inclination (from the boxes)", model.inclinationDeg, figure(model.inclinationDeg),
        "degrees");
    add("(R_A + R_B) / a", m.sumOfRadii, figure(model.sumOfRadii), "");
    if (m.differenceOfRadii)
        add("|R_A - R_B| / a", *m.differenceOfRadii, figure(model.differenceOfRadii), "");
    if (m.surfaceFluxRatio)
        add("surface flux ratio (from the depths)", *m.surfaceFluxRatio,
            model.surfaceFluxRatio ? figure(*model.surfaceFluxRatio) : "", "");
    return rows;
}

std::vector<WorksheetRow> fitRows(const std::vector<FittedValue>& values,
                                  std::optional<double> chi2Reduced) {
    std::vector<WorksheetRow> rows;
    for (const FittedValue& v : values)
        rows.push_back(
            {"Fit", v.name, figure(v.value), v.error ? figure(*v.error) : v.note, "", ""});
    if (chi2Reduced)
        rows.push_back({"Fit", "reduced chi-square", figure(*chi2Reduced), "", "", ""});
    return rows;
}

bool atPhases(Form1& f, std::span<const double> phases, const std::function<void(double)>& shown) {
    const SimState state = f;
    const Surface surface = f;
    Controls controls;
    controls.copyValuesFrom(f);
    bool whole = true;
    try {
        for (double phase : phases) {
            f.Time = Num(phase) * f.Period;
            f.Main();
            f.Draw();
            shown(phase);
        }
    } catch (const RuntimeError&) {
        whole = false;
    }
    static_cast<SimState&>(f) = state;
    static_cast<Surface&>(f) = surface;
    f.copyValuesFrom(controls);
    return whole;
}

namespace {

std::string field(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char ch : text) {
        if (ch == '"') quoted += '"';
        quoted += ch;
    }
    return quoted + '"';
}

} // namespace

std::string worksheetCsv(const std::vector<WorksheetRow>& rows) {
    std::string csv = "section,quantity,value,error,model,unit\n";
    for (const WorksheetRow& r : rows)
        csv += field(r.section) + ',' + field(r.quantity) + ',' + field(r.value) + ',' +
               field(r.error) + ',' + field(r.model) + ',' + field(r.unit) + '\n';
    return csv;
}

} // namespace orvanta
