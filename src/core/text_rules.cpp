// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text_rules.h"

#include "physics/checked.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace orvanta {

namespace {

bool skipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// A reader over the text that never sees blanks, tabs or line feeds.
struct Reader {
    std::string_view s;
    size_t i = 0;
    char peek() {
        while (i < s.size() && skipped(s[i]))
            ++i;
        return i < s.size() ? s[i] : '\0';
    }
    void next() { ++i; }
};

int digitValue(char c, int base) {
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < base ? d : -1;
}

// &H and &O: up to 16 bits read as a signed 16-bit integer, up to 32 bits as a signed
// 32-bit integer, more overflows.
double radixInteger(Reader& r, int base) {
    std::uint64_t v = 0;
    for (int d; (d = digitValue(r.peek(), base)) >= 0; r.next()) {
        v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (v > 0xFFFFFFFFull) raise(err::Overflow);
    }
    if (v <= 0xFFFF) return static_cast<double>(static_cast<std::int16_t>(v));
    return static_cast<double>(static_cast<std::int32_t>(v));
}

} // namespace

double Val(std::string_view text) {
    std::size_t used = 0;
    return Val(text, used);
}

namespace {

/// Far above the digits of any text (2^53 bytes), far below the range of a long long.
constexpr long long MaxExponent = 100'000'000'000'000'000;

} // namespace

double Val(std::string_view text, std::size_t& used) {
    used = 0;
    Reader r{text};
    if (r.peek() == '&') {
        r.next();
        const char k = r.peek();
        if (k == 'H' || k == 'h') {
            r.next();
            const double v = radixInteger(r, 16);
            used = r.i;
            return v;
        }
        if (k == 'O' || k == 'o') {
            r.next();
            const double v = radixInteger(r, 8);
            used = r.i;
            return v;
        }
        return 0.0;
    }

    std::string number;
    if (r.peek() == '+' || r.peek() == '-') {
        if (r.peek() == '-') number += '-';
        r.next();
    }
    bool point = false;
    int digits = 0;
    long magnitude = 0; // decimal position of the leading significant digit
    bool significant = false;
    for (;;) {
        const char c = r.peek();
        if (c >= '0' && c <= '9') {
            if (c != '0' && !significant) significant = true;
            if (!point && significant) ++magnitude;
            if (point && !significant) --magnitude;
            number += c;
            ++digits;
        } else if (c == '.' && !point) {
            point = true;
            number += '.';
        } else {
            break;
        }
        r.next();
    }
    if (digits == 0) return 0.0;
    used = r.i;

    long long exponent = 0;
    const char e = r.peek();
    if (e == 'e' || e == 'E' || e == 'd' || e == 'D') {
        r.next();
        bool negative = false;
        if (r.peek() == '+' || r.peek() == '-') {
            negative = r.peek() == '-';
            r.next();
        }
        // Capped where no text could hold enough digits to bring the value back into range.
        while (r.peek() >= '0' && r.peek() <= '9') {
            if (exponent < MaxExponent) exponent = exponent * 10 + (r.peek() - '0');
            r.next();
        }
        if (negative) exponent = -exponent;
        used = r.i;
    }
    if (!significant) return 0.0;
    number += 'e';
    number += std::to_string(exponent);

    double value = 0.0;
    const char* first = number.data();
    const char* last = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        if (magnitude + exponent > 0) raise(err::Overflow);
        return 0.0; // below the smallest double
    }
    return value;
}

size_t ValLength(std::string_view text) {
    size_t used = 0;
    try {
        Val(text, used);
    } catch (const RuntimeError&) {
        // Beyond the double range: every digit was still read.
    }
    return used;
}

std::string readAsNote(std::string_view text) {
    size_t used = 0;
    double value = 0;
    try {
        value = Val(text, used);
    } catch (const RuntimeError&) {
        return {}; // too large to read at all: the plot says so
    }
    std::string_view rest = text.substr(used);
    while (!rest.empty() && (skipped(rest.front()) || rest.front() == '\r'))
        rest.remove_prefix(1);
    while (!rest.empty() && (skipped(rest.back()) || rest.back() == '\r'))
        rest.remove_suffix(1);
    if (rest.empty()) return {};
    constexpr size_t Longest = 24;
    std::string note = "read as ";
    note += Str(value);
    note += " (\"";
    note += rest.substr(0, Longest);
    if (rest.size() > Longest) note += "...";
    note += "\" ignored";
    if (rest.front() == ',') note += "; the decimal point is \".\"";
    note += ')';
    return note;
}

std::string Str(double value) {
    if (value == 0.0 || !std::isfinite(value)) return "0";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string sci(buf, res.ptr);
    const size_t epos = sci.find('e');
    const int exponent = std::stoi(sci.substr(epos + 1));

    auto stripZeros = [](std::string s) {
        if (s.find('.') == std::string::npos) return s;
        while (!s.empty() && s.back() == '0')
            s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
        return s;
    };

    if (exponent < -4 || exponent >= 15) {
        std::string mantissa = stripZeros(sci.substr(0, epos));
        const int size = exponent < 0 ? -exponent : exponent;
        mantissa += exponent < 0 ? "E-" : "E+";
        if (size < 10) mantissa += '0';
        mantissa += std::to_string(size);
        return mantissa;
    }
    res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 14 - exponent);
    return stripZeros(std::string(buf, res.ptr));
}

std::string StrSpaced(double value) {
    std::string s = Str(value);
    if (s[0] == '-') return s;
    std::string spaced(1, ' ');
    spaced += s;
    return spaced;
}

} // namespace orvanta
