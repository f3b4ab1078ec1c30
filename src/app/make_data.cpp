// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the teaching light curves in data/: three eclipsing systems observed by the model
// itself on a seeded schedule of clear nights, with noise, gaps and a few outliers.
// With them, the radial velocities of the near twins and of the Algol-like pair, for the
// lessons on the masses.
// Run through data/make-data; the same seed gives the same files.
#include "app/write_fits.h"
#include "core/projected_orbit.h"
#include "form1.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
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

/// The model with a system's inputs typed in and plotted.
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

std::FILE* create(const std::string& path) {
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (out == nullptr) {
        std::perror(path.c_str());
        std::exit(1);
    }
    return out;
}

/// Small files in the layouts the public archives give (and a spreadsheet's), all of one
/// system observed by the model with noise: what the reader's tests and the README's table
/// of layouts are checked with. Every number is made here; none is a real star's.
void makeArchive(const System& s, const std::string& folder) {
    Form1 f;
    setUp(f, s);
    const double days = f.Period.value() * DaysPerYear;
    std::vector<double> curve; // magnitudes at 2000 phases
    for (int i = 0; i < 2000; ++i) {
        f.Time = f.Period.value() * i / 2000.0;
        f.Main();
        curve.push_back(num(f.PowerToAll(f.PowerSum, 1)).value());
    }
    const double brightest = *std::min_element(curve.begin(), curve.end());
    const double epoch = 2459000.0;
    auto magAt = [&](double t, double band) { // band: an offset, such as B - V
        const double phase = std::fmod(t - epoch, days) / days;
        const double p = phase < 0 ? phase + 1 : phase;
        return curve[std::min<std::size_t>(1999, static_cast<std::size_t>(p * 2000))] - brightest +
               9.2 + band;
    };
    auto fluxAt = [&](double t) { return std::pow(10.0, -(magAt(t, 0) - 9.2) / 2.512); };
    std::mt19937_64 rng(s.seed + 100);
    const std::string note =
        "# SYNTHETIC DATA, not a real star: made by data/make-data from the Orvanta model\n";
    const std::string spdx = "# SPDX-License-Identifier: GPL-3.0-or-later\n";

    { // AAVSO: V most numerous, some B, visual estimates without uncertainty, limits.
        std::FILE* out = create(folder + "/aavso.csv");
        std::fprintf(out, "%s%s# period = %.6f d\n", spdx.c_str(), note.c_str(), days);
        std::fprintf(out, "JD,Magnitude,Uncertainty,HQuncertainty,Band,Observer Code,"
                          "Comment Code(s),Comp Star 1,Check Star,Transfomed,Airmass,"
                          "Validation Flag,Cmag,Kmag,HJD,Star Name,Observer Affiliation,"
                          "Measurement Method,Grouping Method,ADS Reference,Digitizer,Credit\n");
        for (int i = 0; i < 300; ++i) {
            const double t = epoch + 0.05 + i * 0.137 + 0.01 * uniform(rng);
            const double u = uniform(rng);
            const char* band = u < 0.6 ? "V" : u < 0.85 ? "B" : "Vis.";
            const double m = magAt(t, band[0] == 'B' ? 0.45 : 0) + 0.01 * gauss(rng);
            if (band[0] == 'V' && band[1] == 'i')
                std::fprintf(out, "%.5f,%.1f,,,Vis.,XYZ,,,,0,,Z,,,,SYNTH,,STD,,,,\n", t, m);
            else if (i % 47 == 5)
                std::fprintf(out, "%.5f,<%.1f,,,%s,XYZ,,,,0,,Z,,,,SYNTH,,STD,,,,\n", t, m - 1,
                             band);
            else
                std::fprintf(out, "%.5f,%.3f,0.010,,%s,XYZ,,110,113,0,,Z,,,,SYNTH,,STD,,,,\n", t, m,
                             band);
        }
        std::fclose(out);
    }
    { // ASAS-SN Sky Patrol: unsorted (cameras in turn), limits as ">".
        std::FILE* out = create(folder + "/asas-sn.csv");
        std::fprintf(out,
                     "%s%sHJD,UT Date,Camera,FWHM,Limit,mag,mag_err,flux(mJy),flux_err,"
                     "Filter\n",
                     spdx.c_str(), note.c_str());
        for (int cam = 0; cam < 2; ++cam)
            for (int i = 0; i < 150; ++i) {
                const double t = epoch + cam * 0.07 + i * 0.31;
                const double m = magAt(t, 0) + 0.02 * gauss(rng);
                if (i % 53 == 7)
                    std::fprintf(out, "%.5f,2020-05-31.5,b%c,1.5,16.9,>16.9,99.99,0.0,0.1,V\n", t,
                                 'a' + cam);
                else
                    std::fprintf(out, "%.5f,2020-05-31.5,b%c,1.5,16.9,%.3f,0.020,%.3f,0.05,V\n", t,
                                 'a' + cam, m, 3631e3 * std::pow(10.0, -m / 2.5));
            }
        std::fclose(out);
    }
    { // ASAS-SN's photometry database: g and V, grouped by camera.
        std::FILE* out = create(folder + "/asas-sn-db.csv");
        std::fprintf(out,
                     "%s%sJD,Flux,Flux Error,Mag,Mag Error,Limit,FWHM,Filter,Quality,"
                     "Camera\n",
                     spdx.c_str(), note.c_str());
        for (int b = 0; b < 2; ++b)
            for (int i = 0; i < (b == 0 ? 200 : 80); ++i) {
                const double t = epoch + 0.2 + b * 0.05 + i * 0.29;
                const double m = magAt(t, b == 0 ? 0.3 : 0) + 0.02 * gauss(rng);
                std::fprintf(out, "%.5f,%.3f,0.05,%.3f,0.020,17.1,1.6,%s,G,b%c\n", t,
                             3631e3 * std::pow(10.0, -m / 2.5), m, b == 0 ? "g" : "V", 'e' + b);
            }
        std::fclose(out);
    }
    { // ZTF: rows grouped by filter, so times restart; some flagged.
        std::FILE* out = create(folder + "/ztf.csv");
        std::fprintf(out,
                     "%s%soid,expid,hjd,mjd,mag,magerr,catflags,filtercode,ra,dec,chi,"
                     "sharp,filefracday,field,ccdid,qid,limitmag,magzp,magzprms,clrcoeff,"
                     "clrcounc,exptime,airmass,programid\n",
                     spdx.c_str(), note.c_str());
        for (int b = 0; b < 2; ++b)
            for (int i = 0; i < (b == 0 ? 180 : 120); ++i) {
                const double t = epoch + 0.11 + b * 0.02 + i * 0.41;
                const double m = magAt(t, b == 0 ? 0.35 : 0) + 0.015 * gauss(rng);
                std::fprintf(out,
                             "1,%d,%.6f,%.6f,%.4f,0.015,%d,%s,10.0,20.0,1,0,0,500,1,1,20.5,"
                             "26.3,0.02,-0.05,0.00001,30,1.2,1\n",
                             1000 + i, t, t - 2400000.5, m, i % 61 == 3 ? 32768 : 0,
                             b == 0 ? "zg" : "zr");
            }
        std::fclose(out);
    }
    { // The Kepler eclipsing-binary catalogue's table: the column line a "#" comment, times
      // BJD - 2400000, relative fluxes.
        std::FILE* out = create(folder + "/kebc.txt");
        std::fprintf(out, "%s%s# bjd phase raw_flux raw_err corr_flux corr_err dtr_flux dtr_err\n",
                     spdx.c_str(), note.c_str());
        for (int i = 0; i < 400; ++i) {
            const double t = epoch + i * 0.0204;
            const double fl = fluxAt(t) * (1 + 0.0005 * gauss(rng));
            const double phase = std::fmod(t - epoch, days) / days;
            std::fprintf(out, "%.7f %.7f %.2f %.2f %.7f %.7f %.7f %.7f\n", t - 2400000, phase,
                         fl * 51234.0 + 300, 25.0, fl, 0.0005, fl, 0.0005);
        }
        std::fclose(out);
    }
    { // A TESS table as a CSV: the corrected flux is not the first with "flux" in its name.
        std::FILE* out = create(folder + "/tess.csv");
        std::fprintf(out, "%s%stime,sap_flux,sap_flux_err,pdcsap_flux,pdcsap_flux_err,quality\n",
                     spdx.c_str(), note.c_str());
        for (int i = 0; i < 400; ++i) {
            const double t = 2000.0 + i * 0.0208;
            const double fl = fluxAt(t + 2457000) * (1 + 0.0004 * gauss(rng));
            std::fprintf(out, "%.6f,%.2f,%.2f,%.2f,%.2f,%d\n", t,
                         fl * 9000 * (1 + 0.02 * i / 400.0), 4.0, fl * 10000, 4.0,
                         i % 97 == 13  ? 32
                         : i % 89 == 2 ? 1024
                                       : 0);
        }
        std::fclose(out);
    }
    { // A spreadsheet's CSV in German: semicolons, decimal commas, the band as the header.
        std::FILE* out = create(folder + "/german.csv");
        std::fprintf(out, "%s%sHJD;V;err\n", spdx.c_str(), note.c_str());
        for (int i = 0; i < 200; ++i) {
            const double t = epoch + 0.3 + i * 0.173;
            char row[96];
            std::snprintf(row, sizeof row, "%.5f;%.4f;0.0100\n", t,
                          magAt(t, 0) + 0.01 * gauss(rng));
            for (char* c = row; *c; ++c)
                if (*c == '.') *c = ',';
            std::fputs(row, out);
        }
        std::fclose(out);
    }
    // FITS light curves of TESS (QUALITY) and Kepler (SAP_QUALITY), with gaps (NaN) and
    // flagged cadences.
    for (int mission = 0; mission < 2; ++mission) {
        FitsLightCurve lc;
        lc.telescope = mission == 0 ? "TESS" : "Kepler";
        lc.object = mission == 0 ? "TIC 000000001 (synthetic)" : "KIC 000000001 (synthetic)";
        lc.bjdRefI = mission == 0 ? 2457000 : 2454833;
        lc.bjdRefF = 0;
        for (int i = 0; i < 600; ++i) {
            const double t = (mission == 0 ? 2000.0 : 4167.0) + i * 0.0208333;
            const double fl = fluxAt(t + lc.bjdRefI);
            const bool gap = i % 150 == 75;
            lc.time.push_back(gap ? NAN : t);
            lc.sapFlux.push_back(static_cast<float>(fl * 9500 * (1 + 0.0004 * gauss(rng))));
            lc.sapErr.push_back(4.0f);
            lc.pdcsapFlux.push_back(
                i % 131 == 60 ? NAN : static_cast<float>(fl * 10000 * (1 + 0.0004 * gauss(rng))));
            lc.pdcsapErr.push_back(4.0f);
            lc.quality.push_back(i % 101 == 50 ? 128 : i % 103 == 7 ? 4 : i % 37 == 11 ? 2048 : 0);
        }
        writeFitsLightCurve(folder + (mission == 0 ? "/tess.fits" : "/kepler.fits"), lc);
    }
    std::printf("archive/: the layouts of the archives, period %.6f d\n", days);
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
    std::FILE* out = create(path);
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
    std::filesystem::create_directories(folder + "/archive");
    makeArchive(systems[0], folder + "/archive");
    makeVelocities(systems[1], folder, "twins_rv.csv", 4, 60, 18, 12.3, 2.0);
    makeVelocities(systems[0], folder, "algol-rv.txt", 5, 20, 24, -8.5, 3.0);
    return 0;
}
