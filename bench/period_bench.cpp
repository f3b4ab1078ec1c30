// SPDX-License-Identifier: GPL-3.0-or-later
// The period search on model-made light curves over 90 days: 10^4 and 10^5 points with the
// default range, and how the cost grows with the points and with the range searched.
#include "analysis/period_search.h"

#include "../tests/model/synthetic_systems.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

using namespace orvanta::testing;

/// Near-twins (1.16 d) observed from the ground over 90 days, kept between runs.
const Observations& observations(std::size_t points) {
    static std::map<std::size_t, Observations> made;
    auto found = made.find(points);
    if (found == made.end()) {
        static const ModelCurve curve = modelCurve(Systems[2].inputs);
        Schedule s;
        s.points = points;
        s.spanDays = 90;
        found = made.emplace(points, observe(curve, s)).first;
    }
    return found->second;
}

void search(benchmark::State& state, std::size_t points, orvanta::analysis::PeriodRange range) {
    const Observations& o = observations(points);
    double period = 0;
    for (auto _ : state) {
        period = orvanta::analysis::findPeriod(o.time, o.magnitude, range).periodDays;
        benchmark::DoNotOptimize(period);
    }
    state.counters["period_days"] = period;
}

void BM_PeriodSearch_10k_90d(benchmark::State& state) {
    search(state, 10'000, {});
}
BENCHMARK(BM_PeriodSearch_10k_90d)->Unit(benchmark::kMillisecond);

void BM_PeriodSearch_100k_90d(benchmark::State& state) {
    search(state, 100'000, {});
}
BENCHMARK(BM_PeriodSearch_100k_90d)->Unit(benchmark::kMillisecond);

/// The default range (0.2 to 45 d) with 1 000 to 100 000 points.
void BM_PeriodSearchPoints(benchmark::State& state) {
    search(state, static_cast<std::size_t>(state.range(0)), {});
}
BENCHMARK(BM_PeriodSearchPoints)
    ->Arg(1'000)
    ->Arg(3'000)
    ->Arg(10'000)
    ->Arg(30'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);

/// 10 000 points, the shortest period searched 1.6, 0.8, 0.4, 0.2 and 0.1 d (the longest
/// 45 d): the frequencies searched double each time.
void BM_PeriodSearchRange(benchmark::State& state) {
    search(state, 10'000, {1.6 / static_cast<double>(state.range(0)), 45.0});
}
BENCHMARK(BM_PeriodSearchRange)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond);

} // namespace
