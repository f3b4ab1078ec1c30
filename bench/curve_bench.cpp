// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta curve` inside the process: the table's work without the process start-up.
#include "cli/curve_command.h"

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

} // namespace
