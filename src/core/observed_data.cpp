// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an observed light curve: the formats that observers' software and spreadsheets
// write. Numbers use "." whatever the locale; nothing here depends on the locale.
#include "core/observed_data.h"

#include "core/observed_fits.h"
#include "core/text_rules.h"
#include "core/velocity_data.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace orvanta {

namespace {

/// Times, periods and epochs further from zero than this many days are no dates.
constexpr double MaxTime = 1e8;
constexpr double MinPeriod = 1e-5;
/// No star moves along the line of sight as fast as light, km/s.
constexpr double SpeedOfLight = 299792.458;

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

/// A whole field as a finite number ("+1.5", "-2e3"); nothing else, not even "nan".
std::optional<double> number(std::string_view field) {
    field = trim(field);
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    if (field.empty()) return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc() || end != field.data() + field.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

/// Splits a row: blanks (any run of spaces and tabs) or one separator character, with
/// double-quoted fields as spreadsheets write them.
void split(std::string_view line, char sep, std::vector<std::string_view>& out,
           std::string& scratch) {
    out.clear();
    if (sep == ' ') {
        std::size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
                ++i;
            const std::size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                ++i;
            if (i > start) out.push_back(line.substr(start, i - start));
        }
        return;
    }
    if (line.find('"') == std::string_view::npos) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t at = line.find(sep, start);
            out.push_back(trim(line.substr(start, at == std::string_view::npos ? at : at - start)));
            if (at == std::string_view::npos) break;
            start = at + 1;
        }
        return;
    }
    // Quoted fields: unquote into the scratch text, then hand out views into it.
    scratch.clear();
    scratch.reserve(line.size());
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t begin = scratch.size();
        if (i < line.size() && line[i] == '"') {
            ++i;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        scratch += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                scratch += line[i++];
            }
            while (i < line.size() && line[i] != sep)
                ++i;
        } else {
            const std::size_t at = std::min(line.find(sep, i), line.size());
            scratch += trim(line.substr(i, at - i));
            i = at;
        }
        spans.emplace_back(begin, scratch.size() - begin);
        if (i >= line.size()) break;
        ++i; // the separator
    }
    for (const auto& [b, n] : spans)
        out.push_back(std::string_view(scratch).substr(b, n));
}

char separatorOf(std::string_view line) {
    for (char c : {',', ';', '\t'})
        if (line.find(c) != std::string_view::npos) return c;
    return ' ';
}

bool contains(const std::string& s, std::string_view part) {
    return s.find(part) != std::string::npos;
}

enum class Role { None, Error, Phase, Time, Magnitude, Flux, Power };

/// A brightness column named by its band: "V", "B", "Rc", "V mag", "Vmag", "V_mag".
std::optional<std::string> bandOfName(std::string_view header) {
    std::string_view h = trim(header);
    static constexpr std::string_view Letters = "UBVRIJHKGgriz";
    if (h.empty() || Letters.find(h.front()) == std::string_view::npos) return std::nullopt;
    std::size_t n = 1;
    if (h.size() > 1 && (h.substr(0, 2) == "Rc" || h.substr(0, 2) == "Ic")) n = 2;
    std::string rest = lower(h.substr(n));
    if (!rest.empty() && (rest.front() == ' ' || rest.front() == '_')) rest.erase(0, 1);
    if (rest.empty() || rest == "mag") return std::string(h.substr(0, n));
    return std::nullopt;
}

Role roleOf(std::string_view header) {
    const std::string h = lower(trim(header));
    if (contains(h, "err") || contains(h, "sigma") || contains(h, "uncert")) return Role::Error;
    if (contains(h, "phase")) return Role::Phase;
    if (h == "t" || contains(h, "time") || contains(h, "jd") || contains(h, "date") ||
        contains(h, "day"))
        return Role::Time;
    if (contains(h, "mag") || bandOfName(header)) return Role::Magnitude;
    if (contains(h, "flux") || contains(h, "intens") || contains(h, "rel")) return Role::Flux;
    if (contains(h, "power")) return Role::Power;
    return Role::None;
}

/// The words of a column name, lower case: "RV_A (km/s)" gives rv, a, km, s.
std::vector<std::string> wordsOf(std::string_view header) {
    std::vector<std::string> words(1);
    for (char c : header) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            words.back() += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!words.back().empty())
            words.emplace_back();
    }
    if (words.back().empty()) words.pop_back();
    return words;
}

/// A column of radial velocities: "rv", "rv_a", "RV1", "vrad", "velocity", "v (km/s)".
bool velocityName(std::string_view header) {
    const std::vector<std::string> w = wordsOf(header);
    for (std::size_t i = 0; i < w.size(); ++i) {
        for (std::string_view v :
             {"rv", "rva", "rvb", "rv1", "rv2", "vrad", "vr", "vel", "velocity", "radvel", "kms"})
            if (w[i] == v) return true;
        if (w[i] == "km" && i + 1 < w.size() && w[i + 1] == "s") return true;
    }
    return false;
}

/// The star a velocity or error column names: 1 for A ("rv_a", "rv1", "primary"), 2 for B,
/// 0 for neither.
int starOfName(std::string_view header) {
    for (const std::string& w : wordsOf(header)) {
        if (w == "a" || w == "1" || w == "rva" || w == "rv1" || w == "primary" || w == "pri" ||
            w == "erra" || w == "err1")
            return 1;
        if (w == "b" || w == "2" || w == "rvb" || w == "rv2" || w == "secondary" || w == "sec" ||
            w == "errb" || w == "err2")
            return 2;
    }
    return 0;
}

/// A velocity not measured: an empty field, "-", "--", "nan", "na" or "n/a".
bool absentField(std::string_view f) {
    if (f.empty() || f == "-" || f == "--") return true;
    const std::string l = lower(f);
    return l == "nan" || l == "na" || l == "n/a";
}

