// SPDX-License-Identifier: GPL-3.0-or-later
// Checked arithmetic: every fault is a run-time error at the operation that causes it.
#pragma once

#include <cfloat>
#include <cmath>
#include <string>

namespace orvanta {

/// A run-time error of the window: its number and message, as shown to the user.
struct RuntimeError {
    int number;
    std::string message;
};

namespace err {
inline constexpr int InvalidCall = 5;       // "Invalid procedure call or argument"
inline constexpr int Overflow = 6;          // "Overflow"
inline constexpr int DivisionByZero = 11;   // "Division by zero"
inline constexpr int InvalidProperty = 380; // "Invalid property value"
} // namespace err

[[noreturn]] void raise(int number);

/// The error as the error window shows it: "Run-time error '11':\nDivision by zero".
std::string errorText(const RuntimeError& e);

/// A double whose operators and functions raise instead of producing an infinity or a NaN.
/// There is no implicit conversion back to double: `value()` is the one way out.
class Num {
public:
    constexpr Num() = default;
    constexpr Num(double v) : v_(v) {} // NOLINT: literals and doubles read naturally
    constexpr Num(int v) : v_(v) {}    // NOLINT

    [[nodiscard]] constexpr double value() const { return v_; }

    friend Num operator+(const Num& a, const Num& b) { return checked(a.v_ + b.v_); }
    friend Num operator-(const Num& a, const Num& b) { return checked(a.v_ - b.v_); }
    friend Num operator*(const Num& a, const Num& b) { return checked(a.v_ * b.v_); }
    friend Num operator/(const Num& a, const Num& b) {
        if (b.v_ == 0.0) raise(a.v_ == 0.0 ? err::Overflow : err::DivisionByZero);
        return checked(a.v_ / b.v_);
    }
    friend Num operator-(const Num& a) { return Num(-a.v_); }
    Num& operator+=(const Num& b) { return *this = *this + b; }

    friend bool operator==(const Num& a, const Num& b) { return a.v_ == b.v_; }
    friend bool operator!=(const Num& a, const Num& b) { return a.v_ != b.v_; }
    friend bool operator<(const Num& a, const Num& b) { return a.v_ < b.v_; }
    friend bool operator>(const Num& a, const Num& b) { return a.v_ > b.v_; }
    friend bool operator<=(const Num& a, const Num& b) { return a.v_ <= b.v_; }
    friend bool operator>=(const Num& a, const Num& b) { return a.v_ >= b.v_; }

    /// Raises the overflow error unless `r` is a finite number.
    static Num checked(double r) {
        if (!std::isfinite(r)) raise(err::Overflow);
        return Num(r);
    }

private:
    double v_ = 0.0;
};

// The platform's functions, checked. Names are capitalised so that they never hide
// the system's own `acos`, `pow` and `sqrt`, which are operations of the window.
inline Num Sin(const Num& x) {
    return Num(std::sin(x.value()));
}
inline Num Cos(const Num& x) {
    return Num(std::cos(x.value()));
}
inline Num Atn(const Num& x) {
    return Num(std::atan(x.value()));
}
inline Num Abs(const Num& x) {
    return Num(std::fabs(x.value()));
}
inline Num Sqr(const Num& x) {
    if (x.value() < 0.0) raise(err::InvalidCall);
    return Num(std::sqrt(x.value()));
}
/// Natural logarithm; 0 and below are invalid arguments.
inline Num Log(const Num& x) {
    if (x.value() <= 0.0) raise(err::InvalidCall);
    return Num(std::log(x.value()));
}
/// Int: rounds down, towards minus infinity.
inline Num Int(const Num& x) {
    return Num(std::floor(x.value()));
}

/// The power operator: a negative base needs a whole exponent, zero a non-negative one.
/// Always the C library's pow, also for a constant exponent 2.
Num Power(const Num& x, const Num& y);

/// A number handed to the window as single precision; beyond that range it overflows.
inline float Single(const Num& x) {
    const auto f = static_cast<float>(x.value());
    if (std::isinf(f)) raise(err::Overflow);
    return f;
}

/// Round half to even to a 16-bit integer, raising the overflow error outside its range.
int CInt(const Num& x);
/// Round half to even to a 32-bit integer (a colour value), raising overflow outside.
long CLng(const Num& x);

} // namespace orvanta
