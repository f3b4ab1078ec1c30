// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an observed light curve: the formats that observers' software and spreadsheets
// write. Numbers use "." whatever the locale; nothing here depends on the locale.
#include "core/observed_data.h"

#include "core/text_rules.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace orvanta {

namespace {

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

Role roleOf(std::string_view header) {
    const std::string h = lower(trim(header));
    if (contains(h, "err") || contains(h, "sigma") || contains(h, "uncert")) return Role::Error;
    if (contains(h, "phase")) return Role::Phase;
    if (h == "t" || contains(h, "time") || contains(h, "jd") || contains(h, "date") ||
        contains(h, "day"))
        return Role::Time;
    if (contains(h, "mag")) return Role::Magnitude;
    if (contains(h, "flux") || contains(h, "intens") || contains(h, "rel")) return Role::Flux;
    if (contains(h, "power")) return Role::Power;
    return Role::None;
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
        data.period = *v;
    } else {
        if (!v) fail(line, "the epoch is not a number of days");
        data.epoch = *v;
    }
}

} // namespace

ObservedData parseObserved(std::string_view text, std::string name) {
    ObservedData data;
    data.name = std::move(name);
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    for (unsigned char c : text)
        if (c < 0x09 || (c > 0x0D && c < 0x20 && c != 0x1B))
            throw DataFileError("this is not a text file (it holds binary data)");

    std::vector<std::string_view> fields;
    std::string scratch;
    char sep = 0;
    bool columnsKnown = false;
    std::size_t timeCol = 0, valueCol = 1, errorCol = 0, needed = 2;
    bool hasError = false;
    std::size_t lineNo = 0;
    std::size_t firstSkip = 0, firstFields = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trim(text.substr(pos, end - pos));
        pos = end + 1;
        ++lineNo;
        if (line.empty()) continue;
        if (line.front() == '#') {
            readComment(line.substr(1), lineNo, data);
            continue;
        }
        if (!columnsKnown) {
            sep = separatorOf(line);
            split(line, sep, fields, scratch);
            // A header row holds no number; a row with some is data, perhaps with a bad field.
            const bool header = std::none_of(fields.begin(), fields.end(),
                                             [](std::string_view f) { return number(f); });
            if (header) {
                std::optional<std::size_t> phase, time, mag, flux, power, err;
                for (std::size_t i = 0; i < fields.size(); ++i) {
                    auto first = [i](std::optional<std::size_t>& slot) {
                        if (!slot) slot = i;
                    };
                    switch (roleOf(fields[i])) {
                    case Role::Error:
                        first(err);
                        break;
                    case Role::Phase:
                        first(phase);
                        break;
                    case Role::Time:
                        first(time);
                        break;
                    case Role::Magnitude:
                        first(mag);
                        break;
                    case Role::Flux:
                        first(flux);
                        break;
                    case Role::Power:
                        first(power);
                        break;
                    default:
                        break;
                    }
                }
                if (!phase && !time)
                    fail(lineNo, "the header names no time column (time, HJD, JD, BJD, "
                                 "date, day or phase)");
                if (!mag && !flux && !power)
                    fail(lineNo, "the header names no brightness column (magnitude, mag, "
                                 "flux or power)");
                data.phased = phase.has_value();
                timeCol = phase ? *phase : *time;
                data.brightness = mag    ? Brightness::Magnitude
                                  : flux ? Brightness::Flux
                                         : Brightness::Power;
                valueCol = mag ? *mag : flux ? *flux : *power;
                hasError = err.has_value();
                errorCol = err.value_or(0);
                needed = std::max({timeCol, valueCol, hasError ? errorCol : 0}) + 1;
                columnsKnown = true;
                continue;
            }
            if (fields.size() < 2)
                fail(lineNo, "a row has one column; a time and a brightness column are needed");
            hasError = fields.size() >= 3;
            errorCol = 2;
            needed = hasError ? 3 : 2;
            columnsKnown = true;
        }
        split(line, sep, fields, scratch);
        auto skip = [&] {
            if (data.skipped == 0) {
                firstSkip = lineNo;
                firstFields = fields.size();
            }
            ++data.skipped;
            if (data.skippedLines.size() < 5) data.skippedLines.push_back(lineNo);
        };
        if (fields.size() < needed) {
            if (fields.size() < 2 && data.time.empty() && data.skipped == 0)
                fail(lineNo, "a row has one column; a time and a brightness column are needed");
            skip();
            continue;
        }
        const std::optional<double> t = number(fields[timeCol]);
        const std::optional<double> v = number(fields[valueCol]);
        const std::optional<double> e = hasError ? number(fields[errorCol]) : 0.0;
        if (!t || !v || !e || *e < 0 || (data.brightness != Brightness::Magnitude && *v <= 0)) {
            skip();
            continue;
        }
        if (!data.phased && !data.time.empty() && !(*t > data.time.back()))
            fail(lineNo, "the time " + Str(*t) + " is not later than the row before it (" +
                             Str(data.time.back()) + "); times must increase");
        if (data.time.size() >= MaxObservedRows)
            fail(lineNo, "more than " + std::to_string(MaxObservedRows) + " rows");
        data.time.push_back(*t);
        data.value.push_back(*v);
        if (hasError) data.error.push_back(*e);
    }
    data.lines = lineNo;
    if (data.time.empty()) {
        if (data.skipped > 0 && firstFields < needed)
            fail(firstSkip, "a row has " + std::to_string(firstFields) + " columns where " +
                                std::to_string(needed) + " are needed; no row could be read");
        if (data.skipped > 0)
            throw DataFileError("no row could be read (the first is line " +
                                std::to_string(firstSkip) + ")");
        throw DataFileError("the file holds no rows of numbers");
    }
    if (data.time.size() < 3)
        throw DataFileError("only " + std::to_string(data.time.size()) +
                            " rows could be read; at least 3 are needed");
    return data;
}

ObservedData readObserved(const std::string& path, std::string name) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        throw DataFileError(std::string("the file cannot be opened (") + std::strerror(errno) +
                            ")");
    if (S_ISDIR(st.st_mode)) throw DataFileError("this is a folder, not a file");
    constexpr std::size_t MaxBytes = std::size_t{1} << 30;
    if (static_cast<std::size_t>(st.st_size) > MaxBytes)
        throw DataFileError("the file is larger than 1 GiB");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw DataFileError(std::string("the file cannot be opened (") + std::strerror(errno) +
                            ")");
    std::string text;
    text.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (text.size() > MaxBytes) throw DataFileError("the file is larger than 1 GiB");
    }
    if (in.bad()) throw DataFileError("the file could not be read to its end");
    return parseObserved(text, std::move(name));
}

} // namespace orvanta