[[noreturn]] void fail(std::size_t line, const std::string& what) {
    throw DataFileError("line " + std::to_string(line) + ": " + what);
}

/// "# period = 2.8673 d", "# epoch: 2459000.1234"; a key it does not know is a comment.
void readComment(std::string_view body, std::size_t line, ObservedData& data) {
    const std::size_t eq = body.find_first_of("=:");
    if (eq == std::string_view::npos) return;
    const std::string key = lower(trim(body.substr(0, eq)));
    const bool isPeriod = key == "period" || key == "p";
    const bool isEpoch = key == "epoch" || key == "t0";
    if (!isPeriod && !isEpoch) return;
    std::string_view rest = trim(body.substr(eq + 1));
    std::size_t n = 0;
    while (n < rest.size() && rest[n] != ' ' && rest[n] != '\t')
        ++n;
    const std::optional<double> v = number(rest.substr(0, n));
    const std::string unit = lower(trim(rest.substr(n)));
    if (isPeriod) {
        if (!v) fail(line, "the period is not a number of days");
        if (!unit.empty() && unit != "d" && unit != "day" && unit != "days")
            fail(line, "the period must be given in days (\"d\")");
        if (*v <= 0) fail(line, "the period must be more than 0 days");
        if (*v < MinPeriod || *v > MaxTime)
            fail(line, "the period must be between 0.00001 and 100 million days");
        data.period = *v;
    } else {
        if (!v) fail(line, "the epoch is not a number of days");
        if (std::fabs(*v) > MaxTime) fail(line, "the epoch is more than 100 million days");
        data.epoch = *v;
    }
}

/// The time system a time column's name gives, and what its reduced dates leave out.
void timeSystemOf(const std::string& t, std::string& system, double& offset) {
    if (contains(t, "btjd")) {
        system = "BJD";
        offset = 2457000;
    } else if (contains(t, "bkjd")) {
        system = "BJD";
        offset = 2454833;
    } else if (contains(t, "mjd")) {
        system = "MJD";
        offset = 2400000.5;
    } else if (contains(t, "bjd")) {
        system = "BJD";
    } else if (contains(t, "hjd")) {
        system = "HJD";
    } else if (contains(t, "jd")) {
        system = "JD";
    }
    // "HJD-2400000", "BJD - 2450000": a reduced date says what it leaves out.
    const std::size_t minus = t.find('-');
    if (minus != std::string::npos && system != "unknown") {
        const std::optional<double> less = number(t.substr(minus + 1));
        if (less && *less >= 1e5 && *less < 1e7) offset = *less;
    }
}

/// Quality bits of Kepler and TESS that mark a cadence as unusable: attitude tweak, safe
/// mode, coarse point, Earth point, desaturation event, manual exclude.
constexpr long QualityMask = 1 | 2 | 4 | 8 | 32 | 128;

/// What a text file is read as: a light curve, velocities, or whichever its columns name.
enum class TableKind { Light, Velocity, Either };

/// Reads a text file line by line, so that a file is refused as soon as it shows itself
/// unusable and no line is kept longer than it is read.
class TextReader {
public:
    TextReader(std::string name, const ObservedOptions& options, TableKind kind = TableKind::Light)
        : options_(options), kind_(kind) {
        data_.name = std::move(name);
    }

    void line(std::string_view raw) {
        ++lineNo_;
        const std::string_view line = trim(raw);
        if (line.empty()) return;
        if (line.front() == '#') {
            readComment(line.substr(1), lineNo_, data_);
            // A comment line that names columns may be the header (the Kepler catalogue's).
            if (!columnsKnown_) {
                const std::string_view body = trim(line.substr(1));
                std::vector<std::string_view> f;
                split(body, separatorOf(body), f, scratch_);
                if (f.size() >= 2 &&
                    std::none_of(f.begin(), f.end(), [](std::string_view x) { return number(x); }))
                    commentHeader_.assign(body);
            }
            return;
        }
        if (!columnsKnown_) {
            sep_ = separatorOf(line);
            decimalComma_ = sep_ == ';';
            split(line, sep_, fields_, scratch_);
            // A header row holds no number; a row with some is data, perhaps with a bad field.
            const bool header = std::none_of(fields_.begin(), fields_.end(),
                                             [](std::string_view f) { return number(f); });
            if (header) {
                setHeader(fields_, false);
                return;
            }
            columnsKnown_ = true;
            bool named = false;
            if (!commentHeader_.empty()) {
                std::vector<std::string_view> f;
                std::string keep;
                split(commentHeader_, sep_ == ' ' ? ' ' : sep_, f, keep);
                if (f.size() == fields_.size()) {
                    std::vector<std::string> copies(f.begin(), f.end());
                    std::vector<std::string_view> views(copies.begin(), copies.end());
                    named = setHeader(views, true);
                }
            }
            if (!named && kind_ == TableKind::Velocity) {
                // time, rv_a[, rv_b][, error[, error_b]]
                if (fields_.size() < 2)
                    fail(lineNo_, "a row has one column; a time and a velocity column are needed");
                velocity_ = true;
                const std::size_t n = std::min<std::size_t>(fields_.size(), 5);
                if (n >= 3) rvBCol_ = 2;
                if (n >= 4) errorACol_ = errorBCol_ = 3;
                if (n >= 5) errorBCol_ = 4;
                needed_ = 2;
            } else if (!named) {
                if (fields_.size() < 2)
                    fail(lineNo_,
                         "a row has one column; a time and a brightness column are needed");
                hasError_ = fields_.size() >= 3;
                errorCol_ = 2;
                needed_ = hasError_ ? 3 : 2;
            }
        }
        row(line);
    }

