// SPDX-License-Identifier: GPL-3.0-or-later
// An observed light curve read from a text or CSV file: the rows as numbers, the header's
// period and epoch, and what could not be read.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta {

/// A file that cannot be used; the message names the line where one applies.
struct DataFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// What the brightness column holds.
enum class Brightness {
    Magnitude, ///< magnitudes, larger is fainter
    Flux,      ///< relative flux, any scale
    Power,     ///< a power in W, taken as flux relative to its own maximum
};

struct ObservedData {
    std::string name;          ///< the file's name as shown to the user (UTF-8)
    bool phased = false;       ///< the time column is a phase 0..1, not days
    std::vector<double> time;  ///< days (such as a heliocentric Julian date), or phase
    std::vector<double> value; ///< as read, in the unit of `brightness`
    std::vector<double> error; ///< one per row when the file has an error column, else empty
    Brightness brightness = Brightness::Magnitude;
    std::optional<double> period; ///< days, from a "# period = ... d" line
    std::optional<double> epoch;  ///< days, a time of primary minimum, from "# epoch = ..."
    std::size_t skipped = 0;      ///< data rows that could not be read
    std::vector<std::size_t> skippedLines; ///< their line numbers (1-based), the first few
    std::size_t lines = 0;                 ///< lines in the file
};

/// Reads the text of a light-curve file: `#` comment lines (of which "period = <days> d"
/// and "epoch = <days>" are used), an optional header row naming the columns, then rows
/// separated by commas, semicolons, tabs or blanks with "." decimals. With a header the
/// columns are picked by name (time/phase, magnitude/flux/power, error); without one they
/// are time, magnitude and an optional error. Rows with a missing, non-numeric or
/// non-finite number are skipped and counted. Throws DataFileError.
ObservedData parseObserved(std::string_view text, std::string name);

/// Reads and parses a file (its path in the file system's encoding). Throws DataFileError.
ObservedData readObserved(const std::string& path, std::string name);

/// The most rows a file may have.
inline constexpr std::size_t MaxObservedRows = 5'000'000;

} // namespace orvanta
