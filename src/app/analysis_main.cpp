// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta-analysis`: the subcommands that read observed light curves, started by `orvanta`
// with its arguments (`orvanta-analysis inspect FILE ...`). No Qt library is linked.
#include "cli/fit_command.h"
#include "cli/inspect_command.h"
#include "cli/masses_command.h"
#include "cli/period_command.h"
#include "cli/subcommands.h"

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using orvanta::cli::Subcommand;

constexpr Subcommand Subcommands[] = {
    {"inspect", orvanta::cli::runInspectCommand},
    {"period", orvanta::cli::runPeriodCommand},
    {"fit", orvanta::cli::runFitCommand},
    {"masses", orvanta::cli::runMassesCommand},
};

} // namespace

int main(int argc, char* argv[]) {
    if (const auto status = orvanta::cli::runSubcommand(Subcommands, argc, argv)) return *status;
    std::cerr << "orvanta-analysis: give one of inspect, period, fit or masses (run as orvanta "
                 "inspect, orvanta period, orvanta fit or orvanta masses)\n";
    return 2;
}
