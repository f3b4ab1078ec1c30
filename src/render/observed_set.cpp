// SPDX-License-Identifier: GPL-3.0-or-later
// The observed points relative to their level out of eclipse.
#include "render/observed_set.h"

#include "photometry/magnitudes.h"
#include "render/observed_phase.h"

#include <cmath>

namespace orvanta {

ObservedSet prepareObserved(ObservedData data) {
    ObservedSet s;
    s.summary = describeObserved(data);
    s.band = data.band;
    s.notable = data.format != ObservedFormat::Plain || data.skipped > 0 || data.sorted ||
                data.bands.size() > 1 || (!data.period && !data.phased);
    for (const BandCount& b : data.bands)
        s.bands.push_back(b.band);
    s.name = std::move(data.name);
    s.phased = data.phased;
    s.period = data.period;
    s.epoch = data.epoch;
    s.skipped = data.skipped;
    s.skippedLines = std::move(data.skippedLines);
    const std::size_t n = data.value.size();
    const bool isMag = data.brightness == Brightness::Magnitude;

    // Faintness: larger is fainter in both units. Clip the faint side (the eclipses)
    // until the set kept stops changing; outliers on the bright side barely move a median.
    std::vector<double> faint(n);
    for (std::size_t i = 0; i < n; ++i)
        faint[i] = isMag ? data.value[i] : -data.value[i];
    std::vector<double> kept = faint, work;
    for (int round = 0; round < 30; ++round) {
        work = kept;
        const double med = median(work);
        for (double& w : work)
            w = std::fabs(w - med);
        const double limit = med + 3 * 1.4826 * median(work);
        std::vector<double> next;
        next.reserve(n);
        for (double f : faint)
            if (f <= limit) next.push_back(f);
        if (next.size() == kept.size()) break;
        kept = std::move(next);
    }
    const double zero = median(kept);

    s.time = std::move(data.time);
    s.flux.resize(n);
    s.mag.resize(n);
    const bool bars = !data.error.empty();
    if (bars) {
        s.fluxLow.resize(n);
        s.fluxHigh.resize(n);
        s.magLow.resize(n);
        s.magHigh.resize(n);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (isMag) {
            s.mag[i] = data.value[i] - zero;
            s.flux[i] = ratioOfMagnitude(s.mag[i]);
        } else {
            s.flux[i] = data.value[i] / -zero;
            s.mag[i] = magnitudeOfRatio(s.flux[i]);
        }
        if (!bars) continue;
        const double e = std::isnan(data.error[i]) ? 0 : data.error[i]; // none given
        if (isMag) {
            s.magLow[i] = s.mag[i] - e;
            s.magHigh[i] = s.mag[i] + e;
            s.fluxLow[i] = ratioOfMagnitude(s.magHigh[i]);
            s.fluxHigh[i] = ratioOfMagnitude(s.magLow[i]);
        } else {
            const double fe = e / -zero;
            s.fluxLow[i] = s.flux[i] - fe;
            s.fluxHigh[i] = s.flux[i] + fe;
            s.magLow[i] = magnitudeOfRatio(s.fluxHigh[i]);
            s.magHigh[i] = s.fluxLow[i] > 0 ? magnitudeOfRatio(s.fluxLow[i]) : HUGE_VAL;
        }
    }
    return s;
}

} // namespace orvanta
