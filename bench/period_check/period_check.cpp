// SPDX-License-Identifier: GPL-3.0-or-later
// The period search over many synthetic eclipsing binaries made by the model: every kind
// in tests/model/synthetic_systems.h, 300 to 20 000 points from the ground and from space,
// three seeds each. Prints one line per light curve and the share found within 1e-4 of
// the period, the halves found for equal eclipses, and the epochs within their errors.
// Run as `make period-check`; it takes about three minutes of one core.
#include "analysis/period_search.h"

#include "../../tests/model/synthetic_systems.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

using namespace orvanta;
using namespace orvanta::testing;

int main(int argc, char** argv) {
    // `orvanta_period_check NAME [POINTS]` runs one kind (and one number of points) only.
    const std::string only = argc > 1 ? argv[1] : "";
    const std::size_t onlyPoints = argc > 2 ? std::stoul(argv[2]) : 0;
    int runs = 0, found = 0, halves = 0, within1 = 0, within3 = 0, failed = 0;
    for (const SystemCase& system : Systems) {
        if (!only.empty() && only != system.inputs.name) continue;
        const ModelCurve curve = modelCurve(system.inputs);
        for (const std::size_t points : {300U, 1000U, 3000U, 20000U})
            for (const bool nightly : {true, false}) {
                if (onlyPoints != 0 && points != onlyPoints) continue;
                for (std::uint64_t seed = 1; seed <= 3; ++seed) {
                    Schedule s;
                    s.points = points;
                    s.nightly = nightly;
                    s.seed = seed;
                    s.spanDays = std::max(90.0, 6 * curve.periodDays);
                    s.noise = std::string(system.inputs.name) == "grazing" ? 0.004 : 0.008;
                    const Observations o = observe(curve, s);
                    ++runs;
                    std::printf("%-15s %6zu %-6s seed %d: ", system.inputs.name, points,
                                nightly ? "ground" : "space", static_cast<int>(seed));
                    try {
                        const auto r = analysis::findPeriod(o.time, o.magnitude, {}, {},
                                                            analysis::Dimming::Magnitudes);
                        const double rel = (r.periodDays - o.periodDays) / o.periodDays;
                        double miss = r.epoch - o.minimumNear(r.epoch);
                        if (system.equalEclipses) {
                            // Either eclipse may be the deeper one within the noise.
                            const double half = o.periodDays / 2;
                            miss -= half * std::round(miss / half);
                        }
                        const bool ok = std::abs(rel) <= 1e-4;
                        found += ok;
                        halves += system.equalEclipses && std::abs(rel + 0.5) < 0.01;
                        within1 += std::abs(miss) <= r.epochError;
                        within3 += std::abs(miss) <= 3 * r.epochError;
                        std::printf("P %.6f (%+.1e%s) epoch off %+.5f = %.1f sigma%s\n",
                                    r.periodDays, rel, ok ? "" : " MISSED", miss,
                                    miss / r.epochError,
                                    r.alternativeDays ? ", alternative given" : "");
                        if (!ok) {
                            // How well the light folds on the true period and on the one
                            // found: 1 - phase dispersion on 50 bins.
                            auto score = [&](double p) {
                                return 1 - analysis::phaseDispersion(o.time, o.magnitude, p, 50);
                            };
                            std::printf("    true %.6f d scores %.4f, found %.6f d %.4f\n",
                                        o.periodDays, score(o.periodDays), r.periodDays,
                                        score(r.periodDays));
                        }
                    } catch (const analysis::PeriodSearchError& e) {
                        ++failed;
                        std::printf("no period: %s\n", e.what());
                    }
                }
            }
    }
    std::printf("\n%d light curves: period within 1e-4 in %d (%.1f %%), no period in %d, "
                "half the period for equal eclipses %d; epoch within 1 sigma %.1f %%, "
                "within 3 sigma %.1f %%\n",
                runs, found, 100.0 * found / runs, failed, halves, 100.0 * within1 / runs,
                100.0 * within3 / runs);
    return found >= 0.95 * runs && halves == 0 ? 0 : 1;
}
