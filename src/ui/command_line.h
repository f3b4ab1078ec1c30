// SPDX-License-Identifier: GPL-3.0-or-later
// The window's command line: `orvanta [FILE]`, `orvanta --help`, `orvanta --version`.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvanta {

struct WindowCommand {
    bool help = false;    ///< -h or --help
    bool version = false; ///< --version
    /// An observed light curve to show: the first argument that is not an option.
    std::optional<std::string> file;
};

/// Reads the arguments after the program's name. Options it does not know are left to
/// the window toolkit, which takes its own (-platform, -style, ...) before the file is read.
WindowCommand readWindowCommand(const std::vector<std::string>& args);

/// The text of `orvanta --help`.
std::string windowHelp();

} // namespace orvanta
