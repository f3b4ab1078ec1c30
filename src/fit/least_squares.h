// SPDX-License-Identifier: GPL-3.0-or-later
// The fit of a light-curve model to observed points: robust least squares over the free
// parameters, the phase of the primary minimum and the level out of eclipse; errors from
// the covariance at the solution, correlations, and what the data cannot tell.
#pragma once

#include "fit/curve_model.h"
#include "fit/observations.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvanta::fit {

struct FitOptions {
    /// Starting values (one per free parameter) besides the model's start; empty: the
    /// angles' turns are tried (see startsFor).
    std::vector<std::vector<double>> starts;
    bool tryTurns = true;    ///< add the turned starts of startsFor
    int maxIterations = 100; ///< per start and stage
    /// Told the fraction done (0..1); returning false stops the fit as soon as it can.
    std::function<bool(double)> progress;
};

struct ParameterResult {
    std::string name;
    double value = 0;
    std::optional<double> error; ///< one standard deviation; none where undetermined
    std::string note;            ///< why there is no error
};

/// Another solution from another start, nearly as good as the best.
struct Alternative {
    std::vector<double> values;
    double chi2Ratio = 0; ///< its robust cost over the best one's
};

struct FitResult {
    std::vector<ParameterResult> parameters;
    std::vector<double> values;        ///< the free parameters, as fitted (angles not turned)
    double phaseShift = 0;             ///< model phase of the observed primary minimum
    double level = 0;                  ///< magnitude offset, or flux factor, of the model
    std::optional<double> chi2Reduced; ///< with the file's errors, outliers left out
    double rms = 0, robustRms = 0;     ///< in the unit of the data
    std::size_t points = 0, outliers = 0;
    int iterations = 0;
    /// Correlation of each pair of determined free parameters, i < j by their order.
    struct Correlation {
        std::size_t i, j;
        double value;
    };
    std::vector<Correlation> correlations;
    std::vector<Alternative> alternatives;
    bool cancelled = false;
};

/// The starts tried besides the model's own, one angle at a time: the tilt (incline2) to
/// the other side, the other angles turned by 90, 180 and 270 degrees.
std::vector<std::vector<double>> startsFor(const CurveModel& model,
                                           const std::vector<double>& start);

/// Whether a parameter's value in another solution is really different from `best`: further
/// from it than three of its standard errors (none: 0) and than a thousandth of its size and
/// typical value together.
bool apart(double other, double best, std::optional<double> error, double typical);

/// Whether a standard error says nothing of a parameter: it is above a quarter of all the
/// parameter can take (a whole turn for an angle, else its range).
bool saysNothing(double error, const FitParameter& q);

/// Fits `model` to `data` from `start`. Raises FitError when no start can be evaluated.
FitResult fitCurve(CurveModel& model, const std::vector<double>& start, const Observations& data,
                   const FitOptions& options = {});

} // namespace orvanta::fit
