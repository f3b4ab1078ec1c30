// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta`: runs a subcommand without a window, or hands over to the window program.
// Links no Qt library, so a subcommand starts as fast as any small program and needs no
// display.
#include "cli/curve_command.h"
#include "cli/subcommands.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace {

using orvanta::cli::Subcommand;

/// The subcommands run here; a new one is one line here, or one in orvanta-analysis.
constexpr Subcommand Subcommands[] = {
    {"curve", orvanta::cli::runCurveCommand},
};

/// The subcommands that read observed files run in orvanta-analysis, which links the FITS
/// reader and the least-squares solver: their libraries would triple the start-up of every
/// `orvanta curve`.
constexpr std::string_view AnalysisSubcommands[] = {"inspect", "period", "fit", "masses"};

/// The folder of this program, from the kernel's link (the name it was called by may be a
/// link or a bare name found on the PATH).
std::string ownFolder() {
    std::vector<char> path(4096);
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return {};
    std::string s(path.data(), static_cast<std::size_t>(n));
    const std::size_t slash = s.rfind('/');
    return slash == std::string::npos ? std::string() : s.substr(0, slash);
}

} // namespace

int main(int argc, char* argv[]) {
    if (const auto status = orvanta::cli::runSubcommand(Subcommands, argc, argv)) return *status;

    // The analysis subcommands and everything else (the window's) are programs of their own:
    // beside this one in the build tree, in libexec once installed. They get the arguments
    // as they came.
    std::string_view program = "orvanta-window";
    if (argc >= 2)
        for (std::string_view name : AnalysisSubcommands)
            if (name == argv[1]) program = "orvanta-analysis";
    const std::string folder = ownFolder();
    for (const std::string& place : {folder, folder + "/" ORVANTA_WINDOW_FROM_BIN}) {
        const std::string path = place + "/" + std::string(program);
        if (::access(path.c_str(), X_OK) == 0) {
            ::execv(path.c_str(), argv);
            std::cerr << "orvanta: cannot start " << path << ": " << std::strerror(errno) << '\n';
            return 2;
        }
    }
    std::cerr << "orvanta: " << program << " is not installed beside " << folder << " (looked in "
              << folder << " and " << folder << "/" ORVANTA_WINDOW_FROM_BIN << ")\n";
    return 2;
}
