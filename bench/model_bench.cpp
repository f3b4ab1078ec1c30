// SPDX-License-Identifier: GPL-3.0-or-later
// Model-side timings of drawing the picture and stepping the animation, with the bare
// physics beside them for the ratios in bench/README.md.
#include "form1.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace orvanta;

namespace {

std::unique_ptr<Form1> loadedForm() {
    auto f = std::make_unique<Form1>();
    f->Form_Load();
    return f;
}

// The same Main calls as one PlotNow with the defaults: the snapped time, Time 0, the
// sweep's 793 samples and Period.
void BM_MainAlone_PlotNowCount(benchmark::State& state) {
    auto f = loadedForm();
    for (auto _ : state) {
        f->Time = 0;
        f->Main();
        f->Main();
        f->PeriodSweep([] {});
        f->Time = f->Period;
        f->Main();
        f->Time = 0;
        benchmark::DoNotOptimize(f->PowerSum);
    }
}
BENCHMARK(BM_MainAlone_PlotNowCount)->Unit(benchmark::kMicrosecond);

// One period sweep of Main (794 samples) at the eccentricity range(0) / 10, the other inputs
// as designed.
void BM_MainSweep(benchmark::State& state) {
    auto f = loadedForm();
    f->Eccen = static_cast<double>(state.range(0)) / 10;
    for (auto _ : state) {
        f->PeriodSweep([] {});
        benchmark::DoNotOptimize(f->PowerSum);
    }
}
BENCHMARK(BM_MainSweep)->Arg(0)->Arg(3)->Arg(9)->Unit(benchmark::kMicrosecond);

// The floor beside it: the same sweep's Kepler solutions by 100 bare Newton steps each, in
// plain doubles, warm-started from the previous sample.
void BM_NewtonFloorSweep(benchmark::State& state) {
    auto f = loadedForm();
    const double e = static_cast<double>(state.range(0)) / 10;
    const double period = f->Period.value(), motion = f->MeanMotion.value();
    double E = 0;
    for (auto _ : state) {
        for (double t = 0; t <= period; t += period / 793) {
            const double M = motion * t;
            for (int i = 0; i < 100; ++i)
                E = E - ((M + e * std::sin(E)) - E) / (e * std::cos(E) - 1);
            benchmark::DoNotOptimize(E);
        }
    }
}
BENCHMARK(BM_NewtonFloorSweep)->Arg(0)->Arg(3)->Arg(9)->Unit(benchmark::kMicrosecond);

void BM_PlotNow_Defaults(benchmark::State& state) {
    auto f = loadedForm();
    const auto before = f->MainCalls;
    for (auto _ : state) {
        f->PlotNow();
        benchmark::DoNotOptimize(f->pixels().data());
    }
    state.counters["MainPerCall"] = benchmark::Counter(static_cast<double>(f->MainCalls - before),
                                                       benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PlotNow_Defaults)->Unit(benchmark::kMicrosecond);

// One animation step: Main and Draw, walking the default 100-step orbit.
void BM_Timer1_Timer(benchmark::State& state) {
    auto f = loadedForm();
    for (auto _ : state) {
        f->Timer1_Timer();
        benchmark::DoNotOptimize(f->Label47.Caption.data());
    }
}
BENCHMARK(BM_Timer1_Timer)->Unit(benchmark::kMicrosecond);

void BM_AutoGraphMag(benchmark::State& state) {
    auto f = loadedForm();
    f->List3.TopIndex = static_cast<int>(state.range(0));
    for (auto _ : state) {
        f->AutoGraphMag();
        benchmark::DoNotOptimize(f->GraphMag);
    }
    state.SetLabel(state.range(0) == 0 ? "power" : "magnitude");
}
BENCHMARK(BM_AutoGraphMag)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A whole Plot click on the model side: parameter input, both fits and PlotNow.
void BM_Plot_Click(benchmark::State& state) {
    auto f = loadedForm();
    for (auto _ : state) {
        f->Plot_Click();
        benchmark::DoNotOptimize(f->pixels().data());
    }
}
BENCHMARK(BM_Plot_Click)->Unit(benchmark::kMicrosecond);

} // namespace
