// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/command_line.h"

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

std::string windowHelp() {
    return "Usage: orvanta [FILE]\n"
           "       orvanta curve [OPTION]...   (the light-curve table; see 'orvanta curve "
           "--help')\n"
           "Opens the window of the eclipsing binary simulation. FILE, if given, is an\n"
           "observed light curve (text or CSV: time or phase, magnitude or flux, and an\n"
           "optional error column) shown over the light-curve graph with its fit.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "      --version  show the version and exit\n"
           "\n"
           "In the window: Ctrl+O opens a light curve, Ctrl+Shift+O removes it; a file\n"
           "dropped on the window opens too.\n";
}

} // namespace orvanta
