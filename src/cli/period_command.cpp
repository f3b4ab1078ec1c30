// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/period_command.h"

#include "cli/arguments.h"
#include "cli/curve_command.h"
#include "core/observed_data.h"

#include <charconv>
#include <cmath>
#include <ostream>

namespace orvanta::cli {

namespace {

/// Fixed decimals, whatever the locale.
std::string fixed(double x, int decimals) {
    if (!std::isfinite(x)) return "-";
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, x, std::chars_format::fixed, decimals);
    return {text, end.ptr};
}

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out + "\"";
}

double days(const std::string& option, const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value) || !(value > 0))
        throw UsageError{option + ": '" + text + "' is not a number of days above 0"};
    return value;
}

} // namespace

PeriodRequest parsePeriodArguments(const std::vector<std::string>& args) {
    PeriodRequest r;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!onlyFiles && arg == "--") {
            onlyFiles = true;
            continue;
        }
        if (onlyFiles || arg.empty() || arg[0] != '-' || arg == "-") {
            if (!r.file.empty()) throw UsageError{"unexpected argument '" + arg + "'"};
            r.file = arg;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            r.action = PeriodRequest::Action::Help;
            return r;
        }
        if (arg == "--version") {
            r.action = PeriodRequest::Action::Version;
            return r;
        }
        if (arg == "--json") {
            r.json = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        if (name != "--min-days" && name != "--max-days")
            throw UsageError{"unknown option '" + name + "'"};
        if (!value) {
            if (i + 1 >= args.size()) throw UsageError{"option '" + name + "' needs a value"};
            value = args[++i];
        }
        (name == "--min-days" ? r.minDays : r.maxDays) = days(name, *value);
    }
    if (r.action == PeriodRequest::Action::Search && r.file.empty())
        throw UsageError{"no file given"};
    if (r.minDays && r.maxDays && !(*r.minDays < *r.maxDays))
        throw UsageError{"--min-days must be below --max-days"};
    return r;
}

std::string periodHelp() {
    return "Usage: orvanta period FILE [--min-days X] [--max-days Y] [--json]\n"
           "Find the orbital period of an eclipsing binary in a light curve: its period, the\n"
           "epoch (a time of primary minimum), the best candidate periods and every well\n"
           "observed time of minimum with its cycle number and O - C. FILE is read as the\n"
           "window reads an observed light curve (times in days, magnitudes or flux); a\n"
           "\"# period\" line in it is ignored here.\n\n"
           "  --min-days X         shortest period searched [0.2, or a quarter of the span]\n"
           "  --max-days Y         longest period searched [half the span of the times]\n"
           "  --json               print one JSON object: period_days, period_error_days,\n"
           "                       epoch, epoch_error_days, method, peaks ([period_days,\n"
           "                       score] of the best candidates, the period found first),\n"
           "                       minima ([time, error, cycle, o_minus_c], days),\n"
           "                       alternative_days (another period the light does not\n"
           "                       rule out, or null)\n"
           "  -h, --help           show this help and exit\n"
           "      --version        show the version and exit\n\n"
           "When only one kind of eclipse is seen, the period is twice its repeat: two equal\n"
           "eclipses per orbit. The half is then given as alternative_days.\n\n"
           "Exit status: 0 on success; 2 on a bad command line, a file that cannot be read\n"
           "or no period found, with one line on standard error.\n";
}

std::string periodJson(const analysis::PeriodResult& r) {
    std::string j = "{\"period_days\": " + jsonNumber(r.periodDays) +
                    ", \"period_error_days\": " + jsonNumber(r.periodErrorDays) +
                    ", \"epoch\": " + jsonNumber(r.epoch) +
                    ", \"epoch_error_days\": " + jsonNumber(r.epochError) +
                    ", \"method\": " + jsonString(r.method) + ", \"peaks\": [";
    for (std::size_t i = 0; i < r.peaks.size(); ++i)
        j += (i ? ", [" : "[") + jsonNumber(r.peaks[i].periodDays) + ", " +
             jsonNumber(r.peaks[i].score) + "]";
    j += "], \"minima\": [";
    for (std::size_t i = 0; i < r.minima.size(); ++i) {
        const analysis::ObservedMinimum& m = r.minima[i];
        j += (i ? ", [" : "[") + jsonNumber(m.time) + ", " + jsonNumber(m.error) + ", " +
             jsonNumber(m.cycle) + ", " + jsonNumber(m.oMinusC) + "]";
    }
    j +=
        "], \"alternative_days\": " + (r.alternativeDays ? jsonNumber(*r.alternativeDays) : "null");
    return j + "}\n";
}

std::string periodText(const analysis::PeriodResult& r) {
    std::string t = "period " + fixed(r.periodDays, 6) + " +- " + fixed(r.periodErrorDays, 6) +
                    " d\nepoch  " + fixed(r.epoch, 5) + " +- " + fixed(r.epochError, 5) +
                    "\nmethod " + r.method + "\n";
    if (r.alternativeDays)
        t += "uncertain: " + fixed(*r.alternativeDays, 6) + " d fits the light about as well" +
             (r.twoEclipsesSeen ? ""
              : *r.alternativeDays > r.periodDays
                  ? " (if the two eclipses are alike)"
                  : " (if the secondary eclipse is too faint to see)") +
             "\n";
    t += "candidates (period d, score):";
    for (const analysis::PeriodPeak& p : r.peaks)
        t += "  " + fixed(p.periodDays, 6) + " " + fixed(p.score, 3);
    t += "\n";
    if (r.minima.empty()) {
        t += "no single eclipse is covered well enough to time on its own\n";
        return t;
    }
    t += "minima: time, error, cycle, O - C (days)\n";
    for (const analysis::ObservedMinimum& m : r.minima)
        t += "  " + fixed(m.time, 5) + "  " + fixed(m.error, 5) + "  " + fixed(m.cycle, 1) + "  " +
             (m.oMinusC >= 0 ? "+" : "") + fixed(m.oMinusC, 5) + "\n";
    return t;
}

int runPeriodCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    PeriodRequest request;
    if (const auto status =
            beginCommand(request, parsePeriodArguments, periodHelp, args, "period", out, err))
        return *status;
    try {
        const ObservedData data = readObserved(request.file, request.file);
        if (data.phased) throw analysis::PeriodSearchError("the times are phases, not days");
        std::vector<double> dimming = data.value;
        if (data.brightness != Brightness::Magnitude)
            for (double& v : dimming)
                v = -v;
        const analysis::PeriodResult r = analysis::findPeriod(
            data.time, dimming, {request.minDays, request.maxDays}, {},
            data.brightness == Brightness::Magnitude ? analysis::Dimming::Magnitudes
                                                     : analysis::Dimming::Any);
        out << (request.json ? periodJson(r) : periodText(r)) << std::flush;
        if (!out) {
            err << "orvanta period: cannot write to standard output\n";
            return 2;
        }
        return 0;
    } catch (const DataFileError& e) {
        err << "orvanta period: " << request.file << ": " << e.what() << '\n';
    } catch (const analysis::PeriodSearchError& e) {
        err << "orvanta period: " << request.file << ": " << e.what() << '\n';
    }
    return 2;
}

} // namespace orvanta::cli
