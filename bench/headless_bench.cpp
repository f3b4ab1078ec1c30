// SPDX-License-Identifier: GPL-3.0-or-later
// The light curve without a window: a parameter set to the graph's sweep, beside the window's
// own sweep (BM_MainSweep in model_bench.cpp), and on two threads at once.
#include "form1.h"
#include "physics/evaluator.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace orvanta;

namespace {

/// The design-time inputs as the window reads them, at the eccentricity e.
Parameters designParameters(double e) {
    auto f = std::make_unique<Form1>();
    f->Form_Load();
    Parameters p = parametersOf(*f);
    p.eccentricity = e;
    return p;
}

// A parameter set to the 794 samples of one sweep (793 steps), the evaluator's construction
// included, at the eccentricity range(0) / 10 as BM_MainSweep.
void BM_HeadlessCurve793(benchmark::State& state) {
    const Parameters p = designParameters(static_cast<double>(state.range(0)) / 10);
    for (auto _ : state) {
        Evaluator ev(p);
        benchmark::DoNotOptimize(ev.sweep());
    }
}
BENCHMARK(BM_HeadlessCurve793)->Arg(0)->Arg(3)->Arg(9)->Unit(benchmark::kMicrosecond);

// The same on one and on two threads, each with its own evaluator: items per second is the
// throughput in sweeps.
void BM_HeadlessCurveThreads(benchmark::State& state) {
    const Parameters p = designParameters(0.3);
    for (auto _ : state) {
        Evaluator ev(p);
        benchmark::DoNotOptimize(ev.sweep());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HeadlessCurveThreads)
    ->Threads(1)
    ->Threads(2)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
