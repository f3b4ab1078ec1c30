// SPDX-License-Identifier: GPL-3.0-or-later
// The options of real stars against the uniform discs: one 793-sample sweep of the default
// system's light curve, uniform, with both stars limb-darkened (target: at most 3 times the
// uniform sweep) and with both stars' radial velocities (target: at most 10 % more).
#include "core/projected_orbit.h"
#include "form1.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace orvanta;

namespace {

std::unique_ptr<Form1> loadedForm() {
    auto f = std::make_unique<Form1>();
    f->Form_Load();
    return f;
}

void BM_SweepUniform(benchmark::State& state) {
    auto f = loadedForm();
    for (auto _ : state) {
        f->PeriodSweep([&] { benchmark::DoNotOptimize(f->PowerSum); });
    }
}
BENCHMARK(BM_SweepUniform)->Unit(benchmark::kMicrosecond);

void BM_SweepLimbDarkened(benchmark::State& state) {
    auto f = loadedForm();
    f->LightOptions.limbA = {0.6, 0};
    f->LightOptions.limbB = {0.4, 0.25};
    for (auto _ : state) {
        f->PeriodSweep([&] { benchmark::DoNotOptimize(f->PowerSum); });
    }
}
BENCHMARK(BM_SweepLimbDarkened)->Unit(benchmark::kMicrosecond);

void BM_SweepVelocities(benchmark::State& state) {
    auto f = loadedForm();
    for (auto _ : state) {
        f->PeriodSweep([&] {
            benchmark::DoNotOptimize(f->PowerSum);
            benchmark::DoNotOptimize(velocitiesNow(*f));
        });
    }
}
BENCHMARK(BM_SweepVelocities)->Unit(benchmark::kMicrosecond);

} // namespace
