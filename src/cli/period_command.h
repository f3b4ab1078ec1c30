// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta period`: the orbital period, epoch and times of minimum of an observed light
// curve, found in the file's times.
#pragma once

#include "analysis/period_search.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace orvanta::cli {

struct PeriodRequest {
    enum class Action { Search, Help, Version };
    Action action = Action::Search;
    std::string file;
    std::optional<double> minDays, maxDays;
    bool json = false;
};

/// Reads the arguments after "period". Raises UsageError (curve_command.h).
PeriodRequest parsePeriodArguments(const std::vector<std::string>& args);

/// The --help text.
std::string periodHelp();

/// The result as one JSON object: period_days, period_error_days, epoch,
/// epoch_error_days, method, peaks ([period_days, score] lists), minima ([time, error,
/// cycle, o_minus_c] lists) and alternative_days (null when the period is clear). Numbers
/// in the shortest form that reads back to the same double, "." decimals.
std::string periodJson(const analysis::PeriodResult& r);

/// The result as lines of text for a reader.
std::string periodText(const analysis::PeriodResult& r);

/// Runs the command. Returns 0, or 2 with one line on `err` (a bad command line, a file
/// that cannot be read, times that are phases, no period found).
int runPeriodCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace orvanta::cli
