// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/curve_command.h"
#include "core/list_rows.h"

#include "cli/arguments.h"
#include "cli/atomic_file.h"
#include "form1.h"
#include "photometry/star_side.h"
#include "render/curve_table.h"
#include "ui/command_line.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <ostream>

namespace orvanta::cli {

namespace {

using Text = std::optional<std::string>;

/// One option that takes a number: its name, the word for its value in the help, what it
/// means with its unit, where the request keeps it, and the box whose design-time text is
/// its default (none for the light quantities other than the flux).
struct NumberOption {
    std::string name;
    std::string metavar;
    std::string meaning;
    char star = 0; ///< 'a' or 'b'; 0 for the orbit
    Text StarOptions::*starField = nullptr;
    Text CurveRequest::*orbitField = nullptr;
    TextBoxCtl Controls::*box = nullptr;

    [[nodiscard]] Text& in(CurveRequest& r) const {
        if (star == 0) return r.*orbitField;
        return (star == 'a' ? r.a : r.b).*starField;
    }
};

/// The command's option of a quantity in the table of the inputs.
NumberOption optionOf(const InputQuantity& q) {
    NumberOption o;
    o.name = q.option;
    o.metavar = q.metavar;
    o.meaning = q.meaning;
    o.star = q.star;
    if (q.star != 0) {
        // The light quantities other than the flux have no box of their own by default.
        if (q.lightRow <= 0) o.box = q.box;
        const std::string_view stem = q.name.substr(0, q.name.size() - 2);
        for (const auto& [word, field] :
             {std::pair{"mass", &StarOptions::mass}, std::pair{"radius", &StarOptions::radius},
              std::pair{"flux", &StarOptions::flux},
              std::pair{"luminosity", &StarOptions::luminosity},
              std::pair{"temperature", &StarOptions::temperature},
              std::pair{"magnitude", &StarOptions::magnitude}})
            if (stem == word) o.starField = field;
    } else {
        o.box = q.box;
        for (const auto& [word, field] : {std::pair{"distance", &CurveRequest::distance},
                                          std::pair{"eccentricity", &CurveRequest::eccentricity},
                                          std::pair{"incline1", &CurveRequest::incline1},
                                          std::pair{"incline2", &CurveRequest::incline2},
                                          std::pair{"incline3", &CurveRequest::incline3},
                                          std::pair{"steps", &CurveRequest::steps}})
            if (q.name == word) o.orbitField = field;
    }
    return o;
}

std::vector<NumberOption> starOptions(char star) {
    std::vector<NumberOption> options;
    for (const InputQuantity& q : inputQuantities())
        if (q.star == star) options.push_back(optionOf(q));
    return options;
}

std::vector<NumberOption> orbitOptions() {
    std::vector<NumberOption> options;
    for (const InputQuantity& q : inputQuantities())
        if (q.star == 0) options.push_back(optionOf(q));
    return options;
}

std::vector<NumberOption> allNumberOptions() {
    std::vector<NumberOption> all = starOptions('a');
    for (NumberOption& o : starOptions('b'))
        all.push_back(std::move(o));
    for (NumberOption& o : orbitOptions())
        all.push_back(std::move(o));
    return all;
}

/// Whether the whole text is one number by the boxes' reading rule (blanks around it
/// allowed), so that "1,5" or "2kg" is refused rather than read in part.
bool isNumber(const std::string& text) {
    std::size_t used = 0;
    try {
        Val(text, used);
    } catch (const RuntimeError&) {
        return true; // beyond the double range: reading the box raises the window's error
    }
    if (used == 0) return false;
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(used), text.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
}

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string spectralTypes() {
    const Controls c;
    std::string list;
    for (const std::string& t : c.Combo1.Items) {
        if (t.empty()) continue;
        if (!list.empty()) list += ' ';
        list += t;
    }
    return list;
}

int presetRow(const std::string& option, const std::string& text) {
    const Controls c;
    const std::string wanted = upper(text);
    for (std::size_t i = 0; i < c.Combo1.Items.size(); ++i)
        if (!c.Combo1.Items[i].empty() && upper(c.Combo1.Items[i]) == wanted)
            return static_cast<int>(i);
    throw UsageError{option + ": unknown spectral type '" + text + "' (one of " + spectralTypes() +
                     ")"};
}

void checkStar(const StarOptions& s, char star) {
    const std::string x(1, star);
    const int light = (s.flux ? 1 : 0) + (s.luminosity ? 1 : 0) + (s.magnitude ? 1 : 0) +
                      (s.temperature && !s.magnitude ? 1 : 0);
    if (light > 1)
        throw UsageError{"give one of --flux-" + x + ", --luminosity-" + x + ", --temperature-" +
                         x + " and --magnitude-" + x + " (with --temperature-" + x + ")"};
    if (s.magnitude && !s.temperature)
        throw UsageError{"--magnitude-" + x + " needs --temperature-" + x};
    if (s.preset && (s.mass || s.radius || light > 0 || s.temperature))
        throw UsageError{"--preset-" + x + " sets the mass, radius and temperature of star " +
                         upper(x) + "; leave out the other options of star " + upper(x)};
}

/// "U" or "U1,U2", each a number by the boxes' rule; the law must keep the light positive.
physics::LimbDarkening limbLaw(const std::string& option, const std::string& text) {
    const std::size_t comma = text.find(',');
    const std::string first = text.substr(0, comma);
    const std::string second = comma == std::string::npos ? "0" : text.substr(comma + 1);
    if (!isNumber(first) || !isNumber(second) || second.find(',') != std::string::npos)
        throw UsageError{option + ": '" + text + "' is not U or U1,U2"};
    std::size_t used = 0;
    physics::LimbDarkening law;
    try {
        law = {Val(first, used), Val(second, used)};
    } catch (const RuntimeError&) {
        throw UsageError{option + ": '" + text + "' is out of range"};
    }
    if (const std::string why = physics::limbDarkeningProblem(law); !why.empty())
        throw UsageError{option + ": " + why};
    return law;
}

double optionNumber(const std::string& option, const std::string& text) {
    std::size_t used = 0;
    if (!isNumber(text)) throw UsageError{option + ": '" + text + "' is not a number"};
    try {
        return Val(text, used);
    } catch (const RuntimeError&) {
        throw UsageError{option + ": '" + text + "' is out of range"};
    }
}

} // namespace

CurveRequest parseCurveArguments(const std::vector<std::string>& args) {
    CurveRequest r;
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "-h" || arg == "--help") {
            r.action = CurveRequest::Action::Help;
            return r;
        }
        if (arg == "--version") {
            r.action = CurveRequest::Action::Version;
            return r;
        }
    }

    const std::vector<NumberOption> numbers = allNumberOptions();
    bool gammaGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") { // the end of the options; the command takes no other arguments
            if (i + 1 < args.size()) throw UsageError{"unexpected argument '" + args[i + 1] + "'"};
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') throw UsageError{"unexpected argument '" + arg + "'"};
        const OptionArgument option = splitOption(arg);
        const std::string& name = option.name;
        auto takeValue = [&] { return optionValue(option, args, i); };

        if (name == "-o" || name == "--output") {
            r.output = takeValue();
            if (r.output.empty()) throw UsageError{"option '" + name + "' needs a file name"};
            continue;
        }
        if (name == "--preset-a" || name == "--preset-b") {
            const std::string text = takeValue();
            (name == "--preset-a" ? r.a : r.b).preset = presetRow(name, text);
            continue;
        }
        if (name == "--limb-a" || name == "--limb-b") {
            (name == "--limb-a" ? r.options.light.limbA : r.options.light.limbB) =
                limbLaw(name, takeValue());
            continue;
        }
        if (name == "--third-light") {
            const double f = optionNumber(name, takeValue());
            if (const std::string why = physics::thirdLightProblem(f); !why.empty())
                throw UsageError{name + ": " + why};
            r.options.light.thirdLight = f;
            continue;
        }
        if (name == "--rv") {
            if (option.value) throw UsageError{"option '--rv' takes no value"};
            r.options.velocities = true;
            continue;
        }
        if (name == "--gamma") {
            r.options.gamma = optionNumber(name, takeValue());
            gammaGiven = true;
            continue;
        }
        const auto o = std::find_if(numbers.begin(), numbers.end(),
                                    [&](const NumberOption& n) { return n.name == name; });
        if (o == numbers.end()) throw UsageError{"unknown option '" + name + "'"};
        const std::string text = takeValue();
        if (!isNumber(text)) throw UsageError{name + ": '" + text + "' is not a number"};
        o->in(r) = text;
    }
    checkStar(r.a, 'a');
    checkStar(r.b, 'b');
    if (gammaGiven && !r.options.velocities)
        throw UsageError{"--gamma is the systemic velocity of --rv; give --rv too"};
    return r;
}

