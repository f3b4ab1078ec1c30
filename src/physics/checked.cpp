// SPDX-License-Identifier: GPL-3.0-or-later
#include "physics/checked.h"

#include <math.h>

namespace orvanta {

namespace {
// The C library's pow, behind a pointer the compiler cannot see through: with optimisation
// it would turn a constant exponent 2 into x * x, which differs from pow in the last bit for
// about one square in a thousand, so the digits would depend on the optimisation level.
double (*volatile libraryPow)(double, double) = ::pow;

const char* messageOf(int number) {
    switch (number) {
    case err::InvalidCall:
        return "Invalid procedure call or argument";
    case err::Overflow:
        return "Overflow";
    case err::DivisionByZero:
        return "Division by zero";
    case err::InvalidProperty:
        return "Invalid property value";
    default:
        return "Application-defined or object-defined error";
    }
}

// Round half to even, then check the range [lo, hi].
long roundEven(double v, double lo, double hi) {
    const double r = std::nearbyint(v); // the default rounding mode is to nearest, ties to even
    if (!(r >= lo && r <= hi)) raise(err::Overflow);
    return static_cast<long>(r);
}
} // namespace

void raise(int number) {
    throw RuntimeError{number, messageOf(number)};
}

std::string errorText(const RuntimeError& e) {
    return "Run-time error '" + std::to_string(e.number) + "':\n" + e.message;
}

Num Power(const Num& x, const Num& y) {
    const double b = x.value();
    const double e = y.value();
    if (b < 0.0 && std::floor(e) != e) raise(err::InvalidCall);
    if (b == 0.0 && e < 0.0) raise(err::InvalidCall);
    return Num::checked(libraryPow(b, e));
}

int CInt(const Num& x) {
    return static_cast<int>(roundEven(x.value(), -32768.0, 32767.0));
}

long CLng(const Num& x) {
    return roundEven(x.value(), -2147483648.0, 2147483647.0);
}

} // namespace orvanta
