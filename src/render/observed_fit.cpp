// SPDX-License-Identifier: GPL-3.0-or-later
// The observed points and the window: the graph they are placed on, the title that shows
// the fit, and the messages about a file.
#include "render/observed_fit.h"
#include "core/list_rows.h"

#include "core/light_options_text.h"
#include "core/text_rules.h"
#include "form1.h"

#include <cmath>

namespace orvanta {

namespace {

/// v rounded to two significant digits.
double twoDigits(double v) {
    if (!(v > 0) || !std::isfinite(v)) return v;
    const double k = 1 - std::floor(std::log10(v)); // 10^k is exact for |k| <= 22
    if (k >= 0) return std::round(v * std::pow(10.0, k)) / std::pow(10.0, k);
    return std::round(v / std::pow(10.0, -k)) * std::pow(10.0, -k);
}

/// v rounded to three significant digits.
double threeDigits(double v) {
    if (!(v > 0) || !std::isfinite(v)) return v;
    const double k = 2 - std::floor(std::log10(v));
    if (k >= 0) return std::round(v * std::pow(10.0, k)) / std::pow(10.0, k);
    return std::round(v / std::pow(10.0, -k)) * std::pow(10.0, -k);
}

} // namespace

std::string ObservedOverlay::caption() const {
    if (!set_) return {};
    const ObservedSet& s = *set_;
    std::string c = s.name;
    if (s.bands.size() > 1 && s.band) c += " [" + *s.band + "]";
    c += ": " + std::to_string(s.time.size()) + " points";
    if (thinned() && !used_.empty())
        c += " (" + std::to_string(used_.size()) + " drawn, one per pixel)";
    if (rms_ && graph_ && std::isfinite(*rms_)) {
        // The rms of the points that are not outliers; the outliers counted beside it.
        const std::size_t outliers = figures_ ? figures_->outliers : 0;
        c += ", rms " + Str(twoDigits(outliers > 0 ? figures_->robustRms : *rms_)) +
             (graph_->mode == GraphRow::Magnitude ? " mag" : " relative flux");
        if (outliers > 0)
            c += " (" + std::to_string(outliers) + (outliers == 1 ? " outlier)" : " outliers)");
        if (figures_ && figures_->chi2Reduced)
            c += ", \u03c7\u00b2\u1d63 " + Str(threeDigits(*figures_->chi2Reduced));
    }
    if (!s.period && !s.phased) c += "; no period in the file: folded on the model's";
    return c;
}

void Form1::refreshObserved() {
    observed.update(observedGraph());
}

ObservedOverlay::Graph Form1::observedGraph(bool always) {
    ObservedOverlay::Graph g;
    if (always || observed.shown()) {
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
    return g;
}

std::string Form1::windowTitle() const {
    std::string title = WindowCaption;
    if (LightOptions.any()) title += " \u2014 " + lightOptionsCaption(LightOptions);
    if (observed.shown()) title += " \u2014 " + observed.caption();
    if (observed.shown() && !observedNote.empty()) title += ", " + observedNote;
    if (velocities && !velocityCaption.empty()) title += " \u2014 " + velocityCaption;
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

std::string observedSummaryText(const ObservedSet& set) {
    std::string text = set.summary;
    if (const std::string lines = observedSkippedText(set); !lines.empty()) text += "\n" + lines;
    if (set.bands.size() > 1) text += "\nCtrl+Shift+B shows the next band.";
    return text;
}

} // namespace orvanta
