// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/masses_command.h"

#include "cli/arguments.h"
#include "cli/model_boxes.h"
#include "core/velocity_data.h"
#include "fit/fit_parameters.h"
#include "form1.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>

namespace orvanta::cli {

MassesRequest parseMassesArguments(const std::vector<std::string>& args) {
    MassesRequest r;
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
        } else if (name == "--period") {
            r.periodDays = periodDays(optionValue(option, args, i));
        } else if (arg.size() >= 2 && arg[0] == '-') {
            // The model's options, read by orvanta curve's rules.
            curveArgs.push_back(arg);
            if (!option.value && !curveSwitch(name) && i + 1 < args.size())
                curveArgs.push_back(args[++i]);
        } else if (r.file.empty()) {
            r.file = arg;
        } else {
            throw UsageError{"unexpected argument '" + arg + "'"};
        }
    }
    if (r.file.empty()) throw UsageError{"no radial-velocity file given"};
    r.model = parseCurveArguments(curveArgs);
    return r;
}

std::string massesHelp() {
    return "Usage: orvanta masses RVFILE [OPTION]... [--json]\n"
           "The masses of the binary from the radial velocities in RVFILE (columns time,\n"
           "rv_a[, rv_b][, errors] in km/s, as the window opens them) and the model's orbit.\n"
           "The options of 'orvanta curve' give the model (see 'orvanta curve --help'): its\n"
           "eccentricity and angles fix the shape of both velocity curves, which are fitted\n"
           "for the amplitudes K_A and K_B, the systemic velocity gamma and the time of\n"
           "periastron by least squares (weighted by the file's errors where every velocity\n"
           "has one; the errors are scaled by the reduced chi-square). The times are folded\n"
           "with --period, else the file's own \"# period = <days> d\", else the model's\n"
           "period. Then M_A sin^3 i = P (1 - e^2)^(3/2) (K_A + K_B)^2 K_B / (2 pi G), M_B\n"
           "sin^3 i likewise with K_A, a sin i = P sqrt(1 - e^2) (K_A + K_B) / (2 pi), and\n"
           "with the model's inclination the masses and the separation themselves.\n\n"
           "  --period DAYS          fold the times with this period\n"
           "  --json                 print one JSON object: k_a_km_s, k_b_km_s, gamma_km_s,\n"
           "                         mass_a_sin3i, mass_b_sin3i, a_sin_i_rsun, mass_a,\n"
           "                         mass_b, a_rsun and periastron_days, each {\"value\",\n"
           "                         \"error\"}; period_days, eccentricity, inclination_deg,\n"
           "                         chi2_reduced, rms_km_s, points_a, points_b, weighted\n"
           "  -o, --output FILE      write to FILE instead of standard output\n"
           "  -h, --help             show this help and exit\n"
           "      --version          show the version and exit\n\n"
           "Exit status: 0 on success; 2, with one line on standard error, on a bad command\n"
           "line, a file that cannot be used, or velocities that cannot give the masses.\n";
}

std::string massesJson(const fit::VelocityFit& f) {
    std::string j = "{";
    auto add = [&](const char* key, const fit::Estimate& e) {
        j += std::string(j.size() > 1 ? "," : "") + "\"" + key +
             "\":{\"value\":" + jsonNumber(e.value) + ",\"error\":" + jsonNumber(e.error) + "}";
    };
    add("k_a_km_s", f.kA);
    add("k_b_km_s", f.kB);
    add("gamma_km_s", f.gamma);
    add("mass_a_sin3i", f.massASin3i);
    add("mass_b_sin3i", f.massBSin3i);
    add("a_sin_i_rsun", f.aSinI);
    add("mass_a", f.massA);
    add("mass_b", f.massB);
    add("a_rsun", f.a);
    add("periastron_days", f.periastron);
    j += ",\"period_days\":" + jsonNumber(f.periodDays);
    j += ",\"eccentricity\":" + jsonNumber(f.eccentricity);
    j += ",\"inclination_deg\":" + jsonNumber(fit::inclinationDegrees(f));
    j += ",\"chi2_reduced\":" + jsonNumber(f.chi2Reduced);
    j += ",\"rms_km_s\":" + jsonNumber(f.rms);
    j += ",\"points_a\":" + std::to_string(f.pointsA);
    j += ",\"points_b\":" + std::to_string(f.pointsB);
    j += std::string(",\"weighted\":") + (f.weighted ? "true" : "false");
    return j + "}\n";
}

std::string massesText(const fit::VelocityFit& f, const VelocitySet& set) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%zu velocities of star A, %zu of star B, period %.10g d",
                  f.pointsA, f.pointsB, f.periodDays);
    std::string t = set.name + ": " + buf + "\n";
    auto line = [&](const char* name, const fit::Estimate& e, const char* unit) {
        t += std::string("  ") + name + " = " + fit::withError(e, "+-") + unit + "\n";
    };
    line("K_A        ", f.kA, " km/s");
    line("K_B        ", f.kB, " km/s");
    line("gamma      ", f.gamma, " km/s");
    line("M_A sin^3 i", f.massASin3i, " M_sun");
    line("M_B sin^3 i", f.massBSin3i, " M_sun");
    line("a sin i    ", f.aSinI, " R_sun");
    std::snprintf(buf, sizeof buf, "with the model's inclination, i = %.2f deg (e = %.4g):\n",
                  fit::inclinationDegrees(f), f.eccentricity);
    t += buf;
    line("M_A        ", f.massA, " M_sun");
    line("M_B        ", f.massB, " M_sun");
    line("a          ", f.a, " R_sun");
    line("periastron ", f.periastron, set.phased ? " (phase)" : " d");
    std::snprintf(
        buf, sizeof buf, "rms %.3g km/s, reduced chi-square %.3g (%s)\n", f.rms, f.chi2Reduced,
        f.weighted ? "weighted by the file's errors" : "unweighted: the scatter gives the errors");
    return t + buf;
}

int runMassesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    MassesRequest request;
    if (const auto status =
            beginCommand(request, parseMassesArguments, massesHelp, args, "masses", out, err))
        return *status;

    std::string text;
    try {
        const VelocitySet set =
            readVelocities(request.file, std::filesystem::path(request.file).filename().string());
        std::string refused;
        const std::unique_ptr<Form1> f = modelFromOptions(request.model, refused);
        if (f == nullptr) {
            err << "orvanta masses: " << refused << '\n';
            return 2;
        }
        const fit::VelocityFit fit = fit::fitVelocities(set, parametersOf(*f), request.periodDays);
        text = request.json ? massesJson(fit) : massesText(fit, set);
    } catch (const DataFileError& e) {
        err << "orvanta masses: cannot use " << request.file << ": " << oneLine(e.what()) << '\n';
        return 2;
    } catch (const fit::FitError& e) {
        err << "orvanta masses: " << oneLine(e.what()) << '\n';
        return 2;
    }
    return writeResult(out, err, "masses", request.model.output, text);
}

} // namespace orvanta::cli
