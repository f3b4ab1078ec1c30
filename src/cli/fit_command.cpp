// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/fit_command.h"

#include "cli/arguments.h"
#include "cli/model_boxes.h"
#include "core/observed_data.h"
#include "fit/curve_model.h"
#include "fit/figures.h"
#include "form1.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>

namespace orvanta::cli {

namespace {

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

using fit::digits;

std::string withError(double value, double error) {
    return fit::withError(value, error, "+-");
}

std::vector<std::string> splitNames(const std::string& list) {
    std::vector<std::string> names;
    std::size_t from = 0;
    while (from <= list.size()) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        std::string name = list.substr(from, comma - from);
        if (name.empty()) throw UsageError{"--free: an empty name in '" + list + "'"};
        names.push_back(std::move(name));
        from = comma + 1;
    }
    return names;
}

} // namespace

FitRequest parseFitArguments(const std::vector<std::string>& args) {
    FitRequest r;
    std::vector<std::string> curveArgs;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const auto asked = helpOrVersion(arg)) {
            r.action = *asked;
            return r;
        }
        const OptionArgument option = splitOption(arg);
        const std::string& name = option.name;
        if (name == "--json") {
            if (option.value) throw UsageError{"option '--json' takes no value"};
            r.json = true;
        } else if (name == "--free") {
            for (std::string& n : splitNames(optionValue(option, args, i))) {
                if (fit::findFitParameter(n) == nullptr)
                    throw UsageError{"--free: unknown parameter '" + n + "' (one of " +
                                     fit::fitParameterNames() + ")"};
                r.free.push_back(std::move(n));
            }
        } else if (name == "--period") {
            r.periodDays = periodDays(optionValue(option, args, i));
        } else if (arg.size() >= 2 && arg[0] == '-') {
            // The model's options, read by orvanta curve's rules (--rv is of no use here).
            curveArgs.push_back(arg);
            if (!option.value && !curveSwitch(name) && i + 1 < args.size())
                curveArgs.push_back(args[++i]);
        } else if (r.file.empty()) {
            r.file = arg;
        } else {
            throw UsageError{"unexpected argument '" + arg + "'"};
        }
    }
    if (r.file.empty()) throw UsageError{"no light-curve file given"};
    if (r.free.empty()) throw UsageError{"name the parameters to fit with --free NAME[,NAME...]"};
    r.start = parseCurveArguments(curveArgs);
    return r;
}

std::string fitHelp() {
    std::string h =
        "Usage: orvanta fit FILE [OPTION]... --free NAME[,NAME...] [--json]\n"
        "Fit the model to the observed light curve in FILE (the files the window opens with\n"
        "Ctrl+O) by robust least squares, over the parameters named free; every other input\n"
        "keeps its value. The options of 'orvanta curve' give the starting values (see\n"
        "'orvanta curve --help'). The fit works in phase: the times are folded with --period,\n"
        "else the file's own \"# period = <days> d\", else the model's period; the model\n"
        "keeps its period, so a free distance carries the masses with it by Kepler's third\n"
        "law; the masses themselves change nothing in phase (they need radial velocities).\n"
        "Points beyond 5 robust standard deviations count as outliers; a file's error column\n"
        "weighs the points.\n\n"
        "  --free NAME[,NAME...]  the parameters to fit, of:\n";
    for (const fit::FitParameter& p : fit::fitParameters())
        h += "                         " + std::string(p.name) +
             (p.unit.empty() ? std::string() : " (" + std::string(p.unit) + ")") + "\n";
    h += "                         (limb-a, limb-b: u1 of the star's limb darkening, its u2\n"
         "                         held as --limb-a/--limb-b give it; third-light: the\n"
         "                         fraction of the whole light, from --third-light or 0)\n";
    h += "  --period DAYS          fold the times with this period\n"
         "  --json                 print one JSON object: parameters (name -> value, error,\n"
         "                         and a note where the light curve cannot determine it and\n"
         "                         the error is null), chi2_reduced (null without errors in\n"
         "                         the file), rms, robust_rms, points, iterations, correlations\n"
         "  -o, --output FILE      write to FILE instead of standard output\n"
         "  -h, --help             show this help and exit\n"
         "      --version          show the version and exit\n\n"
         "Exit status: 0 on success; 2, with one line on standard error, on a bad command\n"
         "line, a file that cannot be used, or a fit that cannot be made.\n";
    return h;
}

