// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/found_period.h"

#include <charconv>

namespace orvanta {

namespace {

/// Days with four decimals, "." whatever the locale.
std::string days(double d) {
    char text[48];
    const auto end = std::to_chars(text, text + sizeof text, d, std::chars_format::fixed, 4);
    return {text, end.ptr};
}

} // namespace

bool needsPeriodSearch(const ObservedSet& set) {
    return !set.phased && !set.period && !set.time.empty();
}

double FoundPeriod::periodDays() const {
    return alternativeInUse && result.alternativeDays ? *result.alternativeDays : result.periodDays;
}

bool FoundPeriod::switchCandidate() {
    if (!uncertain()) return false;
    alternativeInUse = !alternativeInUse;
    return true;
}

std::string FoundPeriod::note() const {
    std::string text = "period " + days(periodDays()) + " d found in the data";
    if (uncertain())
        text += ", or " + days(alternativeInUse ? result.periodDays : *result.alternativeDays) +
                " d (Ctrl+Alt+P)";
    return text;
}

FoundPeriod findPeriodOf(const ObservedSet& set, const analysis::SearchProgress& progress) {
    FoundPeriod found;
    // Magnitudes relative to the level out of eclipse: larger is fainter, as the search
    // wants.
    found.result =
        analysis::findPeriod(set.time, set.mag, {}, progress, analysis::Dimming::Magnitudes);
    return found;
}

void applyFoundPeriod(ObservedSet& set, const FoundPeriod& found) {
    set.period = found.periodDays();
    set.epoch = found.result.epoch;
}

std::string periodNotFoundText(const std::string& name, const std::string& why) {
    return "No period found in " + name + ":\n" + why;
}

} // namespace orvanta