    ObservedData finish();
    VelocitySet finishVelocities();
    ObservedFile finishAny() {
        if (velocity_) return finishVelocities();
        return finish();
    }

    /// Whether the columns are known: every later line that is neither blank nor a comment
    /// is a data row.
    [[nodiscard]] bool columnsKnown() const { return columnsKnown_; }
    [[nodiscard]] std::size_t linesRead() const { return lineNo_; }
    [[nodiscard]] std::size_t dataRows() const { return dataLines_; }

private:
    /// Picks the columns of a header; false (with tryOnly) where it names no time or no
    /// brightness column.
    bool setHeader(const std::vector<std::string_view>& names, bool tryOnly);
    void row(std::string_view line);
    void velocityRow(double time);
    /// Picks the velocity and error columns among `names`; false where none is a velocity.
    bool setVelocityHeader(const std::vector<std::string_view>& names, bool tryOnly);
    void skip(const char* reason);
    /// Where no header ever named the columns: the message of a file that gave no row.
    void failEmpty();
    [[nodiscard]] std::optional<double> field(std::string_view f) const {
        if (!decimalComma_ || f.find(',') == std::string_view::npos) return number(f);
        std::string dotted(f);
        std::replace(dotted.begin(), dotted.end(), ',', '.');
        return number(dotted);
    }

    ObservedData data_;
    const ObservedOptions& options_;
    TableKind kind_;
    bool velocity_ = false; ///< the columns are velocities: star A's is `valueCol_`
    std::optional<std::size_t> rvBCol_, errorACol_, errorBCol_;
    std::vector<double> rvB_, errorA_, errorB_; ///< beside `data_.value`, star A's
    std::optional<std::string> rvBName_, errorBName_;
    std::vector<std::string_view> fields_;
    std::string scratch_, commentHeader_;
    char sep_ = 0;
    bool decimalComma_ = false, columnsKnown_ = false, hasError_ = false;
    std::size_t timeCol_ = 0, valueCol_ = 1, errorCol_ = 0, needed_ = 2;
    std::optional<std::size_t> bandCol_, qualityCol_, catflagsCol_, fainterCol_;
    bool reducedIfSmall_ = false; ///< catalogue times below 10^6 are BJD - 2400000
    bool firstRow_ = true;
    std::size_t lineNo_ = 0, firstSkip_ = 0, firstFields_ = 0, dataLines_ = 0;
    const char* firstReason_ = nullptr;
    std::vector<std::uint32_t> rowBand_;
    std::vector<std::string> bandNames_;
    std::vector<std::size_t> bandRows_;
};

bool TextReader::setHeader(const std::vector<std::string_view>& names, bool tryOnly) {
    if (kind_ != TableKind::Light) {
        // Velocities where the header names them and, unless only velocities are read, no
        // brightness.
        const bool brightness = std::any_of(names.begin(), names.end(), [](std::string_view n) {
            const Role r = roleOf(n);
            return r == Role::Magnitude || r == Role::Flux || r == Role::Power;
        });
        if ((kind_ == TableKind::Velocity || !brightness) && setVelocityHeader(names, tryOnly))
            return true;
        if (kind_ == TableKind::Velocity) {
            if (tryOnly) return false;
            fail(lineNo_, "the header names no velocity column (rv, rv_a, rv_b, velocity or "
                          "km/s)");
        }
    }
    std::vector<std::string> h;
    for (std::string_view n : names)
        h.push_back(lower(trim(n)));
    auto find = [&](std::initializer_list<std::string_view> wanted) -> std::optional<std::size_t> {
        for (std::string_view w : wanted)
            for (std::size_t i = 0; i < h.size(); ++i)
                if (h[i] == w) return i;
        return std::nullopt;
    };
    std::optional<std::size_t> time, value, error;
    Brightness brightness = Brightness::Magnitude;
    std::string system = "unknown";
    double offset = 0;
    ObservedFormat format = ObservedFormat::Plain;
    if (find({"band"}) && find({"jd"}) && find({"magnitude"})) {
        format = ObservedFormat::Aavso;
        time = find({"jd"});
        system = "JD";
        value = find({"magnitude"});
        error = find({"uncertainty"});
        bandCol_ = find({"band"});
        fainterCol_ = find({"fainter than", "fainterthan"});
    } else if (find({"filtercode"})) {
        format = ObservedFormat::Ztf;
        if ((time = find({"hjd"}))) {
            system = "HJD";
        } else if ((time = find({"mjd"}))) {
            system = "MJD";
            offset = 2400000.5;
        }
        value = find({"mag"});
        error = find({"magerr"});
        bandCol_ = find({"filtercode"});
        catflagsCol_ = find({"catflags"});
    } else if (find({"camera"}) && (find({"fwhm"}) || find({"limit"}))) {
        format = ObservedFormat::AsasSn;
        if ((time = find({"hjd"})))
            system = "HJD";
        else if ((time = find({"bjd"})))
            system = "BJD";
        else if ((time = find({"jd"})))
            system = "JD";
        value = find({"mag"});
        error = find({"mag_err", "mag err", "mag error", "mag_error"});
        bandCol_ = find({"filter"});
    } else if (find({"bjd"}) && (find({"corr_flux"}) || find({"raw_flux"}))) {
        format = ObservedFormat::Kebc;
        time = find({"bjd"});
        system = "BJD";
        reducedIfSmall_ = true;
        if ((value = find({"corr_flux"})))
            error = find({"corr_err"});
        else if ((value = find({"raw_flux"})))
            error = find({"raw_err"});
        brightness = Brightness::Flux;
    } else {
        // Any other header: the columns by their roles.
        std::optional<std::size_t> phase, mag, bandMag, flux, power;
        std::vector<std::size_t> errors;
        for (std::size_t i = 0; i < names.size(); ++i) {
            auto first = [i](std::optional<std::size_t>& slot) {
                if (!slot) slot = i;
            };
            switch (roleOf(names[i])) {
            case Role::Error:
                errors.push_back(i);
                break;
            case Role::Phase:
                first(phase);
                break;
            case Role::Time:
                first(time);
                break;
            case Role::Magnitude:
                // A column named "mag" before one named by a bare band letter ("V").
                if (contains(h[i], "mag"))
                    first(mag);
                else
                    first(bandMag);
                break;
            case Role::Flux:
                // The corrected flux of a mission's table before the simple aperture's.
                if (contains(h[i], "pdcsap") || contains(h[i], "corr")) {
                    if (!flux || !(contains(h[*flux], "pdcsap") || contains(h[*flux], "corr")))
                        flux = i;
                } else {
                    first(flux);
                }
                break;
            case Role::Power:
                first(power);
                break;
            default:
                break;
            }
        }
        if (!phase && !time) {
            if (tryOnly) return false;
            fail(lineNo_, "the header names no time column (time, HJD, JD, BJD, "
                          "date, day or phase)");
        }
        if (!mag) mag = bandMag;
        if (!mag && !flux && !power) {
            if (tryOnly) return false;
            fail(lineNo_, "the header names no brightness column (magnitude, mag, "
                          "flux or power)");
        }
        if (phase) {
            time = phase;
            system = "phase";
        } else {
            timeSystemOf(h[*time], system, offset);
        }
        brightness = mag ? Brightness::Magnitude : flux ? Brightness::Flux : Brightness::Power;
        value = mag ? mag : flux ? flux : power;
        if (mag) {
            if (const auto b = bandOfName(names[*mag])) data_.band = *b;
        }
        // The error of the brightness column ("pdcsap_flux_err"), else the first one.
        if (!errors.empty()) {
            std::string stem = h[*value];
            for (std::string_view unit : {"_flux", "flux", "_mag", " mag", "mag"})
                if (stem.size() > unit.size() && stem.ends_with(unit)) {
                    stem.resize(stem.size() - unit.size());
                    break;
                }
            error = errors.front();
            for (std::size_t e : errors)
                if (h[e].starts_with(stem) && !stem.empty()) {
                    error = e;
                    break;
                }
        }
        qualityCol_ = find({"quality", "sap_quality"});
    }
    if (!time || !value) {
        if (tryOnly) return false;
        fail(lineNo_, !time ? "the header names no time column (time, HJD, JD, BJD, date, day "
                              "or phase)"
                            : "the header names no brightness column (magnitude, mag, flux or "
                              "power)");
    }
    data_.format = format;
    data_.phased = system == "phase";
    data_.timeSystem = system;
    data_.timeOffset = offset;
    data_.brightness = brightness;
    data_.timeColumn = std::string(trim(names[*time]));
    data_.brightnessColumn = std::string(trim(names[*value]));
    if (error) data_.errorColumn = std::string(trim(names[*error]));
    timeCol_ = *time;
    valueCol_ = *value;
    hasError_ = error.has_value();
    errorCol_ = error.value_or(0);
    needed_ = std::max({timeCol_, valueCol_, hasError_ ? errorCol_ : 0}) + 1;
    columnsKnown_ = true;
    return true;
}

