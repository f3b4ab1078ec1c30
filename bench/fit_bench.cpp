// SPDX-License-Identifier: GPL-3.0-or-later
// The least-squares fit: 1000 points made by the model with noise and three outliers, six
// free parameters from starts 10-20 % off, to convergence (every start the fit tries).
#include "../tests/fit/synthetic.h"
#include "fit/least_squares.h"

#include <benchmark/benchmark.h>

namespace {

void BM_FitThousandPointsSixFree(benchmark::State& state) {
    const auto truth = orvanta::fittest::hiddenSystem();
    const orvanta::fit::Observations data = orvanta::fittest::synthetic(*truth, 1000, 0.01, 3, 1);
    orvanta::fit::BoxModel model(
        *truth, {"radius-a", "radius-b", "temperature-b", "eccentricity", "incline2", "incline3"});
    // radius-a 2.6, radius-b 3.1, temperature-b 4800, eccentricity 0.15, incline2 -4,
    // incline3 30.
    const std::vector<double> start{2.9, 2.7, 5500, 0.18, -4.7, 35};
    int iterations = 0;
    for (auto _ : state) {
        const orvanta::fit::FitResult r = orvanta::fit::fitCurve(model, start, data);
        iterations = r.iterations;
        benchmark::DoNotOptimize(r.values.data());
    }
    state.counters["iterations"] = iterations;
}
BENCHMARK(BM_FitThousandPointsSixFree)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
