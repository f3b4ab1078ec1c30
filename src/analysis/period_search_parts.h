// SPDX-License-Identifier: GPL-3.0-or-later
// The steps of the period search that its tests reach on their own: the observations as the
// search holds them, the eclipses it finds in the light folded on a trial period, and the
// model of them a fit starts from.
#pragma once

#include "analysis/eclipse_model.h"

#include <optional>
#include <span>
#include <vector>

namespace orvanta::analysis::parts {

/// The observations in time order, times from the middle of the span, light less its mean.
struct Series {
    std::vector<double> t;
    std::vector<double> y;
    double middle = 0; ///< days, added back to report a time
    double span = 0;
    double sumSquares = 0; ///< of y
};

/// The points with a finite time and light, in time order. Throws PeriodSearchError for too
/// few points, a span of no time or light that does not vary.
Series prepare(std::span<const double> time, std::span<const double> dimming);

/// The eclipses in the light folded on one period.
struct Eclipses {
    double primaryPhase = 0; ///< of the deepest point of the fold, from time 0
    double halfWidth = 0;    ///< of the primary eclipse, as a share of the period
    double depth = 0;        ///< of the primary, in the light's unit
    std::optional<double> secondaryPhase;
    double level = 0;   ///< the light outside eclipse
    double noise = 0;   ///< robust standard deviation of a point about the fold
    double width = 0;   ///< of the primary eclipse, as a share of the period
    double gap = 0;     ///< the widest stretch of phase without a point, as a share
    double deepest = 0; ///< the faintest bin of two points or more, below the level
};

/// The eclipses of the light folded on `period` (days) in `bins` bins: the primary the
/// deepest run of three bins, a second one a run of bins away from the primary and its
/// wings, fainter than the level by far more than the noise of its mean.
Eclipses findEclipses(const Series& s, double period, int bins);

/// A model of both eclipses to start a fit from: the eclipses of the light folded on
/// `period`, the primary's minimum at relative time `epoch`, the second eclipse
/// `secondaryPhase` cycles later; as deep as the primary when `twin`, else as deep as the
/// points about its minimum (0 when no point lies there).
EclipseModel startingModel(const Series& s, double period, double epoch, double secondaryPhase,
                           const Eclipses& e, int bins, bool twin);

} // namespace orvanta::analysis::parts