bool TextReader::setVelocityHeader(const std::vector<std::string_view>& names, bool tryOnly) {
    std::optional<std::size_t> time, phase;
    std::vector<std::size_t> velocities, errors;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const Role role = roleOf(names[i]);
        const std::vector<std::string> words = wordsOf(names[i]);
        if (role == Role::Error || (words.size() > 1 && words.front() == "e"))
            errors.push_back(i); // "rv_err", "sigma_b", "e_RV1"
        else if (velocityName(names[i]))
            velocities.push_back(i);
        else if (role == Role::Phase && !phase)
            phase = i;
        else if (role == Role::Time && !time)
            time = i;
    }
    if (velocities.empty()) return false;
    if (!phase && !time) {
        if (tryOnly) return false;
        fail(lineNo_, "the header names no time column (time, HJD, JD, BJD, date, day or phase)");
    }
    // Star A's column: the one tagged A, else the first untagged; star B's likewise.
    auto tagged = [&](const std::vector<std::size_t>& cols, int star,
                      std::optional<std::size_t> besides) -> std::optional<std::size_t> {
        for (std::size_t c : cols)
            if (starOfName(names[c]) == star && c != besides) return c;
        return std::nullopt;
    };
    std::optional<std::size_t> a = tagged(velocities, 1, std::nullopt);
    if (!a) a = tagged(velocities, 0, std::nullopt);
    if (!a) {
        if (tryOnly) return false;
        fail(lineNo_, "the header names star B's velocities but not star A's");
    }
    std::optional<std::size_t> b = tagged(velocities, 2, a);
    if (!b) b = tagged(velocities, 0, a);
    std::optional<std::size_t> eA = tagged(errors, 1, std::nullopt);
    std::optional<std::size_t> eB = tagged(errors, 2, std::nullopt);
    std::vector<std::size_t> untagged;
    for (std::size_t c : errors)
        if (starOfName(names[c]) == 0) untagged.push_back(c);
    if (untagged.size() == 1 && !eA && !eB) {
        eA = eB = untagged.front(); // one error column for both stars
    } else {
        std::size_t next = 0;
        if (!eA && next < untagged.size()) eA = untagged[next++];
        if (!eB && b && next < untagged.size()) eB = untagged[next++];
    }
    std::string system = "unknown";
    double offset = 0;
    if (phase) {
        time = phase;
        system = "phase";
    } else {
        timeSystemOf(lower(trim(names[*time])), system, offset);
    }
    velocity_ = true;
    data_.phased = system == "phase";
    data_.timeSystem = system;
    data_.timeOffset = offset;
    auto name = [&](std::optional<std::size_t> c) -> std::optional<std::string> {
        if (!c) return std::nullopt;
        return std::string(trim(names[*c]));
    };
    data_.timeColumn = name(time);
    data_.brightnessColumn = name(a);
    data_.errorColumn = name(eA);
    rvBName_ = name(b);
    errorBName_ = name(eB);
    timeCol_ = *time;
    valueCol_ = *a;
    rvBCol_ = b;
    errorACol_ = eA;
    errorBCol_ = eB;
    needed_ = std::max(timeCol_, valueCol_) + 1; // later columns may be left off: not measured
    columnsKnown_ = true;
    return true;
}

