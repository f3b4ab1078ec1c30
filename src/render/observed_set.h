// SPDX-License-Identifier: GPL-3.0-or-later
// The observed points as the overlay uses them: relative to their own level out of eclipse,
// in flux and in magnitudes, with the ends of their error bars.
#pragma once

#include "core/observed_data.h"

#include <optional>
#include <string>
#include <vector>

namespace orvanta {

/// Observed points relative to their own level out of eclipse.
struct ObservedSet {
    std::string name;
    bool phased = false;
    std::optional<double> period, epoch; ///< days
    std::vector<double> time;            ///< days, or phase
    std::vector<double> flux;            ///< relative flux, 1 out of eclipse
    std::vector<double> mag;             ///< magnitudes relative to the level out of eclipse
    /// Ends of the error bars in both units; empty without an error column.
    std::vector<double> fluxLow, fluxHigh, magLow, magHigh;
    std::size_t skipped = 0;
    std::vector<std::size_t> skippedLines;
    std::string summary;             ///< what was read (describeObserved), for the window
    std::optional<std::string> band; ///< the band shown, when the file names one
    std::vector<std::string> bands;  ///< every band of the file, the most numerous first
    /// Worth telling on loading: an archive's layout, skipped or sorted rows, several
    /// bands, or no period to fold on.
    bool notable = false;
};

/// Sets the zero point: the median level of the points out of eclipse (found by clipping
/// the faint side until it no longer changes) becomes magnitude 0 and flux 1. A point
/// without an error (NaN) gets an error bar of no length.
ObservedSet prepareObserved(ObservedData data);

} // namespace orvanta
