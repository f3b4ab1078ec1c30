// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/observations.h"

#include "core/cycle_phase.h"
#include "fit/fit_parameters.h"
#include "render/observed_overlay.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace orvanta::fit {

Observations observationsFrom(const ObservedData& data, std::optional<double> periodDays) {
    if (data.time.empty()) throw FitError(data.name + " has no points to fit");
    const bool magnitudes = data.brightness == Brightness::Magnitude;
    const std::optional<double> period = periodDays ? periodDays : data.period;
    if (!data.phased && !(period && *period > 0 && std::isfinite(*period)))
        throw FitError(data.name + " gives times without a period: give one with --period");
    const std::optional<double> epoch = data.epoch;
    return observationsOf(prepareObserved(data), magnitudes, period, epoch);
}

Observations observationsOf(const ObservedSet& set, bool magnitudes, std::optional<double> period,
                            std::optional<double> epoch) {
    if (set.time.empty()) throw FitError(set.name + " has no points to fit");
    if (!set.phased && !(period && *period > 0 && std::isfinite(*period)))
        throw FitError(set.name + " gives times without a period");
    const std::size_t n = set.time.size();

    std::vector<double> raw(n);
    const double ref = epoch && !set.phased ? *epoch : set.time.front();
    for (std::size_t i = 0; i < n; ++i)
        raw[i] = set.phased ? cyclePhase(set.time[i]) : cyclePhase((set.time[i] - ref) / *period);
    const double minimum = epoch && !set.phased ? 0 : minimumPhase(raw, set.flux);

    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::vector<double> phase(n);
    for (std::size_t i = 0; i < n; ++i)
        phase[i] = cyclePhase(raw[i] - minimum);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return phase[a] < phase[b]; });

    Observations o;
    o.name = set.name;
    o.magnitudes = magnitudes;
    o.periodDays = set.phased ? 0 : *period;
    const bool bars = !set.fluxLow.empty();
    for (std::size_t i : order) {
        o.phase.push_back(phase[i]);
        o.value.push_back(magnitudes ? set.mag[i] : set.flux[i]);
        if (bars)
            o.error.push_back(magnitudes ? set.magHigh[i] - set.mag[i]
                                         : set.fluxHigh[i] - set.flux[i]);
    }
    return o;
}

} // namespace orvanta::fit
