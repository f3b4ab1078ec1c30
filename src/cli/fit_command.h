// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta fit`: the model fitted to an observed light curve, without a window.
#pragma once

#include "cli/curve_command.h"
#include "fit/least_squares.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace orvanta::cli {

struct FitRequest {
    CurveRequest::Action action = CurveRequest::Action::Curve;
    std::string file;
    std::vector<std::string> free; ///< parameter names, in the order given
    bool json = false;
    std::optional<double> periodDays;
    CurveRequest start; ///< the options of `orvanta curve`: the starting values
};

/// Reads the arguments after "fit". Raises UsageError.
FitRequest parseFitArguments(const std::vector<std::string>& args);

/// The --help text.
std::string fitHelp();

/// The result as one JSON object: parameters (name -> value, error, and a note where the
/// error is null), chi2_reduced, rms, robust_rms, points, iterations, correlations.
std::string fitJson(const fit::FitResult& result);

/// The result as lines for a reader: one line per parameter, the figures, the correlations
/// and the other solutions nearly as good.
std::string fitText(const fit::FitResult& result, const fit::Observations& data,
                    const fit::CurveModel& model);

/// Runs the command: the result to `out` or the --output file; one line to `err` and exit
/// status 2 on any error, else 0.
int runFitCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace orvanta::cli