std::string fitJson(const fit::FitResult& result) {
    std::string j = "{\"parameters\":{";
    for (std::size_t p = 0; p < result.parameters.size(); ++p) {
        const fit::ParameterResult& r = result.parameters[p];
        if (p > 0) j += ',';
        j += jsonString(r.name) + ":{\"value\":" + jsonNumber(r.value) +
             ",\"error\":" + (r.error ? jsonNumber(*r.error) : "null");
        if (!r.error) j += ",\"note\":" + jsonString(r.note);
        j += '}';
    }
    j += "},\"chi2_reduced\":" + (result.chi2Reduced ? jsonNumber(*result.chi2Reduced) : "null");
    j += ",\"rms\":" + jsonNumber(result.rms);
    j += ",\"robust_rms\":" + jsonNumber(result.robustRms);
    j += ",\"points\":" + std::to_string(result.points);
    j += ",\"iterations\":" + std::to_string(result.iterations);
    j += ",\"correlations\":{";
    for (std::size_t c = 0; c < result.correlations.size(); ++c) {
        const auto& k = result.correlations[c];
        if (c > 0) j += ',';
        j += jsonString(result.parameters[k.i].name + "," + result.parameters[k.j].name) + ":" +
             jsonNumber(k.value);
    }
    return j + "}}\n";
}

std::string fitText(const fit::FitResult& result, const fit::Observations& data,
                    const fit::CurveModel& model) {
    const std::string unit = data.magnitudes ? " mag" : " (relative flux)";
    std::string t = data.name + ": " + std::to_string(result.points) + " points, " +
                    std::to_string(result.outliers) +
                    (result.outliers == 1 ? " outlier" : " outliers") + " left out";
    if (data.periodDays > 0) t += ", period " + digits(data.periodDays, 10) + " d";
    t += "\n";
    std::size_t width = 0;
    for (const fit::ParameterResult& r : result.parameters)
        width = std::max(width, r.name.size());
    for (std::size_t p = 0; p < result.parameters.size(); ++p) {
        const fit::ParameterResult& r = result.parameters[p];
        const std::string_view u = model.parameters()[p]->unit;
        t += "  " + r.name + std::string(width - r.name.size(), ' ') + " = ";
        if (r.error)
            t += withError(r.value, *r.error) + (u.empty() ? "" : " " + std::string(u));
        else
            t +=
                digits(r.value, 6) + (u.empty() ? "" : " " + std::string(u)) + "  (" + r.note + ")";
        t += "\n";
    }
    t += "rms " + digits(result.rms, 3) + unit + ", without the outliers " +
         digits(result.robustRms, 3) + unit;
    if (result.chi2Reduced) t += ", reduced chi-square " + digits(*result.chi2Reduced, 3);
    t += "; " + std::to_string(result.iterations) + " iterations\n";
    if (!result.correlations.empty()) {
        t += "correlations:";
        for (const auto& c : result.correlations)
            t += " " + result.parameters[c.i].name + "," + result.parameters[c.j].name + " " +
                 digits(c.value, 2);
        t += "\n";
    }
    for (const fit::Alternative& a : result.alternatives) {
        t += "nearly as good (robust cost x" + digits(a.chi2Ratio, 4) + "):";
        for (std::size_t p = 0; p < a.values.size(); ++p)
            t += " " + result.parameters[p].name + " " + digits(a.values[p], 6);
        t += "\n";
    }
    return t;
}

int runFitCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    FitRequest request;
    if (const auto status =
            beginCommand(request, parseFitArguments, fitHelp, args, "fit", out, err))
        return *status;

    std::string text;
    try {
        const ObservedData observed =
            readObserved(request.file, std::filesystem::path(request.file).filename().string());
        std::string refused;
        const std::unique_ptr<Form1> f = modelFromOptions(request.start, refused);
        if (f == nullptr) {
            err << "orvanta fit: " << refused << '\n';
            return 2;
        }
        fit::BoxModel model(*f, request.free, request.start.options.light);
        const fit::Observations data =
            fit::observationsFrom(observed, request.periodDays ? request.periodDays
                                            : observed.period  ? observed.period
                                                               : std::optional(model.periodDays()));
        const fit::FitResult result = fit::fitCurve(model, model.start(), data);
        text = request.json ? fitJson(result) : fitText(result, data, model);
    } catch (const DataFileError& e) {
        err << "orvanta fit: cannot use " << request.file << ": " << oneLine(e.what()) << '\n';
        return 2;
    } catch (const fit::FitError& e) {
        err << "orvanta fit: " << oneLine(e.what()) << '\n';
        return 2;
    }

    return writeResult(out, err, "fit", request.start.output, text);
}

} // namespace orvanta::cli
