// SPDX-License-Identifier: GPL-3.0-or-later
// What was read of a velocity file, in words (the reading itself is the light-curve reader's,
// core/observed_data.cpp).
#include "core/velocity_data.h"

#include "core/text_rules.h"

#include <algorithm>
#include <cmath>

namespace orvanta {

namespace {

std::size_t given(const std::vector<double>& v) {
    return static_cast<std::size_t>(
        std::count_if(v.begin(), v.end(), [](double x) { return !std::isnan(x); }));
}

} // namespace

std::size_t VelocitySet::countA() const {
    return given(rvA);
}

std::size_t VelocitySet::countB() const {
    return given(rvB);
}

std::string describeVelocities(const VelocitySet& v) {
    std::string s = v.name + ": radial velocities\n";
    s += "time: " + v.timeColumn.value_or("column 1") + " (" + v.timeSystem;
    if (v.timeOffset != 0) s += ", the file's times + " + Str(v.timeOffset);
    s += ")\nstar A: " + v.rvAColumn.value_or("column 2") + " (km/s)";
    if (v.errorAColumn)
        s += ", error: " + *v.errorAColumn;
    else if (given(v.errorA) > 0)
        s += ", with errors";
    if (v.rvBColumn || given(v.rvB) > 0) {
        s += "\nstar B: " + v.rvBColumn.value_or("column 3") + " (km/s)";
        if (v.errorBColumn)
            s += ", error: " + *v.errorBColumn;
        else if (given(v.errorB) > 0)
            s += ", with errors";
    }
    s += "\n" + std::to_string(v.countA()) + " velocities of star A, " +
         std::to_string(v.countB()) + " of star B";
    if (v.sorted) s += ", put into time order";
    s += "\n";
    if (v.skipped > 0) {
        s += std::to_string(v.skipped) + (v.skipped == 1 ? " row" : " rows") + " skipped:";
        for (std::size_t i = 0; i < v.skippedReasons.size(); ++i)
            s += (i ? "; " : " ") + v.skippedReasons[i];
        s += "\n";
    }
    if (v.period)
        s += "period " + Str(*v.period) + " d" + (v.epoch ? ", epoch " + Str(*v.epoch) : "");
    else if (v.phased)
        s += "phases given: no period needed";
    else
        s += "no period in the file: folded on the model's period";
    return s;
}

} // namespace orvanta