void TextReader::skip(const char* reason) {
    if (data_.skipped == 0) {
        firstSkip_ = lineNo_;
        firstFields_ = fields_.size();
        firstReason_ = reason;
    }
    ++data_.skipped;
    if (data_.skippedLines.size() < 5) data_.skippedLines.push_back(lineNo_);
    for (SkipReason& r : data_.skippedReasons)
        if (r.reason == reason) {
            ++r.count;
            return;
        }
    data_.skippedReasons.push_back({reason, 1});
}

void TextReader::row(std::string_view line) {
    // Every data row counts towards the limit, read or skipped.
    if (++dataLines_ > options_.maxRows)
        fail(lineNo_, "more than " + std::to_string(options_.maxRows) + " rows");
    split(line, sep_, fields_, scratch_);
    // A file whose first thousand rows give nothing will give nothing: stop reading it.
    if (data_.time.empty() && dataLines_ > 1000 && data_.skipped == dataLines_ - 1)
        fail(firstSkip_,
             std::string("no row could be read in the first 1000 (") + firstReason_ + ")");
    if (fields_.size() < needed_) {
        if (fields_.size() < 2 && data_.time.empty() && data_.skipped == 0)
            fail(lineNo_, "a row has one column; a time and a brightness column are needed");
        skip("too few columns");
        return;
    }
    const std::optional<double> t = field(fields_[timeCol_]);
    if (!t) return skip("the time is not a number");
    if (firstRow_) {
        firstRow_ = false;
        if (reducedIfSmall_ && std::fabs(*t) < 1e6) data_.timeOffset = 2400000;
        // Header lines give the epoch in the file's own time scale.
        if (data_.epoch && data_.timeOffset != 0 && std::fabs(*data_.epoch) < 1e6)
            *data_.epoch += data_.timeOffset;
    }
    if (std::fabs(*t) > MaxTime) return skip("a time more than 100 million days from zero");
    if (velocity_) return velocityRow(*t);
    const std::string_view vf = trim(fields_[valueCol_]);
    if (!vf.empty() && (vf.front() == '<' || vf.front() == '>'))
        return skip("a limit (fainter than shown), not a measurement");
    if (fainterCol_ && fields_.size() > *fainterCol_ && trim(fields_[*fainterCol_]) == "1")
        return skip("a limit (fainter than shown), not a measurement");
    const std::optional<double> v = field(vf);
    if (!v) return skip("the brightness is not a number");
    if (data_.brightness == Brightness::Magnitude && std::fabs(*v) > 100)
        return skip("a magnitude beyond 100");
    if (data_.brightness != Brightness::Magnitude && *v <= 0) return skip("a flux of 0 or less");
    double e = 0;
    if (hasError_) {
        const std::string_view ef = trim(fields_[errorCol_]);
        if (ef.empty() && data_.format == ObservedFormat::Aavso) {
            e = NAN; // a visual estimate: no error bar
        } else {
            const std::optional<double> ev = field(ef);
            if (!ev) return skip("the error is not a number");
            if (*ev < 0) return skip("a negative error");
            e = *ev;
        }
    }
    if (qualityCol_ && fields_.size() > *qualityCol_) {
        const std::optional<double> q = number(fields_[*qualityCol_]);
        if (q && *q >= 0 && *q < 4294967296.0 && (static_cast<long>(*q) & QualityMask) != 0)
            return skip("flagged in the quality column");
    }
    if (catflagsCol_ && fields_.size() > *catflagsCol_) {
        const std::optional<double> q = number(fields_[*catflagsCol_]);
        if (!q || *q != 0) return skip("flagged in catflags");
    }
    if (bandCol_) {
        const std::string_view b =
            fields_.size() > *bandCol_ ? trim(fields_[*bandCol_]) : std::string_view();
        std::uint32_t k = 0;
        while (k < bandNames_.size() && bandNames_[k] != b)
            ++k;
        if (k == bandNames_.size()) {
            if (k >= 1000) fail(lineNo_, "more than 1000 bands");
            bandNames_.emplace_back(b);
            bandRows_.push_back(0);
        }
        ++bandRows_[k];
        rowBand_.push_back(k);
    }
    data_.time.push_back(*t);
    data_.value.push_back(*v);
    if (hasError_) data_.error.push_back(e);
}

void TextReader::velocityRow(double time) {
    // A field past the end of a short row, empty, "-" or "nan" is a value not measured.
    auto value = [&](std::optional<std::size_t> col) -> std::optional<std::string_view> {
        if (!col || *col >= fields_.size()) return std::nullopt;
        const std::string_view f = trim(fields_[*col]);
        if (absentField(f)) return std::nullopt;
        return f;
    };
    double rv[2] = {NAN, NAN}, err[2] = {NAN, NAN};
    const std::optional<std::size_t> rvCols[2] = {valueCol_, rvBCol_};
    const std::optional<std::size_t> errCols[2] = {errorACol_, errorBCol_};
    for (int k = 0; k < 2; ++k) {
        if (const auto f = value(rvCols[k])) {
            const std::optional<double> v = field(*f);
            if (!v) return skip("a velocity is not a number");
            if (std::fabs(*v) >= SpeedOfLight) return skip("a velocity faster than light");
            rv[k] = *v;
        }
        if (const auto f = value(errCols[k]); f && !std::isnan(rv[k])) {
            const std::optional<double> e = field(*f);
            if (!e) return skip("the error is not a number");
            if (*e < 0) return skip("a negative error");
            if (*e >= SpeedOfLight) return skip("an error faster than light");
            err[k] = *e;
        }
    }
    if (std::isnan(rv[0]) && std::isnan(rv[1])) return skip("no velocity in the row");
    data_.time.push_back(time);
    data_.value.push_back(rv[0]);
    rvB_.push_back(rv[1]);
    errorA_.push_back(err[0]);
    errorB_.push_back(err[1]);
}

