// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orvanta::fit {

std::string digits(double v, int precision) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*g", precision, v);
    return buf;
}

std::string withError(double value, double error, std::string_view plusMinus) {
    if (!(error > 0) || !std::isfinite(error)) return digits(value, 6);
    const int places = std::max(0, 1 - static_cast<int>(std::floor(std::log10(error))));
    char buf[400]; // "%f" of the largest double has 309 digits
    std::snprintf(buf, sizeof buf, "%.*f", places, value);
    std::string s = buf;
    s += ' ';
    s += plusMinus;
    std::snprintf(buf, sizeof buf, " %.*f", places, error);
    return s + buf;
}

} // namespace orvanta::fit
