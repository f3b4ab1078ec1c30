// SPDX-License-Identifier: GPL-3.0-or-later
// What the subcommands that take the model's options read alike: an option and its value,
// the model's own options passed on, a period in days, a number in JSON.
#pragma once

#include "cli/curve_command.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvanta::cli {

/// A command-line argument taken as an option: a long one written "--name=value" is split at
/// its first '='; anything else is all name, its value (if it takes one) the next argument.
struct OptionArgument {
    std::string name;
    std::optional<std::string> value; ///< given after '='
};
OptionArgument splitOption(const std::string& arg);

/// Help or the version, when `arg` asks for it (-h, --help, --version).
std::optional<CurveRequest::Action> helpOrVersion(const std::string& arg);

/// The option's value: the one given after '=', else the argument after `i`, which `i` then
/// moves to. Raises UsageError when there is none.
std::string optionValue(const OptionArgument& option, const std::vector<std::string>& args,
                        std::size_t& i);

/// Whether an option of `orvanta curve`, passed on by a command that takes the model's
/// options, stands alone: --rv, the help and the version. Every other one takes a value.
bool curveSwitch(const std::string& name);

/// The text of --period: a finite number of days above 0, the whole text. Raises UsageError.
double periodDays(const std::string& text);

/// The shortest text that reads back as the same double; null for what JSON cannot hold.
std::string jsonNumber(double v);

} // namespace orvanta::cli
