// SPDX-License-Identifier: GPL-3.0-or-later
// The observed points as a fit sees them: folded with the data's period so that the
// primary minimum falls at phase 0, brightness relative to the level out of eclipse.
#pragma once

#include "core/observed_data.h"
#include "render/observed_set.h"

#include <optional>
#include <string>
#include <vector>

namespace orvanta::fit {

struct Observations {
    std::string name;
    bool magnitudes = true;    ///< values in magnitudes; else relative flux
    std::vector<double> phase; ///< 0..1, increasing, 0 at the primary minimum
    std::vector<double> value; ///< magnitudes from the level out of eclipse, or flux (1 there)
    std::vector<double> error; ///< empty, or one per point in the unit of `value`
    double periodDays = 0;     ///< what the times were folded with (0 for phases)
};

/// Folds the data: times with `periodDays` when given, else with the file's own period
/// ("# period = ... d"), phases as they are. The epoch of the file, or the deepest minimum
/// found in the data, becomes phase 0. Raises FitError without a period or points.
Observations observationsFrom(const ObservedData& data, std::optional<double> periodDays);

/// The same from points already set on their level (as the window shows them): in
/// magnitudes or in relative flux, folded with `period` (days; ignored for phases) and put
/// at phase 0 at `epoch`, else at the deepest minimum found. Raises FitError without a
/// period or points.
Observations observationsOf(const ObservedSet& set, bool magnitudes, std::optional<double> period,
                            std::optional<double> epoch);

} // namespace orvanta::fit
