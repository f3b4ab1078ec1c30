// SPDX-License-Identifier: GPL-3.0-or-later
// The orbital period of an eclipsing binary, its epoch and its times of minimum, found in
// a light curve's raw times: no window, no model, only the observations.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvanta::analysis {

/// Observations a period cannot be found in; the message is one line for the user.
struct PeriodSearchError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// The search was cancelled through its progress callback.
struct PeriodSearchCancelled {};

/// The range of orbital periods searched, in days; either end left out takes its default.
struct PeriodRange {
    std::optional<double> minDays;
    std::optional<double> maxDays;
};

/// The default range for observations spanning `spanDays`: from 0.2 d (the shortest
/// eclipsing binaries) to half the span, so that at least two cycles are seen; a span
/// under 2 d searches from a twentieth of it.
PeriodRange defaultRange(double spanDays);

/// One observed time of minimum against the ephemeris found.
struct ObservedMinimum {
    double time = 0;    ///< days, the file's time system
    double error = 0;   ///< days, one standard error
    double cycle = 0;   ///< whole for a primary minimum, n + 0.5 for a secondary one
    double oMinusC = 0; ///< days, time - (epoch + period * cycle)
};

/// A candidate period and how well the light folds on it: the share of the light's
/// variance that the folded mean curve explains, 0 (none) to 1 (all).
struct PeriodPeak {
    double periodDays = 0;
    double score = 0;
};

struct PeriodResult {
    double periodDays = 0;
    double periodErrorDays = 0;
    double epoch = 0;      ///< a time of primary (deeper) minimum near the middle of the data
    double epochError = 0; ///< days, one standard error
    std::string method;    ///< how the period was found, one line
    std::vector<PeriodPeak> peaks; ///< the period found first, then the other candidates
    /// The score along the trial periods of the first pass, longest period first: of each
    /// run of trials the best, at most MaxPeriodogramPoints, so that every peak shows.
    std::vector<PeriodPeak> periodogram;
    std::vector<ObservedMinimum> minima; ///< in time order
    /// Another period fits about as well: the light does not tell them apart. For equal
    /// eclipses this is half the period found; for one eclipse seen and a stretch of phase
    /// unobserved, twice it (two equal eclipses); otherwise a candidate close in score.
    std::optional<double> alternativeDays;
    bool twoEclipsesSeen = false; ///< a secondary eclipse was found in the folded light
};

/// What the light is in: magnitudes let the search rule out two equal eclipses when the one
/// seen takes more than half the light (deeper than 0.75 mag: the other star, fainter, can
/// never hide as much); with minus a flux of unknown zero it cannot tell.
enum class Dimming { Any, Magnitudes };

/// The most points the periodogram of a result keeps.
inline constexpr std::size_t MaxPeriodogramPoints = 2000;

/// Called now and then with the share of the work done (0..1); return false to cancel,
/// and the search throws PeriodSearchCancelled.
using SearchProgress = std::function<bool(double)>;

/// Finds the orbital period of an eclipsing binary in observations at `time` (days, any
/// order) of `dimming` (larger is fainter: magnitudes, or minus a flux).
///
/// A phase-dispersion search over a grid of trial frequencies even in frequency and fine
/// enough that a narrow eclipse stays in its phase bin across the whole span, its best
/// candidates refined on finer bins; then the light's own repeat period (a half or a third
/// of the candidate when the light folds as well on it), and the orbital period: that
/// period when a second, fainter or equal, eclipse is seen in the fold, or twice it when
/// only one is (two equal eclipses per orbit then fold onto one) unless a stretch of phase
/// holds no point (the second eclipse may be there). The best few candidates are first
/// weighed by a model of two eclipses fitted to every point, which tells a true period
/// from one that merely stacks a few sparse eclipses. The period and epoch are then fitted
/// to times of primary minimum (Kwee-van Woerden) measured on the folded light of
/// successive parts of the data, and last the period to every point with the model of two
/// eclipses, which gives its error. Throws PeriodSearchError.
PeriodResult findPeriod(std::span<const double> time, std::span<const double> dimming,
                        const PeriodRange& range = {}, const SearchProgress& progress = {},
                        Dimming unit = Dimming::Any);

/// The within-bin variance of the light folded on `periodDays` in `bins` phase bins,
/// over the light's variance (phase dispersion: small for a good period, near 1 for none).
double phaseDispersion(std::span<const double> time, std::span<const double> dimming,
                       double periodDays, int bins);

} // namespace orvanta::analysis
