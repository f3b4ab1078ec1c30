// SPDX-License-Identifier: GPL-3.0-or-later
// The steps of the period search that its tests reach on their own: the observations as the
// search holds them, the eclipses it finds in the light folded on a trial period, the model
// of them a fit starts from, its tests of a period's part and double, and the times of
// minimum it fits a period to.
#pragma once

#include "analysis/eclipse_model.h"

#include <cstddef>
#include <optional>
#include <span>
#include <utility>
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

/// Whether the light folds on period / `divisor` as well as on period: the variance the
/// finer fold explains beyond the coarser one is no more than noise (an F test).
bool foldsOnPart(const Series& s, double period, int divisor, int bins);

/// Whether, folded on twice `period`, the primary eclipse of `seen` is at most half as deep
/// half a fold later, by far more than the noise.
bool missingInOddCycles(const Series& s, double period, const Eclipses& seen, int bins);

/// Whether one eclipse seen may have hidden the other: no second eclipse in `seen`, and a
/// stretch of phase without a point at least half as wide as the first eclipse.
bool secondMayHide(const Eclipses& seen);

/// Phase bins of the first pass over trial frequencies fLow to fHigh (per day): as many as
/// the work allows for `n` points over `span` days, a few points in each.
int firstPassBins(double n, double span, double fLow, double fHigh);

/// Whether a period fitted from `period` is a miscount of cycles rather than a refinement:
/// the two drift apart by more than a tenth of a cycle over `span`.
bool miscounted(double period, double fitted, double span);

struct Ephemeris {
    double epoch = 0; ///< relative time of a primary minimum
    double epochError = 0;
    double period = 0;
    double periodError = 0;
    bool fitted = false; ///< from times of minimum in parts of the data
};

/// The weighted straight line time = epoch + period * cycle through times of minimum, the
/// epoch on the whole cycle nearest the cycles' weighted mean; errors widened by scatter
/// beyond the weights'. Nothing when the cycles do not differ.
std::optional<Ephemeris> lineThroughMinima(std::span<const double> cycles,
                                           std::span<const double> times,
                                           std::span<const double> weights);

/// The mean light curve folded on `period` from `epoch`, as bin means joined by straight
/// lines (empty bins bridged), to be shifted against parts of the data.
class Template {
public:
    Template(const Series& s, double epoch, double period, int bins);
    /// The template at relative time t, shifted later by `shift` (a share of the period).
    [[nodiscard]] double at(double t, double shift) const;
    [[nodiscard]] double binWidth() const { return 1 / static_cast<double>(mean_.size()); }

private:
    double epoch_, period_;
    std::vector<double> mean_;
};

/// The shift (a share of the period) that best lays the template over the points
/// [from, to), each with its own mean level, and its standard error; nothing when the
/// points (ten at least) do not pin it down.
std::optional<std::pair<double, double>> shiftAgainst(const Series& s, const Template& tpl,
                                                      std::size_t from, std::size_t to);

} // namespace orvanta::analysis::parts