void applyToBoxes(const CurveRequest& request, Controls& f) {
    const std::vector<NumberOption> numbers = allNumberOptions();
    CurveRequest r = request; // `in` hands out references that could change it
    // The fields a preset's conversion of the light box writes, as a window's would.
    SimState scratch;

    auto applyStar = [&](const StarOptions& s, const StarSide& side) {
        if (s.preset) {
            side.type.ListIndex = *s.preset;
            presetPicked(scratch, side);
        }
        if (s.magnitude) {
            side.selector.TopIndex = LightRow::Magnitude;
            side.value.Text = *s.magnitude;
            side.temperature.Text = *s.temperature;
        } else if (s.temperature) {
            side.selector.TopIndex = LightRow::Temperature;
            side.value.Text = *s.temperature;
        } else if (s.luminosity) {
            side.selector.TopIndex = LightRow::Luminosity;
            side.value.Text = *s.luminosity;
        } else if (s.flux) {
            side.selector.TopIndex = LightRow::Flux;
            side.value.Text = *s.flux;
        }
        // The selector's row is the one the user would have scrolled to.
        side.previousRow = side.selector.TopIndex;
    };
    applyStar(request.a, starA(scratch, f));
    applyStar(request.b, starB(scratch, f));
    // Masses, radii and the orbit go into their boxes; the light went in above.
    for (const NumberOption& o : numbers)
        if (o.box != nullptr && o.in(r) && o.box != &Controls::Text11 && o.box != &Controls::Text12)
            (f.*(o.box)).Text = *o.in(r);
}

