// SPDX-License-Identifier: GPL-3.0-or-later
// The text rules: one function reads every box, one writes every number.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvanta {

/// Reads the leading number of a text: blanks, tabs and line feeds skipped anywhere,
/// an optional sign, digits with at most one ".", an optional E or D exponent; "&H" and
/// "&O" read hexadecimal and octal integers. No number gives 0. Locale-independent.
/// A number beyond the double range raises the overflow error.
double Val(std::string_view text);
/// Val that also tells how far it read: `used` is the length of the text up to the end of
/// the number (0 when no number was read), so text beyond it was ignored.
double Val(std::string_view text, std::size_t& used);

/// How many characters of the text the number rule reads, with the blanks among them;
/// 0 when the text does not start with a number ("", "abc", "-"). Never raises.
size_t ValLength(std::string_view text);

/// What a box's text was read as when the number rule ignored part of it: "read as 3
/// (\",59\" ignored; the decimal point is \".\")" for "3,59", "read as 0 (\"abc\"
/// ignored)"; empty for a text read whole, for trailing blanks and for the empty text.
std::string readAsNote(std::string_view text);

/// A number in the general format: at most 15 significant digits, no trailing zeros,
/// exponent form below 1E-4 and from 1E+15 ("5.7E-08"), never "-0".
std::string Str(double value);

/// The general format with one leading blank for a value that is not negative.
std::string StrSpaced(double value);

} // namespace orvanta
