// SPDX-License-Identifier: GPL-3.0-or-later
// The observed points and the window: the graph they are placed on, the title that shows
// the fit, and the messages about a file.
#include "render/observed_fit.h"

#include "core/light_options_text.h"
#include "form1.h"

#include <cmath>

namespace orvanta {

void Form1::refreshObserved() {
    ObservedOverlay::Graph g;
    if (observed.shown()) {
        g.period = Period.value();
        g.maxPower = MaxPowerSum.value();
        g.mode = List3.TopIndex;
        g.graphMag = GraphMag.value();
        g.graphBase = GraphBase.value();
        g.axisY = AxisY.value();
        try {
            g.maxShown = num(PowerToAll(MaxPowerSum, g.mode)).value();
        } catch (const RuntimeError&) {
            g.maxShown = NAN; // no light to place the points on: they are hidden
        }
    }
    observed.update(g);
}

std::string Form1::windowTitle() const {
    std::string title = WindowCaption;
    if (LightOptions.any()) title += " \u2014 " + lightOptionsCaption(LightOptions);
    if (observed.shown()) title += " \u2014 " + observed.caption();
    return title;
}

std::string observedErrorText(const std::string& name, const std::string& what) {
    return "Cannot use " + name + ":\n" + what;
}

std::string observedSkippedText(const ObservedSet& set) {
    if (set.skipped == 0) return {};
    std::string lines;
    const std::size_t shown = set.skippedLines.size();
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) lines += i + 1 == shown && set.skipped == shown ? " and " : ", ";
        lines += std::to_string(set.skippedLines[i]);
    }
    if (set.skipped > shown) lines += ", ...";
    const bool one = set.skipped == 1;
    return set.name + ": " + std::to_string(set.skipped) + (one ? " row" : " rows") +
           " could not be read and " + (one ? "was" : "were") + " skipped (" +
           (one ? "line " : "lines ") + lines + ").";
}

} // namespace orvanta