std::string curveHelp() {
    const Controls defaults;
    auto line = [](const std::string& left, const std::string& right) {
        std::string l = "  " + left;
        if (l.size() < 23)
            l.append(23 - l.size(), ' ');
        else
            l += "\n" + std::string(23, ' ');
        return l + right + "\n";
    };
    auto described = [&](const NumberOption& o) {
        std::string right = o.meaning;
        if (o.box != nullptr) right += " [" + (defaults.*(o.box)).Text + "]";
        return line(o.name + " " + o.metavar, right);
    };

    std::string h =
        "Usage: orvanta curve [OPTION]...\n"
        "Print the light curve of one orbital period as CSV, the table that Ctrl+E saves in\n"
        "the window: a \"#\" line with every input, \"# period = <days> d\", the header row\n"
        "phase,time_days,power_w,magnitude,eclipse and one row per sample of the graph's\n"
        "sweep (1/793 of the period apart). Numbers use \".\" as the decimal point. Values are\n"
        "read as the window's boxes read them; options left out keep the window's defaults\n"
        "[in brackets].\n\nStar A (the options of star B end in -b):\n";
    for (const NumberOption& o : starOptions('a'))
        h += described(o);
    h += line("--preset-a TYPE", "spectral type: fills mass, radius and temperature");
    h += line("", spectralTypes());
    h += "Give at most one of --flux-a, --luminosity-a, --temperature-a, --magnitude-a;\n"
         "--magnitude-a needs --temperature-a and then sets the radius.\n\nOrbit:\n";
    for (const NumberOption& o : orbitOptions())
        h += described(o);
    h += "\nReal stars (all off by default):\n";
    h += line("--limb-a U[,U2]", "limb darkening of star A, I(mu)/I(1) = 1 - U(1 - mu)");
    h += line("", "- U2(1 - mu)^2; --limb-b for star B [0]");
    h += line("--third-light F", "constant third light, the fraction F of the whole light");
    h += line("", "outside the eclipses, 0 <= F < 1 [0]");
    h += line("--rv", "add the columns rv_a_km_s,rv_b_km_s: each star's radial");
    h += line("", "velocity, km/s, positive away from the observer");
    h += line("--gamma V", "systemic velocity added to both, km/s (with --rv) [0]");
    h += "\nOutput:\n";
    h += line("-o, --output FILE", "write to FILE instead of standard output; FILE is");
    h += line("", "replaced whole, or left as it was if anything fails");
    h += line("-h, --help", "show this help and exit");
    h += line("    --version", "show the version and exit");
    h += "\nExit status: 0 on success; 2 on a bad command line, on a run-time error (its\n"
         "message as the window's error window shows it) or when the output cannot be\n"
         "written.\n";
    return h;
}

int reportUsage(std::ostream& err, const char* command, const std::string& message) {
    err << "orvanta " << command << ": " << printable(message) << " (see 'orvanta " << command
        << " --help')\n";
    return 2;
}

int writeAndExit(std::ostream& out, const std::string& text) {
    out << text << std::flush;
    return out ? 0 : 2;
}

std::string versionLine() {
    return "orvanta " ORVANTA_VERSION "\n";
}

int runCurveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CurveRequest request;
    if (const auto status =
            beginCommand(request, parseCurveArguments, curveHelp, args, "curve", out, err))
        return *status;

    // No window object: the boxes' values and the table's own state, the message as the
    // window's error window would show it.
    std::string csv;
    try {
        Controls boxes;
        applyToBoxes(request, boxes);
        csv = CurveCsv(LightCurveTable(boxes, request.options));
    } catch (const RuntimeError& e) {
        err << errorText(e) << '\n';
        return 2;
    } catch (const std::bad_alloc&) {
        err << errorText(RuntimeError{7, "Out of memory"}) << '\n';
        return 2;
    } catch (...) {
        err << errorText(RuntimeError{51, "Internal error"}) << '\n';
        return 2;
    }

    return writeResult(out, err, "curve", request.output, csv);
}

int writeResult(std::ostream& out, std::ostream& err, const char* command,
                const std::string& output, const std::string& text) {
    if (output.empty()) {
        out << text << std::flush;
        if (!out) {
            err << "orvanta " << command << ": cannot write to standard output\n";
            return 2;
        }
        return 0;
    }
    if (const std::string why = writeFileAtomically(output, text); !why.empty()) {
        err << "orvanta " << command << ": cannot write '" << printable(output) << "': " << why
            << '\n';
        return 2;
    }
    return 0;
}

} // namespace orvanta::cli
