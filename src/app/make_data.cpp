// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the teaching light curves in data/: three eclipsing systems observed by the model
// itself on a seeded schedule of clear nights, with noise, gaps and a few outliers.
// With them, the radial velocities of the near twins, for the lesson on the masses.
// Run through data/make-data; the same seed gives the same files.
#include "core/projected_orbit.h"
#include "form1.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace orvanta;

namespace {

struct System {
    const char* file;
    const char* title;
    std::uint64_t seed;
    // Inputs as typed in the boxes (flux in W/m^2).
    const char *massA, *massB, *radiusA, *radiusB, *fluxA, *fluxB, *distance, *eccen;
    const char *incline1, *incline2, *incline3;
    double brightest; ///< apparent magnitude out of eclipse
    double noise;     ///< magnitudes, one sigma
    char sep;         ///< column separator
    double start;     ///< HJD of the first night
    int nights;
};

/// Uniform in [0, 1) from the generator's raw 64 bits, the same on every platform.
double uniform(std::mt19937_64& rng) {
    return static_cast<double>(rng() >> 11) * 0x1.0p-53;
}

/// A standard normal deviate (Box-Muller).
double gauss(std::mt19937_64& rng) {
    const double u = 1 - uniform(rng);
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * 3.141592653589793 * uniform(rng));
}

void setUp(Form1& f, const System& s) {
    f.Form_Load();
    f.Text7.Text = s.massA;
    f.Text8.Text = s.massB;
    f.Text9.Text = s.radiusA;
    f.Text10.Text = s.radiusB;
    f.Text11.Text = s.fluxA;
    f.Text12.Text = s.fluxB;
    f.Text1.Text = s.distance;
    f.Text3.Text = s.eccen;
    f.Text4.Text = s.incline1;
    f.Text5.Text = s.incline2;
    f.Text6.Text = s.incline3;
    f.Plot_Click();
}

void make(const System& s, const std::string& folder) {
    Form1 f;
    setUp(f, s);
    const double period = f.Period.value(); // years
    const double days = period * DaysPerYear;
    auto magnitudeAt = [&](double phase) {
        f.Time = phase * period;
        f.Main();
        return num(f.PowerToAll(f.PowerSum, 1)).value();
    };
    // The primary minimum: the faintest of a fine scan, the middle of a flat bottom.
    constexpr int Scan = 200000;
    double faintest = -1e300;
    int first = 0, last = 0;
    for (int i = 0; i < Scan; ++i) {
        const double m = magnitudeAt(static_cast<double>(i) / Scan);
        if (m > faintest + 1e-12) {
            faintest = m;
            first = last = i;
        } else if (m > faintest - 1e-12 && last == i - 1) {
            last = i;
        }
    }
    const double minimumPhase = (first + last) / 2.0 / Scan;
    double brightest = 1e300;
    for (int i = 0; i < 1000; ++i)
        brightest = std::min(brightest, magnitudeAt(i / 1000.0));
    const double offset = s.brightest - brightest;

    std::mt19937_64 rng(s.seed);
    // Periastron some way into the first night's cycle.
    const double periastron = s.start - 0.37 * days;
    struct Row {
        double t, v, e;
    };
    std::vector<Row> rows;
    for (int night = 0; night < s.nights; ++night) {
        if (uniform(rng) < 0.55) continue; // clouded out
        const double dusk = s.start + night + 0.05 * uniform(rng);
        const double hours = 0.12 + 0.2 * uniform(rng); // days of clear sky
        for (double t = dusk; t < dusk + hours; t += 0.008 + 0.004 * uniform(rng)) {
            const double phase = std::fmod(t - periastron, days) / days;
            const double sigma = s.noise * (0.8 + 0.5 * uniform(rng));
            rows.push_back({t, magnitudeAt(phase) + offset + sigma * gauss(rng), sigma});
        }
    }
    // Three outliers: a passing cloud (fainter) twice, a cosmic-ray hit (brighter) once.
    for (int k = 0; k < 3; ++k)
        rows[static_cast<std::size_t>(uniform(rng) * static_cast<double>(rows.size()))].v +=
            k < 2 ? 0.15 + 0.2 * uniform(rng) : -0.12;
    const double firstMinimum =
        periastron + minimumPhase * days +
        std::ceil((rows.front().t - periastron - minimumPhase * days) / days) * days;

    const std::string path = folder + "/" + s.file;
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (out == nullptr) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fprintf(
        out,
        "# SPDX-License-Identifier: GPL-3.0-or-later\n"
        "# %s\n"
        "# SYNTHETIC DATA, not a real star: made by data/make-data (seed %llu) from the\n"
        "# Orvanta model with these inputs:\n"
        "#   mass A %s, mass B %s (solar masses); radius A %s, radius B %s (solar radii)\n"
        "#   surface flux A %s, B %s (W/m^2); mean distance %s (solar radii)\n"
        "#   eccentricity %s; Incline1 %s, Incline2 %s, Incline3 %s (degrees)\n"
        "# Apparent V magnitudes (the model's absolute ones %+.3f), noise %.3f mag (1 sigma),\n"
        "# nights lost to cloud and three outliers.\n"
        "# period = %.6f d\n"
        "# epoch = %.5f\n",
        s.title, static_cast<unsigned long long>(s.seed), s.massA, s.massB, s.radiusA, s.radiusB,
        s.fluxA, s.fluxB, s.distance, s.eccen, s.incline1, s.incline2, s.incline3, offset, s.noise,
        days, firstMinimum);
    const char sep = s.sep;
    std::fprintf(out, "HJD%cV_mag%cerror\n", sep, sep);
    for (const Row& r : rows)
        std::fprintf(out, "%.5f%c%.4f%c%.4f\n", r.t, sep, r.v, sep, r.e);
    std::fclose(out);
    std::printf("%s: %zu points, period %.4f d, primary minimum at phase %.4f, depth %.3f mag\n",
                s.file, rows.size(), days, minimumPhase, faintest - brightest);
}

