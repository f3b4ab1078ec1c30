// SPDX-License-Identifier: GPL-3.0-or-later
// A fit's numbers as text: to a number of significant digits, or to the digits its error
// supports.
#pragma once

#include <string>
#include <string_view>

namespace orvanta::fit {

/// "%.*g" of a number.
std::string digits(double v, int precision);

/// A value to the digits its error supports (two significant digits of the error), the two
/// joined by `plusMinus` ("±" in the window, "+-" on a terminal); without an error, six digits.
std::string withError(double value, double error, std::string_view plusMinus);

} // namespace orvanta::fit
