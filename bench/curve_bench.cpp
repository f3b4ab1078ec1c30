// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta curve` inside the process: the table's work without the process start-up.
#include "cli/curve_command.h"
#include "render/curve_table.h"
#include "ui/window_controls.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace {

void BM_CurveCommand(benchmark::State& state) {
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(orvanta::cli::runCurveCommand({}, out, err));
    }
}
BENCHMARK(BM_CurveCommand)->Unit(benchmark::kMicrosecond);

// The 793-sample table of the default boxes: uniform discs, both stars limb-darkened (target:
// at most 3 times the uniform one), and with both stars' velocities (at most 10 % more).
void curveTable(benchmark::State& state, const orvanta::CurveOptions& options) {
    const orvanta::Controls boxes;
    for (auto _ : state)
        benchmark::DoNotOptimize(orvanta::LightCurveTable(boxes, options));
}
void BM_CurveUniform(benchmark::State& state) {
    curveTable(state, {});
}
void BM_CurveLimbDarkened(benchmark::State& state) {
    orvanta::CurveOptions o;
    o.light.limbA = {0.6, 0};
    o.light.limbB = {0.4, 0.25};
    curveTable(state, o);
}
void BM_CurveVelocities(benchmark::State& state) {
    orvanta::CurveOptions o;
    o.velocities = true;
    curveTable(state, o);
}
BENCHMARK(BM_CurveUniform)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CurveLimbDarkened)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CurveVelocities)->Unit(benchmark::kMicrosecond);

} // namespace
