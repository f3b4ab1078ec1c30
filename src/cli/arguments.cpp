// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/arguments.h"

#include <charconv>
#include <cmath>
#include <exception>

namespace orvanta::cli {

OptionArgument splitOption(const std::string& arg) {
    if (const std::size_t eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0)
        return {arg.substr(0, eq), arg.substr(eq + 1)};
    return {arg, std::nullopt};
}

std::optional<CurveRequest::Action> helpOrVersion(const std::string& arg) {
    if (arg == "-h" || arg == "--help") return CurveRequest::Action::Help;
    if (arg == "--version") return CurveRequest::Action::Version;
    return std::nullopt;
}

std::string optionValue(const OptionArgument& option, const std::vector<std::string>& args,
                        std::size_t& i) {
    if (option.value) return *option.value;
    if (i + 1 >= args.size()) throw UsageError{"option '" + option.name + "' needs a value"};
    return args[++i];
}

bool curveSwitch(const std::string& name) {
    return name == "-h" || name == "--help" || name == "--version" || name == "--rv";
}

double periodDays(const std::string& text) {
    std::size_t used = 0;
    double days = 0;
    try {
        days = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !(days > 0) || !std::isfinite(days))
        throw UsageError{"--period: '" + text + "' is not a period in days"};
    return days;
}

std::string jsonNumber(double v) {
    if (!std::isfinite(v)) return "null";
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return {buf, res.ptr};
}

} // namespace orvanta::cli
