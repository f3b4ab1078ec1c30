// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/command_line.h"

#include "core/version.h"

namespace orvanta {

WindowCommand readWindowCommand(const std::vector<std::string>& args) {
    WindowCommand c;
    for (const std::string& a : args) {
        if (a == "-h" || a == "--help")
            c.help = true;
        else if (a == "--version")
            c.version = true;
        else if (!c.file && !a.empty() && a.front() != '-')
            c.file = a;
    }
    return c;
}

std::string printable(std::string_view argument) {
    static const char hex[] = "0123456789abcdef";
    std::string s;
    for (const char c : argument) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7f) {
            s += c;
            continue;
        }
        switch (c) {
        case '\n':
            s += "\\n";
            break;
        case '\t':
            s += "\\t";
            break;
        case '\r':
            s += "\\r";
            break;
        case '\x1b':
            s += "\\e";
            break;
        default:
            s += "\\x";
            s += hex[u >> 4];
            s += hex[u & 15];
        }
    }
    return s;
}

std::string windowHelp() {
    return "Usage: orvanta [FILE]\n"
           "       orvanta curve [OPTION]...   (the light-curve table; see 'orvanta curve "
           "--help')\n"
           "       orvanta inspect FILE ...    (what is read from a light-curve file)\n"
           "       orvanta period FILE ...     (the period and the minima found in it)\n"
           "       orvanta fit FILE ...        (the model fitted to it, with errors)\n"
           "       orvanta masses RVFILE ...   (the masses from radial velocities)\n"
           "Each subcommand's --help says more.\n"
           "Opens the window of the eclipsing binary simulation. FILE, if given, is an\n"
           "observed light curve (text or CSV: time or phase, magnitude or flux, and an\n"
           "optional error column) shown over the light-curve graph with its fit, or a\n"
           "radial-velocity file (a header naming time, rv_a[, rv_b] and errors) whose\n"
           "masses the title shows.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "      --version  show the version and exit\n"
           "The options of the Qt toolkit work too (-platform NAME, -style NAME, -reverse,\n"
           "-qwindowgeometry WxH+X+Y, ...).\n"
           "\n"
           "In the window: Ctrl+O opens a light curve, Ctrl+Shift+O removes it; a file\n"
           "dropped on the window opens too. Ctrl+Q quits; the window's size, place and\n"
           "full-screen state are there again at the next start.\n"
           "\n"
           "Exit status: 0, or 2 for a bad command line or no display to show the window on.\n";
}

std::string versionText() {
    std::string year(ReleaseDate, 4);
    return std::string("orvanta ") + Version +
           "\n"
           "Copyright (C) " +
           year +
           " The Orvanta project and its contributors\n"
           "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

namespace {
const char* const RunUnderXvfb = "run it as: xvfb-run -s '-screen 0 1024x768x24' orvanta";
}

PlatformChoice choosePlatform(const DisplayPlace& place) {
    if (place.platformChosen) return {};
    if (place.wayland && place.waylandPlugin) return {place.x11 ? "wayland;xcb" : "wayland", {}};
    if (place.x11) return {"xcb", {}};
    if (place.wayland)
        return {{},
                "orvanta: this Wayland session has no X11 display, and Qt's Wayland plugin is "
                "not installed; install qt6-wayland (Debian and Ubuntu), or " +
                    std::string(RunUnderXvfb)};
    return {{}, "orvanta: no display found; on a machine without one " + std::string(RunUnderXvfb)};
}

std::string displayFailed() {
    return "orvanta: the display could not be opened; check DISPLAY or WAYLAND_DISPLAY, or " +
           std::string(RunUnderXvfb);
}

} // namespace orvanta
