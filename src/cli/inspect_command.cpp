// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/inspect_command.h"

#include "ui/command_line.h"

#include <charconv>
#include <cmath>
#include <ostream>

namespace orvanta::cli {

namespace {

/// The shortest text that reads back as the same double.
std::string shortest(double v) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc() ? std::string(buffer, end) : std::string("null");
}

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char u[8];
                std::snprintf(u, sizeof u, "\\u%04x", c);
                out += u;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string jsonOr(const std::optional<std::string>& s) {
    return s ? jsonString(*s) : "null";
}

std::string jsonOr(const std::optional<double>& v) {
    return v && std::isfinite(*v) ? shortest(*v) : "null";
}

} // namespace

std::string inspectJson(const ObservedData& d) {
    std::string j = "{";
    j += "\"format\": " + jsonString(formatName(d.format));
    j += ", \"file\": " + jsonString(d.name);
    j += ", \"target\": " + jsonOr(d.target);
    j += ", \"time_column\": " + jsonOr(d.timeColumn);
    j += ", \"brightness_column\": " + jsonOr(d.brightnessColumn);
    j += ", \"error_column\": " + jsonOr(d.errorColumn);
    j += ", \"brightness\": ";
    j += d.brightness == Brightness::Magnitude ? "\"magnitude\"" : "\"flux\"";
    j += ", \"band\": " + jsonOr(d.band);
    j += ", \"bands\": {";
    for (std::size_t i = 0; i < d.bands.size(); ++i)
        j +=
            (i ? ", " : "") + jsonString(d.bands[i].band) + ": " + std::to_string(d.bands[i].count);
    j += "}, \"time_system\": " + jsonString(d.timeSystem);
    j += ", \"time_offset\": " + shortest(d.timeOffset);
    j += ", \"points\": " + std::to_string(d.time.size());
    j += ", \"skipped\": " + std::to_string(d.skipped);
    j += ", \"skipped_reasons\": {";
    for (std::size_t i = 0; i < d.skippedReasons.size(); ++i)
        j += (i ? ", " : "") + jsonString(d.skippedReasons[i].reason) + ": " +
             std::to_string(d.skippedReasons[i].count);
    j += "}, \"sorted\": ";
    j += d.sorted ? "true" : "false";
    j += ", \"period_days\": " + jsonOr(d.period);
    j += ", \"epoch\": " + jsonOr(d.epoch);
    return j + "}";
}

void writePoints(const ObservedData& d, std::ostream& out) {
    out << "time,brightness,error\n";
    std::string line;
    for (std::size_t i = 0; i < d.time.size(); ++i) {
        line = shortest(d.time[i]);
        line += ',';
        line += shortest(d.value[i]);
        line += ',';
        if (!d.error.empty() && !std::isnan(d.error[i])) line += shortest(d.error[i]);
        line += '\n';
        out << line;
    }
}

std::string inspectHelp() {
    return "Usage: orvanta inspect FILE [--band NAME] [--sap-flux] [--json] [--points]\n"
           "Reads an observed light curve as the window would and says what was read: the\n"
           "layout recognised, the columns used, the band kept, the time system, the points\n"
           "kept and why rows were skipped.\n"
           "\n"
           "  --band NAME   keep this band of a file with several (AAVSO, ASAS-SN, ZTF)\n"
           "  --sap-flux    FITS light curves: the simple aperture flux, not PDCSAP_FLUX\n"
           "  --json        print one JSON object instead of the summary\n"
           "  --points      print time,brightness,error in time order, times in full days\n"
           "  --help        show this text\n"
           "\n"
           "Exit status: 0, or 2 when the file cannot be used (one line on standard error).\n";
}

int runInspectCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ObservedOptions options;
    bool json = false, points = false;
    std::optional<std::string> file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out << inspectHelp();
            return 0;
        }
        if (a == "--json") {
            json = true;
        } else if (a == "--points") {
            points = true;
        } else if (a == "--sap-flux") {
            options.sapFlux = true;
        } else if (a == "--band" || a.starts_with("--band=")) {
            if (a == "--band" && i + 1 >= args.size()) {
                err << "orvanta inspect: --band needs a band name\n";
                return 2;
            }
            options.band = a == "--band" ? args[++i] : a.substr(7);
        } else if (a.starts_with("-") && a != "-") {
            err << "orvanta inspect: unknown option " << printable(a) << " (see --help)\n";
            return 2;
        } else if (file) {
            err << "orvanta inspect: one file at a time\n";
            return 2;
        } else {
            file = a;
        }
    }
    if (!file) {
        err << "orvanta inspect: no file named (see --help)\n";
        return 2;
    }
    const std::size_t slash = file->find_last_of('/');
    const std::string name = slash == std::string::npos ? *file : file->substr(slash + 1);
    ObservedData data;
    try {
        data = readObserved(*file, name, options);
    } catch (const DataFileError& e) {
        err << "orvanta inspect: " << *file << ": " << e.what() << "\n";
        return 2;
    } catch (const std::bad_alloc&) {
        err << "orvanta inspect: " << *file << ": there is not enough memory to read it\n";
        return 2;
    }
    if (json) {
        std::string j = inspectJson(data);
        if (points) {
            // The points as an array of [time, brightness, error or null] in the object.
            j.pop_back();
            j += ", \"data\": [";
            for (std::size_t i = 0; i < data.time.size(); ++i) {
                j += (i ? ", [" : "[") + shortest(data.time[i]) + ", " + shortest(data.value[i]) +
                     ", " +
                     (data.error.empty() || std::isnan(data.error[i]) ? std::string("null")
                                                                      : shortest(data.error[i])) +
                     "]";
            }
            j += "]}";
        }
        out << j << "\n";
    } else if (points) {
        writePoints(data, out);
    } else {
        out << describeObserved(data) << "\n";
    }
    out.flush();
    if (!out) {
        err << "orvanta inspect: the output could not be written\n";
        return 2;
    }
    return 0;
}

} // namespace orvanta::cli