/// Keeps the rows whose flag is set, in order.
template <class Keep> void keepRows(ObservedData& d, Keep keep) {
    std::size_t out = 0;
    const bool errors = !d.error.empty();
    for (std::size_t i = 0; i < d.time.size(); ++i) {
        if (!keep(i)) continue;
        d.time[out] = d.time[i];
        d.value[out] = d.value[i];
        if (errors) d.error[out] = d.error[i];
        ++out;
    }
    d.time.resize(out);
    d.value.resize(out);
    if (errors) d.error.resize(out);
}

/// Puts the rows in time order, equal times in file order, moving the other columns (each
/// one value per row, or empty) with their times. Whether the rows had to move.
bool putInTimeOrder(std::vector<double>& time,
                    std::initializer_list<std::vector<double>*> columns) {
    if (std::is_sorted(time.begin(), time.end())) return false;
    std::vector<std::uint32_t> order(time.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<std::uint32_t>(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return time[a] < time[b]; });
    auto permute = [&](std::vector<double>& v) {
        if (v.empty()) return;
        std::vector<double> out(v.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            out[i] = v[order[i]];
        v.swap(out);
    };
    for (std::vector<double>* column : columns)
        permute(*column);
    permute(time);
    return true;
}

} // namespace

void finishObserved(ObservedData& d) {
    // A brightness far from all the others (a figure such as 1e214 among ordinary ones)
    // would make every figure of the fit infinite: more than 50 magnitudes from the median.
    if (!d.value.empty()) {
        std::vector<double> v = d.value;
        const std::size_t mid = v.size() / 2;
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
        const double med = v[mid];
        const bool isMag = d.brightness == Brightness::Magnitude;
        auto far = [&](double x) {
            return isMag ? std::fabs(x - med) > 50 : !(x / med < 1e20 && med / x < 1e20);
        };
        std::size_t dropped = 0;
        for (double x : d.value)
            dropped += far(x);
        if (dropped > 0) {
            keepRows(d, [&](std::size_t i) { return !far(d.value[i]); });
            d.skipped += dropped;
            d.skippedReasons.push_back(
                {"a brightness more than 50 magnitudes from the rest", dropped});
        }
    }
    if (d.time.size() < 3)
        throw DataFileError("only " + std::to_string(d.time.size()) +
                            " rows could be read; at least 3 are needed");
    if (d.timeOffset != 0)
        for (double& t : d.time)
            t += d.timeOffset;
    if (!d.phased && putInTimeOrder(d.time, {&d.value, &d.error})) d.sorted = true;
}

void TextReader::failEmpty() {
    if (data_.skipped > 0 && firstFields_ < needed_)
        fail(firstSkip_, "a row has " + std::to_string(firstFields_) + " columns where " +
                             std::to_string(needed_) + " are needed; no row could be read");
    if (data_.skipped > 0)
        throw DataFileError("no row could be read (the first is line " +
                            std::to_string(firstSkip_) + ": " + firstReason_ + ")");
    throw DataFileError("the file holds no rows of numbers");
}

VelocitySet TextReader::finishVelocities() {
    data_.lines = lineNo_;
    if (data_.time.empty()) failEmpty();
    if (data_.time.size() < 3)
        throw DataFileError("only " + std::to_string(data_.time.size()) +
                            " rows could be read; at least 3 are needed");
    VelocitySet v;
    v.name = std::move(data_.name);
    v.time = std::move(data_.time);
    v.rvA = std::move(data_.value);
    v.rvB = std::move(rvB_);
    v.errorA = std::move(errorA_);
    v.errorB = std::move(errorB_);
    v.period = data_.period;
    v.epoch = data_.epoch;
    for (const SkipReason& r : data_.skippedReasons)
        v.skippedReasons.push_back(std::to_string(r.count) + " " + r.reason);
    v.phased = data_.phased;
    v.timeSystem = data_.timeSystem;
    v.timeOffset = data_.timeOffset;
    v.timeColumn = data_.timeColumn;
    v.rvAColumn = data_.brightnessColumn;
    v.rvBColumn = rvBName_;
    v.errorAColumn = data_.errorColumn;
    v.errorBColumn = errorBName_;
    v.skipped = data_.skipped;
    v.skippedLines = data_.skippedLines;
    v.lines = data_.lines;
    if (v.timeOffset != 0)
        for (double& t : v.time)
            t += v.timeOffset;
    if (!v.phased && putInTimeOrder(v.time, {&v.rvA, &v.rvB, &v.errorA, &v.errorB}))
        v.sorted = true;
    return v;
}

