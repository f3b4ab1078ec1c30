// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta curve`: the light-curve table of the window's export, without a window.
#pragma once

#include "render/curve_table.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace orvanta {
struct Controls;
}

namespace orvanta::cli {

/// A command line the command cannot follow; `message` is one line.
struct UsageError {
    std::string message;
};

/// "orvanta COMMAND: MESSAGE (see 'orvanta COMMAND --help')" on one line, control characters
/// escaped, whatever the arguments held; returns the exit status 2.
int reportUsage(std::ostream& err, const char* command, const std::string& message);

/// Writes `text` (a command's help or version) and returns 0, or 2 when it cannot be written.
int writeAndExit(std::ostream& out, const std::string& text);

/// Writes a command's result to standard output, or whole to the file `output` when one is
/// named; returns 0, or 2 with one line on `err` ("orvanta COMMAND: cannot write ...").
int writeResult(std::ostream& out, std::ostream& err, const char* command,
                const std::string& output, const std::string& text);

/// "orvanta 1.0.0": what every subcommand's --version prints.
std::string versionLine();

/// How a subcommand begins: `parse` reads `args` into `request`. Returns the exit status when
/// the command ends there (a usage error reported under `command`'s name, or the help that
/// `help` gives or the version written), and nothing when it goes on.
template <class Request, class Parse, class Help>
std::optional<int> beginCommand(Request& request, Parse parse, Help help,
                                const std::vector<std::string>& args, const char* command,
                                std::ostream& out, std::ostream& err) {
    try {
        request = parse(args);
    } catch (const UsageError& e) {
        return reportUsage(err, command, e.message);
    }
    using Action = decltype(request.action);
    if (request.action == Action::Help) return writeAndExit(out, help());
    if (request.action == Action::Version) return writeAndExit(out, versionLine());
    return std::nullopt;
}

/// One star's options, each the text given (a number by the window's reading rule).
struct StarOptions {
    std::optional<std::string> mass, radius, flux, luminosity, temperature, magnitude;
    std::optional<int> preset; ///< row of the spectral-type list
};

struct CurveRequest {
    enum class Action { Curve, Help, Version };
    Action action = Action::Curve;
    StarOptions a, b;
    std::optional<std::string> distance, eccentricity, incline1, incline2, incline3, steps;
    std::string output; ///< empty: standard output
    /// --limb-a, --limb-b, --third-light, --rv and --gamma; all off leaves the table as it was.
    CurveOptions options;
};

/// Reads the arguments after "curve". Raises UsageError.
CurveRequest parseCurveArguments(const std::vector<std::string>& args);

/// Fills a window's boxes as a user would: the preset picked first, then every value
/// typed into its box with the star's selector on the matching row. Raises the run-time
/// error of the preset's conversion, should there be one.
void applyToBoxes(const CurveRequest& request, Controls& f);

/// The --help text: every option with its unit and default.
std::string curveHelp();

/// Runs the command: the CSV to `out` or to the --output file (replaced whole, or left as
/// it was on any error). Messages go to `err`. Returns the exit status: 0, or 2 for a
/// usage error, a run-time error (its text as the window's error window shows it) or a
/// failed write.
int runCurveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace orvanta::cli
