// SPDX-License-Identifier: GPL-3.0-or-later
// An observed light curve read from a text or CSV file, in the plain layout or one of the
// archives' (AAVSO, ASAS-SN, ZTF, the Kepler eclipsing-binary catalogue), or from a TESS or
// Kepler FITS light curve: the rows as numbers in time order, the header's period and epoch,
// what was read from which column, and every reason a row was skipped.
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

/// The layouts recognised, by their headers (or, for FITS, the telescope).
enum class ObservedFormat { Plain, Aavso, TessFits, KeplerFits, Kebc, AsasSn, Ztf };

/// "plain", "aavso", "tess-fits", "kepler-fits", "kebc", "asas-sn", "ztf".
const char* formatName(ObservedFormat format);

/// A reason rows were skipped and how many were.
struct SkipReason {
    std::string reason; ///< "the brightness is not a number"
    std::size_t count = 0;
    bool operator==(const SkipReason&) const = default;
};

/// A band (filter) present in a file and its rows that could be read.
struct BandCount {
    std::string band;
    std::size_t count = 0;
    bool operator==(const BandCount&) const = default;
};

/// The most rows a file may have.
inline constexpr std::size_t MaxObservedRows = 5'000'000;
/// The longest line a text file may have.
inline constexpr std::size_t MaxObservedLine = 64 * 1024;

/// Choices about how to read a file.
struct ObservedOptions {
    std::optional<std::string> band; ///< the band to keep (any case); else the most numerous
    bool sapFlux = false;            ///< FITS: the simple aperture flux, not the corrected one
    /// The most data rows (read or skipped) a file may have; a smaller one for tests.
    std::size_t maxRows = MaxObservedRows;
};

struct ObservedData {
    std::string name;    ///< the file's name as shown to the user (UTF-8)
    bool phased = false; ///< the time column is a phase 0..1, not days
    /// Days (full Julian dates: `timeOffset` is added to the file's), or phase; in time
    /// order (rows with equal times in file order); phases in file order.
    std::vector<double> time;
    std::vector<double> value; ///< as read, in the unit of `brightness`
    /// One per row when the file has an error column, else empty; NaN where a row gives
    /// none (an AAVSO visual estimate): such a point has no error bar.
    std::vector<double> error;
    Brightness brightness = Brightness::Magnitude;
    std::optional<double> period; ///< days, from a "# period = ... d" line
    std::optional<double> epoch;  ///< days, a time of primary minimum, from "# epoch = ..."
    std::size_t skipped = 0;      ///< data rows that could not be read
    std::vector<std::size_t> skippedLines; ///< their line numbers (1-based), the first few
    std::size_t lines = 0;                 ///< lines in the file

    ObservedFormat format = ObservedFormat::Plain;
    /// The columns used, as the file names them; none without a header row.
    std::optional<std::string> timeColumn, brightnessColumn, errorColumn;
    std::optional<std::string> band;        ///< the band kept, when the file names one
    std::vector<BandCount> bands;           ///< every band with rows, the most numerous first
    std::string timeSystem = "unknown";     ///< "BJD", "HJD", "JD", "MJD", "phase" or "unknown"
    double timeOffset = 0;                  ///< added to the file's times to give full days
    std::vector<SkipReason> skippedReasons; ///< in the order first met; counts sum to skipped
    std::optional<std::string> target;      ///< the object's name in a FITS header
    bool sorted = false;                    ///< the rows were put into time order
};

/// Reads the text of a light-curve file: `#` comment lines (of which "period = <days> d"
/// and "epoch = <days>" are used), an optional header row naming the columns (or a `#`
/// line naming them, as the Kepler catalogue writes it), then rows separated by commas,
/// semicolons, tabs or blanks with "." decimals (decimal commas where semicolons separate).
/// With a header the columns are picked by name (time/phase, magnitude/flux/power or a
/// band letter, error) and the archives' layouts by theirs; without one they are time,
/// magnitude and an optional error. Rows with a missing, non-numeric or implausible number,
/// a limit or a quality flag are skipped and counted by reason; rows of other bands are
/// set aside and counted. Rows out of time order are sorted. Throws DataFileError.
ObservedData parseObserved(std::string_view text, std::string name,
                           const ObservedOptions& options = {});

/// Reads and parses a file (its path in the file system's encoding): a FITS light curve by
/// its signature, anything else as text, line by line. Refuses what is not a regular file,
/// binary content in its first block and an overlong line as soon as it meets them, and a
/// file of more than `options.maxRows` data rows at its first row: a quick pass counts the
/// rows that follow before any is parsed. Throws DataFileError.
ObservedData readObserved(const std::string& path, std::string name,
                          const ObservedOptions& options = {});

/// What was read, in a few lines for the window and `orvanta inspect`: the layout, the
/// columns used, the band kept and the others, the time system, the points kept, the
/// reasons rows were skipped and whether a period was given.
std::string describeObserved(const ObservedData& data);

} // namespace orvanta
