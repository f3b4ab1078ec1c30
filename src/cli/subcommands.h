// SPDX-License-Identifier: GPL-3.0-or-later
// The table of subcommands of `orvanta` and `orvanta-analysis`.
#pragma once

#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta::cli {

using Run = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// `orvanta NAME ARGUMENT...` runs `run` on the arguments after the name.
struct Subcommand {
    std::string_view name;
    Run run;
};

/// The exit status of the subcommand `argv[1]` names, or nothing when the table has none.
inline std::optional<int> runSubcommand(std::span<const Subcommand> table, int argc, char* argv[]) {
    if (argc >= 2)
        for (const Subcommand& s : table)
            if (s.name == argv[1]) return s.run({argv + 2, argv + argc}, std::cout, std::cerr);
    return std::nullopt;
}

} // namespace orvanta::cli
