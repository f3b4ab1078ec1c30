// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/curve_table.h"
#include "core/list_rows.h"

#include "core/projected_orbit.h"
#include "form1.h"
#include "physics/evaluator.h"
#include "physics/photometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orvanta {

namespace {

/// The box's text on one line, so the comment stays one line.
std::string oneLine(const std::string& text) {
    std::string s = text;
    for (char& c : s)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return s;
}

/// "MassA / SunMass = 3.59": the caption beside a box, then the box as shown.
void addInput(std::string& line, const std::string& caption, const TextBoxCtl& box) {
    if (!line.empty()) line += "; ";
    line += caption;
    line += ' ';
    line += oneLine(box.Text);
}

void addStar(std::string& line, const ListBoxCtl& selector, const TextBoxCtl& value,
             const LabelCtl& temperatureCaption, const TextBoxCtl& temperature,
             const ComboBoxCtl& type, const LabelCtl& typeCaption) {
    if (!type.Text().empty()) {
        line += "; ";
        line += typeCaption.Caption;
        line += ' ';
        line += type.Text();
    }
    addInput(line, selector.Items.at(selector.TopIndex), value);
    // The magnitude row reads a temperature too.
    if (selector.TopIndex == LightRow::Magnitude)
        addInput(line, temperatureCaption.Caption, temperature);
}

/// A quantity of the table of the inputs with its caption.
void addNamed(std::string& line, const Controls& f, std::string_view name) {
    const InputQuantity& q = *inputNamed(name);
    addInput(line, (f.*(q.caption)).Caption, f.*(q.box));
}

std::string inputsLine(const Controls& f) {
    std::string line;
    for (const char* name : {"mass-a", "mass-b", "radius-a", "radius-b"})
        addNamed(line, f, name);
    addStar(line, f.List1, f.Text11, f.Label41, f.Text16, f.Combo1, f.Label39);
    addStar(line, f.List2, f.Text12, f.Label42, f.Text17, f.Combo2, f.Label40);
    for (const char* name :
         {"distance", "eccentricity", "incline1", "incline2", "incline3", "steps"})
        addNamed(line, f, name);
    line += "; ";
    line += f.Label30.Caption; // "Period / Day ="
    line += ' ';
    line += f.Label31.Caption;
    return line;
}

} // namespace

CurveTable LightCurveTable(const Controls& boxes, const CurveOptions& options) {
    // The boxes are read as a plot reads them, into a state and controls of the table's own
    // (no window object, no drawing surface).
    Controls c;
    c.copyValuesFrom(boxes);
    SimState s;
    s.Pi = PiLiteral;
    s.Time = 0;
    s.LightOptions = options.light;
    readInputs(s, c); // on the magnitude row this also writes the derived radius into its box

    CurveTable table;
    table.inputs = inputsLine(c);
    table.periodDays = (s.Period * DaysPerYear).value();
    table.rows.reserve(SweepSteps + 1);
    table.options = options;

    // A fresh evaluator: the sweep a fresh window makes, warm start 0, so equal boxes give
    // equal digits. The options go with the parameters.
    Evaluator ev(parametersOf(s));
    ev.sweep([&](const BinaryState& b) {
        table.rows.push_back({(b.Time / b.Period).value(), (DaysPerYear * b.Time).value(),
                              b.PowerSum.value(), magnitudeOfPower(b.PowerSum).value(),
                              eclipseNow(b)});
        if (options.velocities) {
            const auto v = velocitiesNow(b);
            table.rows.back().rvA = options.gamma + v.a;
            table.rows.back().rvB = options.gamma + v.b;
        }
    });
    if (options.velocities) {
        const auto orbit = projectedOrbitOf(ev.state());
        const auto K = physics::amplitudes(orbit);
        table.kA = K.a;
        table.kB = K.b;
        table.sinI = physics::sinInclination(orbit);
    }
    return table;
}

std::string CurveCsv(const CurveTable& table) {
    std::string csv;
    csv.reserve(64 * (table.rows.size() + 4));
    csv += "# Orvanta light curve: ";
    csv += table.inputs;
    csv += "\n# period = ";
    csv += Str(table.periodDays);
    csv += " d\n";
    const CurveOptions& o = table.options;
    if (o.light.any()) {
        csv += "# options: third light = " + Str(o.light.thirdLight);
        for (const auto& [star, law] : {std::pair{"A", o.light.limbA}, {"B", o.light.limbB}})
            csv += std::string("; limb darkening ") + star + " u1 = " + Str(law.u1) +
                   ", u2 = " + Str(law.u2);
        csv += '\n';
    }
    if (o.velocities) {
        const double degrees = std::asin(std::min(1.0, table.sinI)) * 180 / 3.141592653589793;
        csv += "# velocities: gamma = " + Str(o.gamma) + " km/s; K_A = " + Str(table.kA) +
               " km/s; K_B = " + Str(table.kB) + " km/s; sin i = " + Str(table.sinI) +
               "; i = " + Str(degrees) + " deg\n";
        csv += "phase,time_days,power_w,magnitude,eclipse,rv_a_km_s,rv_b_km_s\n";
    } else {
        csv += "phase,time_days,power_w,magnitude,eclipse\n";
    }
    for (const CurveRow& r : table.rows) {
        csv += Str(r.phase);
        csv += ',';
        csv += Str(r.timeDays);
        csv += ',';
        csv += Str(r.power);
        csv += ',';
        csv += Str(r.magnitude);
        csv += ',';
        csv += eclipseText(r.eclipse);
        if (o.velocities) {
            csv += ',';
            csv += Str(r.rvA);
            csv += ',';
            csv += Str(r.rvB);
        }
        csv += '\n';
    }
    return csv;
}

} // namespace orvanta
