// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta inspect`: what the observed-data reader makes of a file, without a window.
#pragma once

#include "core/observed_data.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace orvanta::cli {

/// The reading as one JSON object: format, time_column, brightness_column, error_column,
/// brightness, band, bands, time_system, time_offset, target, points, skipped,
/// skipped_reasons, sorted, period_days, epoch.
std::string inspectJson(const ObservedData& data);

/// "time,brightness,error" and one row per point in time order, times in full days; the
/// error is empty where there is none.
void writePoints(const ObservedData& data, std::ostream& out);

/// The --help text.
std::string inspectHelp();

/// Runs `orvanta inspect FILE [--band NAME] [--sap-flux] [--json] [--points]`: the summary,
/// the JSON object or the points to `out`. Returns 0, or 2 with one line on `err`.
int runInspectCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace orvanta::cli
