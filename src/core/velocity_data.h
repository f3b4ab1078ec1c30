// SPDX-License-Identifier: GPL-3.0-or-later
// Radial velocities read from a text or CSV file: `time, rv_a[, rv_b][, errors]`, read by the
// light-curve reader (the same separators, comments, header rows, limits and refusals), which
// tells a velocity file from a light curve by the names of its columns.
#pragma once

#include "core/observed_data.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvanta {

/// Measured line-of-sight velocities of the two stars, km/s, positive away from the observer.
struct VelocitySet {
    std::string name; ///< the file's name as shown to the user (UTF-8)
    /// Days (full Julian dates: `timeOffset` is added to the file's), or phase 0..1 when
    /// `phased`; in time order.
    std::vector<double> time;
    /// One per row each; NaN where a value is absent (a row may give one star's velocity only;
    /// the errors are NaN throughout when the file has no error column).
    std::vector<double> rvA, rvB, errorA, errorB;
    std::optional<double> period, epoch; ///< days, from "# period = ... d" and "# epoch = ..."
    /// Every reason rows were skipped, with its count: "2 the time is not a number".
    std::vector<std::string> skippedReasons;

    bool phased = false;                ///< the time column is a phase 0..1, not days
    std::string timeSystem = "unknown"; ///< "BJD", "HJD", "JD", "MJD", "phase" or "unknown"
    double timeOffset = 0;              ///< added to the file's times to give full days
    /// The columns used, as the file names them; none without a header row.
    std::optional<std::string> timeColumn, rvAColumn, rvBColumn, errorAColumn, errorBColumn;
    std::size_t skipped = 0;               ///< data rows that could not be read
    std::vector<std::size_t> skippedLines; ///< their line numbers (1-based), the first few
    std::size_t lines = 0;                 ///< lines in the file
    bool sorted = false;                   ///< the rows were put into time order

    /// Velocities given of star A, of star B.
    [[nodiscard]] std::size_t countA() const;
    [[nodiscard]] std::size_t countB() const;
};

/// Reads the text of a velocity file. With a header row the columns are picked by name: a
/// time (or phase) column as for a light curve; velocity columns named "rv", "rv_a", "RV1",
/// "vrad", "velocity" or with a unit "km/s" ("rv_a_km_s", as `orvanta curve --rv` writes),
/// star B's tagged "b", "2" or "secondary" (else the second one); error columns tagged the
/// same way (one untagged error column serves both stars). Without a header the columns are
/// time, rv_a; time, rv_a, rv_b; time, rv_a, rv_b, error; or time, rv_a, rv_b, error_a,
/// error_b. An empty field, "-" or "nan" is a velocity not measured; a row needs one of the
/// two. Rows with a non-numeric velocity, one faster than light or a negative error are
/// skipped and counted by reason. Throws DataFileError.
VelocitySet parseVelocities(std::string_view text, std::string name);

/// Reads a velocity file (its path in the file system's encoding), refusing what the
/// light-curve reader refuses. Throws DataFileError.
VelocitySet readVelocities(const std::string& path, std::string name);

/// A file the window opens: a light curve, or velocities where its header names velocity
/// columns and no brightness column.
using ObservedFile = std::variant<ObservedData, VelocitySet>;

/// Reads a light curve or a velocity file, telling them apart by their columns (a FITS file
/// and a file without a header row are light curves). Throws DataFileError.
ObservedFile parseObservedFile(std::string_view text, std::string name,
                               const ObservedOptions& options = {});
ObservedFile readObservedFile(const std::string& path, std::string name,
                              const ObservedOptions& options = {});

/// What was read, in a few lines for the window and the commands: the columns used, the
/// time system, the velocities of each star, the reasons rows were skipped and the period.
std::string describeVelocities(const VelocitySet& set);

} // namespace orvanta
