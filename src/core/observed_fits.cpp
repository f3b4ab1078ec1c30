// SPDX-License-Identifier: GPL-3.0-or-later
// FITS light curves through cfitsio, the library astronomy software reads FITS with: the
// format has enough corners (header cards, column scaling, null values, big-endian binary
// tables) that a reader of our own would get some of them wrong.
#include "core/observed_fits.h"

#include <fitsio.h>

#include <cmath>
#include <memory>
#include <mutex>
#include <vector>

namespace orvanta {

namespace {

/// Kepler and TESS quality bits that mark a cadence unusable: attitude tweak, safe mode,
/// coarse point, Earth point, desaturation event, manual exclude.
constexpr int QualityMask = 1 | 2 | 4 | 8 | 32 | 128;

/// cfitsio's status as a message.
[[noreturn]] void fitsFail(int status, const std::string& what) {
    char text[FLEN_STATUS] = {};
    fits_get_errstatus(status, text);
    throw DataFileError(what + " (" + text + ")");
}

struct Closer {
    void operator()(fitsfile* f) const {
        int status = 0;
        fits_close_file(f, &status);
    }
};

std::optional<std::string> keyText(fitsfile* f, const char* key) {
    char value[FLEN_VALUE] = {};
    int status = 0;
    if (fits_read_key(f, TSTRING, key, value, nullptr, &status) != 0) return std::nullopt;
    std::string s(value);
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    if (s.empty()) return std::nullopt;
    return s;
}

std::optional<double> keyNumber(fitsfile* f, const char* key) {
    double value = 0;
    int status = 0;
    if (fits_read_key(f, TDOUBLE, key, &value, nullptr, &status) != 0 || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> column(fitsfile* f, const char* name) {
    int number = 0, status = 0;
    char text[FLEN_VALUE];
    std::snprintf(text, sizeof text, "%s", name);
    if (fits_get_colnum(f, CASEINSEN, text, &number, &status) != 0) return std::nullopt;
    return number;
}

std::string columnName(fitsfile* f, int col) {
    char key[FLEN_KEYWORD], value[FLEN_VALUE] = {};
    std::snprintf(key, sizeof key, "TTYPE%d", col);
    int status = 0;
    fits_read_key(f, TSTRING, key, value, nullptr, &status);
    return value;
}

template <class T> void readColumn(fitsfile* f, int col, int type, long rows, std::vector<T>& out) {
    out.resize(static_cast<std::size_t>(rows));
    if (rows == 0) return;
    int status = 0, anyNull = 0;
    T null{};
    if constexpr (std::is_floating_point_v<T>) null = NAN;
    if (fits_read_col(f, type, col, 1, 1, rows, &null, out.data(), &anyNull, &status) != 0)
        fitsFail(status, "the column " + columnName(f, col) + " cannot be read");
}

/// cfitsio keeps global state in some builds; one file at a time is plenty here.
std::mutex fitsMutex;

} // namespace

bool isFits(std::string_view start) {
    return start.substr(0, 9) == "SIMPLE  =";
}

ObservedData readFitsLightCurve(const std::string& path, std::string name,
                                const ObservedOptions& options) {
    const std::lock_guard lock(fitsMutex);
    fitsfile* raw = nullptr;
    int status = 0;
    if (fits_open_diskfile(&raw, path.c_str(), READONLY, &status) != 0)
        fitsFail(status, "the FITS file cannot be opened");
    const std::unique_ptr<fitsfile, Closer> file(raw);
    fitsfile* f = file.get();

    ObservedData data;
    const std::optional<std::string> telescope = keyText(f, "TELESCOP");
    const std::optional<std::string> object = keyText(f, "OBJECT");
    data.format =
        telescope && *telescope == "TESS" ? ObservedFormat::TessFits : ObservedFormat::KeplerFits;

    // The first binary table with a TIME column: the light curve (EXTNAME LIGHTCURVE).
    int hdus = 0;
    fits_get_num_hdus(f, &hdus, &status);
    bool found = false;
    for (int h = 2; h <= hdus && !found; ++h) {
        int type = 0;
        status = 0;
        if (fits_movabs_hdu(f, h, &type, &status) != 0)
            fitsFail(status, "the FITS file is damaged");
        found = type == BINARY_TBL && column(f, "TIME");
    }
    if (!found) throw DataFileError("this FITS file has no light-curve table (no TIME column)");

    long rows = 0;
    status = 0;
    if (fits_get_num_rows(f, &rows, &status) != 0) fitsFail(status, "the FITS table is damaged");
    if (rows < 0 || static_cast<unsigned long>(rows) > options.maxRows)
        throw DataFileError("more than " + std::to_string(options.maxRows) + " rows");

    const int timeCol = *column(f, "TIME");
    std::optional<int> fluxCol, errCol;
    static constexpr const char* Corrected[] = {"PDCSAP_FLUX", "SAP_FLUX", "FLUX"};
    static constexpr const char* Simple[] = {"SAP_FLUX", "PDCSAP_FLUX", "FLUX"};
    for (const char* wanted : options.sapFlux ? Simple : Corrected) {
        if ((fluxCol = column(f, wanted))) {
            errCol = column(f, (std::string(wanted) + "_ERR").c_str());
            break;
        }
    }
    if (!fluxCol)
        throw DataFileError("the light-curve table has no flux column (PDCSAP_FLUX or SAP_FLUX)");
    std::optional<int> qualityCol = column(f, "QUALITY");
    if (!qualityCol) qualityCol = column(f, "SAP_QUALITY");

    // Times are days since BJDREFI + BJDREFF (TDB).
    const double refI = keyNumber(f, "BJDREFI").value_or(0);
    const double refF = keyNumber(f, "BJDREFF").value_or(0);
    data.timeOffset = refI + refF;
    const std::optional<std::string> timeRef = keyText(f, "TIMEREF");
    data.timeSystem = refI != 0 || (timeRef && *timeRef == "SOLARSYSTEM") ? "BJD" : "unknown";

    std::vector<double> time, flux, err;
    std::vector<int> quality;
    readColumn(f, timeCol, TDOUBLE, rows, time);
    readColumn(f, *fluxCol, TDOUBLE, rows, flux);
    if (errCol) readColumn(f, *errCol, TDOUBLE, rows, err);
    if (qualityCol) readColumn(f, *qualityCol, TINT, rows, quality);

    data.name = object ? name + " (" + *object + ")" : std::move(name);
    data.target = object;
    data.brightness = Brightness::Flux;
    data.timeColumn = columnName(f, timeCol);
    data.brightnessColumn = columnName(f, *fluxCol);
    if (errCol) data.errorColumn = columnName(f, *errCol);
    data.lines = static_cast<std::size_t>(rows);
    data.time.reserve(time.size());
    data.value.reserve(time.size());
    if (errCol) data.error.reserve(time.size());
    auto skip = [&](std::size_t row, const char* reason) {
        ++data.skipped;
        if (data.skippedLines.size() < 5) data.skippedLines.push_back(row + 1);
        for (SkipReason& r : data.skippedReasons)
            if (r.reason == reason) {
                ++r.count;
                return;
            }
        data.skippedReasons.push_back({reason, 1});
    };
    for (std::size_t i = 0; i < time.size(); ++i) {
        if (qualityCol && (quality[i] & QualityMask) != 0) {
            skip(i, "flagged in the quality column");
        } else if (!std::isfinite(time[i])) {
            skip(i, "the time is not a number");
        } else if (std::fabs(time[i]) > 1e8) {
            skip(i, "a time more than 100 million days from zero");
        } else if (!std::isfinite(flux[i])) {
            skip(i, "the brightness is not a number");
        } else if (flux[i] <= 0) {
            skip(i, "a flux of 0 or less");
        } else if (errCol && !(err[i] >= 0 && std::isfinite(err[i]))) {
            skip(i, "the error is not a number");
        } else {
            data.time.push_back(time[i]);
            data.value.push_back(flux[i]);
            if (errCol) data.error.push_back(err[i]);
        }
    }
    if (data.time.empty())
        throw DataFileError("no row could be read" +
                            (data.skippedReasons.empty()
                                 ? std::string(" (the table is empty)")
                                 : " (" + data.skippedReasons.front().reason + ")"));
    finishObserved(data);
    return data;
}

} // namespace orvanta