ObservedData TextReader::finish() {
    data_.lines = lineNo_;
    if (data_.time.empty()) failEmpty();
    if (!bandNames_.empty()) {
        // The band asked for, else the most numerous (the first met of equal ones).
        std::size_t chosen = 0;
        for (std::size_t k = 1; k < bandNames_.size(); ++k)
            if (bandRows_[k] > bandRows_[chosen]) chosen = k;
        if (options_.band) {
            const std::string want = lower(*options_.band);
            std::size_t k = 0;
            while (k < bandNames_.size() && lower(bandNames_[k]) != want)
                ++k;
            if (k == bandNames_.size()) {
                std::string present;
                for (std::size_t j = 0; j < bandNames_.size(); ++j)
                    present += (j ? ", " : "") + bandNames_[j];
                throw DataFileError("the file has no rows in the band " + *options_.band +
                                    " (it has " + present + ")");
            }
            chosen = k;
        }
        for (std::size_t k = 0; k < bandNames_.size(); ++k)
            data_.bands.push_back({bandNames_[k], bandRows_[k]});
        std::stable_sort(data_.bands.begin(), data_.bands.end(),
                         [](const BandCount& a, const BandCount& b) { return a.count > b.count; });
        data_.band = bandNames_[chosen];
        if (bandNames_.size() > 1) {
            const std::uint32_t c = static_cast<std::uint32_t>(chosen);
            keepRows(data_, [&](std::size_t i) { return rowBand_[i] == c; });
        }
        rowBand_ = {};
    }
    finishObserved(data_);
    return std::move(data_);
}

namespace {

/// A control character that no text file holds (tab, line ends, form feed and escape do).
bool binaryByte(unsigned char c) {
    return c < 0x09 || (c > 0x0D && c < 0x20 && c != 0x1B);
}

/// The line of the first data row past `maxRows` in the file from byte `offset` on, where
/// `lines` lines and `rows` data rows came before it; none when there are not that many. A
/// quick pass that looks at the first character of each line: once the columns are known,
/// a line that is neither blank nor a `#` comment is a data row.
std::optional<std::size_t> lineOfRowPast(const std::string& path, std::size_t offset,
                                         std::size_t fileSize, std::size_t lines, std::size_t rows,
                                         std::size_t maxRows) {
    if (rows > maxRows) return std::nullopt; // already refused by the reader
    // A row takes two bytes at least (a character and its line end), the last one one.
    const std::size_t needed = maxRows - rows + 1;
    if (offset > fileSize || fileSize - offset < 2 * needed - 1) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in) return std::nullopt; // the parse that follows says what is wrong
    std::vector<char> buffer(1 << 20);
    std::size_t line = lines + 1;
    bool lineStart = true; // still among the blanks that begin a line
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const char* p = buffer.data();
        const char* const end = p + in.gcount();
        while (p < end) {
            if (lineStart) {
                const char c = *p;
                if (c == ' ' || c == '\t' || c == '\r') {
                    ++p;
                    continue;
                }
                lineStart = false;
                if (c != '\n' && c != '#' && ++rows > maxRows) return line;
            }
            const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
            if (nl == nullptr) break;
            p = static_cast<const char*>(nl) + 1;
            ++line;
            lineStart = true;
        }
    }
    return std::nullopt;
}

} // namespace

const char* formatName(ObservedFormat format) {
    switch (format) {
    case ObservedFormat::Plain:
        return "plain";
    case ObservedFormat::Aavso:
        return "aavso";
    case ObservedFormat::TessFits:
        return "tess-fits";
    case ObservedFormat::KeplerFits:
        return "kepler-fits";
    case ObservedFormat::Kebc:
        return "kebc";
    case ObservedFormat::AsasSn:
        return "asas-sn";
    case ObservedFormat::Ztf:
        return "ztf";
    }
    return "plain";
}

namespace {

/// Feeds the text of a file to a reader line by line, refusing binary data.
void feedText(std::string_view text, TextReader& reader) {
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    for (unsigned char c : text)
        if (binaryByte(c)) throw DataFileError("this is not a text file (it holds binary data)");
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        reader.line(text.substr(pos, end - pos));
        pos = end + 1;
    }
}

/// A file opened for reading, its first block read.
struct OpenedFile {
    std::string path;
    std::size_t size = 0; ///< bytes, when it was opened
    std::ifstream in;
    std::vector<char> buffer = std::vector<char>(1 << 16);
    std::size_t got = 0;
    [[nodiscard]] bool fits() const { return isFits(std::string_view(buffer.data(), got)); }
};

constexpr std::size_t MaxBytes = std::size_t{1} << 30;

/// Opens a regular file of at most 1 GiB and reads its first block.
void openFile(const std::string& path, OpenedFile& f) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        throw DataFileError(std::string("the file cannot be opened (") + std::strerror(errno) +
                            ")");
    if (S_ISDIR(st.st_mode)) throw DataFileError("this is a folder, not a file");
    // A device, a pipe or a socket may never end (/dev/zero): not read at all.
    if (!S_ISREG(st.st_mode)) throw DataFileError("this is not a regular file");
    if (static_cast<std::size_t>(st.st_size) > MaxBytes)
        throw DataFileError("the file is larger than 1 GiB");
    f.path = path;
    f.size = static_cast<std::size_t>(st.st_size);
    f.in.open(path, std::ios::binary);
    if (!f.in)
        throw DataFileError(std::string("the file cannot be opened (") + std::strerror(errno) +
                            ")");
    f.in.read(f.buffer.data(), static_cast<std::streamsize>(f.buffer.size()));
    f.got = static_cast<std::size_t>(f.in.gcount());
}