/// Spectra of both stars on `count` clear nights from `firstNight` on, one each night at a
/// random hour, with the same time of periastron as the light curve of `s`: velocities in km/s
/// with the systemic velocity `gamma` and Gaussian errors of `sigma`.
void makeVelocities(const System& s, const std::string& folder, const char* file,
                    std::uint64_t seed, double firstNight, int count, double gamma, double sigma) {
    Form1 f;
    setUp(f, s);
    const double period = f.Period.value();
    const double days = period * DaysPerYear;
    const double periastron = s.start - 0.37 * days; // as in make()
    std::mt19937_64 rng(seed);
    const std::string path = folder + "/" + file;
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (out == nullptr) {
        std::perror(path.c_str());
        std::exit(1);
    }
    f.Time = 0;
    f.Main();
    const auto orbit = projectedOrbitOf(f);
    const auto K = physics::amplitudes(orbit);
    std::fprintf(out,
                 "# SPDX-License-Identifier: GPL-3.0-or-later\n"
                 "# Radial velocities of both stars of the system whose light curve is %s\n"
                 "# SYNTHETIC DATA, not a real star: made by data/make-data (seed %llu) from the\n"
                 "# Orvanta model with the inputs of that file, systemic velocity %.1f km/s,\n"
                 "# noise %.1f km/s (1 sigma). Positive: moving away from us.\n"
                 "# period = %.6f d\n",
                 s.file, static_cast<unsigned long long>(seed), gamma, sigma, days);
    std::fprintf(out, "HJD,rv_a,rv_b,error\n");
    for (int k = 0; k < count; ++k) {
        const double t = s.start + firstNight + 3 * k + 0.3 * uniform(rng);
        f.Time = std::fmod(t - periastron, days) / days * period;
        f.Main();
        const auto v = velocitiesNow(f);
        std::fprintf(out, "%.5f,%.2f,%.2f,%.1f\n", t, gamma + v.a + sigma * gauss(rng),
                     gamma + v.b + sigma * gauss(rng), sigma);
    }
    std::fclose(out);
    std::printf("%s: %d spectra, K_A %.2f km/s, K_B %.2f km/s, sin i %.6f\n", file, count, K.a, K.b,
                physics::sinInclination(orbit));
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string folder = argc > 1 ? argv[1] : "data";
    const System systems[] = {
        {"algol.txt", "An Algol-like system: a hot star eclipsed by a larger, cooler one", 1,
         "3.59", "0.8", "2.88", "3.0", "1181952000", "32538658.5511403", "15", "0", "0", "-4.5",
         "0", 2.1, 0.012, ' ', 2459000.3, 70},
        {"twins.csv", "Near twins: two similar sun-like stars, eclipses of equal depth", 2, "1.1",
         "1.05", "1.2", "1.15", "70000000", "66000000", "6", "0", "0", "-4", "0", 8.4, 0.008, ',',
         2459400.3, 45},
        {"eccentric.txt", "An eccentric orbit: the eclipses are not half a period apart", 3, "2.5",
         "1.8", "1.9", "1.6", "400000000", "180000000", "22", "0.3", "0", "-2.5", "60", 6.7, 0.01,
         '\t', 2459800.3, 110},
    };
    for (const System& s : systems)
        make(s, folder);
    makeVelocities(systems[1], folder, "twins_rv.csv", 4, 60, 18, 12.3, 2.0);
    return 0;
}
