// SPDX-License-Identifier: GPL-3.0-or-later
// The window's command line: `orvanta [FILE]`, `orvanta --help`, `orvanta --version`.
#pragma once

#include <optional>
#include <string>
#include <string_view>
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

/// An argument as a one-line message may show it: control characters written as escapes
/// (\n, \t, \r, \e or \xHH), everything else, UTF-8 included, as it is.
std::string printable(std::string_view argument);

/// The text of `orvanta --help`.
std::string windowHelp();

/// The text of `orvanta --version`: the version, the copyright and the licence, as GNU
/// programs print them.
std::string versionText();

/// Where the window can show itself, from the environment at start.
struct DisplayPlace {
    bool platformChosen = false; ///< QT_QPA_PLATFORM set or -platform given: left as asked
    bool x11 = false;            ///< DISPLAY set
    bool wayland = false;        ///< WAYLAND_DISPLAY set
    bool waylandPlugin = false;  ///< Qt's Wayland platform plugin is installed
};

/// The platform plugins to ask Qt for, in order ("wayland;xcb"), or empty to leave Qt's
/// own choice; `whyNot` is the one sentence to print instead when there is no display
/// the window can use.
struct PlatformChoice {
    std::string platforms;
    std::string whyNot;
};
PlatformChoice choosePlatform(const DisplayPlace& place);

/// The sentence for a display that was named but could not be opened.
std::string displayFailed();

} // namespace orvanta