/// Feeds an opened text file to a reader block by block: no line is kept longer than it is
/// read, binary data and an overlong line are refused as they come.
void feedFile(OpenedFile& f, TextReader& reader, const ObservedOptions& options) {
    std::string pending; // the start of a line that runs past the buffer
    std::size_t total = 0;
    bool first = true;
    bool counted = false; // the rows to come were counted
    // At the first data row, the rows that follow are counted before any is parsed: a file
    // with too many is refused at once, not after reading all the rows it may have.
    auto countAhead = [&](std::size_t nextLine) {
        if (counted || !reader.columnsKnown()) return;
        counted = true;
        if (const auto past = lineOfRowPast(f.path, nextLine, f.size, reader.linesRead(),
                                            reader.dataRows(), options.maxRows))
            fail(*past, "more than " + std::to_string(options.maxRows) + " rows");
    };
    for (;;) {
        std::string_view block(f.buffer.data(), f.got);
        const std::size_t blockStart = total; // the file's offset of buffer[0]
        if (first && block.substr(0, 3) == "\xEF\xBB\xBF") block.remove_prefix(3);
        const std::size_t skipped = f.got - block.size();
        first = false;
        // The first block shows binary content; every later one is checked as it comes.
        for (unsigned char c : block)
            if (binaryByte(c))
                throw DataFileError("this is not a text file (it holds binary data)");
        total += f.got;
        if (total > MaxBytes) throw DataFileError("the file is larger than 1 GiB");
        std::size_t pos = 0;
        for (;;) {
            const std::size_t end = block.find('\n', pos);
            if (end == std::string_view::npos) break;
            if (pending.empty()) {
                reader.line(block.substr(pos, end - pos));
            } else {
                pending.append(block.substr(pos, end - pos));
                reader.line(pending);
                pending.clear();
            }
            pos = end + 1;
            countAhead(blockStart + skipped + pos);
        }
        pending.append(block.substr(pos));
        if (pending.size() > MaxObservedLine)
            throw DataFileError("a line is longer than " + std::to_string(MaxObservedLine / 1024) +
                                " KiB; this is not a table of rows");
        if (!f.in) break;
        f.in.read(f.buffer.data(), static_cast<std::streamsize>(f.buffer.size()));
        f.got = static_cast<std::size_t>(f.in.gcount());
        if (f.got == 0) break;
    }
    if (f.in.bad()) throw DataFileError("the file could not be read to its end");
    if (!pending.empty()) reader.line(pending);
}

constexpr const char* FitsNotVelocities =
    "this FITS file holds a light curve, not radial velocities";

} // namespace

ObservedData parseObserved(std::string_view text, std::string name,
                           const ObservedOptions& options) {
    TextReader reader(std::move(name), options);
    feedText(text, reader);
    return reader.finish();
}

ObservedData readObserved(const std::string& path, std::string name,
                          const ObservedOptions& options) {
    OpenedFile f;
    openFile(path, f);
    if (f.fits()) {
        f.in.close();
        return readFitsLightCurve(path, std::move(name), options);
    }
    TextReader reader(std::move(name), options);
    feedFile(f, reader, options);
    return reader.finish();
}

VelocitySet parseVelocities(std::string_view text, std::string name) {
    const ObservedOptions options;
    TextReader reader(std::move(name), options, TableKind::Velocity);
    feedText(text, reader);
    return reader.finishVelocities();
}

VelocitySet readVelocities(const std::string& path, std::string name) {
    OpenedFile f;
    openFile(path, f);
    if (f.fits()) throw DataFileError(FitsNotVelocities);
    const ObservedOptions options;
    TextReader reader(std::move(name), options, TableKind::Velocity);
    feedFile(f, reader, options);
    return reader.finishVelocities();
}

ObservedFile parseObservedFile(std::string_view text, std::string name,
                               const ObservedOptions& options) {
    TextReader reader(std::move(name), options, TableKind::Either);
    feedText(text, reader);
    return reader.finishAny();
}

ObservedFile readObservedFile(const std::string& path, std::string name,
                              const ObservedOptions& options) {
    OpenedFile f;
    openFile(path, f);
    if (f.fits()) {
        f.in.close();
        return readFitsLightCurve(path, std::move(name), options);
    }
    TextReader reader(std::move(name), options, TableKind::Either);
    feedFile(f, reader, options);
    return reader.finishAny();
}

std::string describeObserved(const ObservedData& d) {
    static constexpr const char* Layouts[] = {"plain table",
                                              "AAVSO download",
                                              "TESS FITS light curve",
                                              "Kepler FITS light curve",
                                              "Kepler eclipsing-binary catalogue table",
                                              "ASAS-SN light curve",
                                              "ZTF light curve"};
    std::string s = d.name + ": " + Layouts[static_cast<int>(d.format)] + "\n";
    s += "time: " + d.timeColumn.value_or("column 1") + " (" + d.timeSystem;
    if (d.timeOffset != 0) s += ", the file's times + " + Str(d.timeOffset);
    s += ")\nbrightness: " + d.brightnessColumn.value_or("column 2") + " (" +
         (d.brightness == Brightness::Magnitude ? "magnitude" : "flux") + ")";
    if (!d.error.empty()) s += ", error: " + d.errorColumn.value_or("column 3");
    s += "\n";
    const std::string points = std::to_string(d.time.size()) + " points kept";
    if (d.band) {
        s += "band " + *d.band + ": " + points;
        std::string others;
        for (const BandCount& b : d.bands)
            if (b.band != *d.band)
                others += (others.empty() ? "" : ", ") + (b.band.empty() ? "(none)" : b.band) +
                          " (" + std::to_string(b.count) + ")";
        if (!others.empty()) s += "; also " + others + ", not shown";
    } else {
        s += points;
    }
    if (d.sorted) s += ", put into time order";
    s += "\n";
    if (d.skipped > 0) {
        s += std::to_string(d.skipped) + (d.skipped == 1 ? " row" : " rows") + " skipped:";
        for (std::size_t i = 0; i < d.skippedReasons.size(); ++i)
            s += (i ? "; " : " ") + std::to_string(d.skippedReasons[i].count) + " " +
                 d.skippedReasons[i].reason;
        s += "\n";
    }
    if (d.period)
        s += "period " + Str(*d.period) + " d" + (d.epoch ? ", epoch " + Str(*d.epoch) : "");
    else if (d.phased)
        s += "phases given: no period needed";
    else
        s += "no period in the file: folded on the model's period";
    return s;
}

} // namespace orvanta
