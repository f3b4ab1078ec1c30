// SPDX-License-Identifier: GPL-3.0-or-later
// One drag update as a Ctrl drag delivers it: Main, Draw and the preview of the whole run,
// with the design-time inputs. Together with the repaint it must fit well inside a 60 Hz
// frame (target under 4 ms).
#include "form1.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Iterations per run: 0 keeps the design-time IterationNo.
void dragUpdates(benchmark::State& state, double iterations) {
    auto f = std::make_unique<orvanta::Form1>();
    f->Load();
    if (f->ErrorCount != 0) {
        state.SkipWithError(f->ErrorText.c_str());
        return;
    }
    if (iterations != 0) f->IterationNo = iterations;
    f->Form_MouseDown(orvanta::mouse::Left, orvanta::mouse::Ctrl, 400, 200);
    int step = 0;
    for (auto _ : state) {
        // Repeated 40 px sweeps: up to 10 degrees of Incline1 and 5 of Incline2.
        const auto dx = static_cast<float>(step % 40);
        f->Form_MouseMove(orvanta::mouse::Left, orvanta::mouse::Ctrl, 400 + dx, 200 + dx / 2);
        benchmark::DoNotOptimize(f->pixels().data());
        ++step;
    }
    f->Form_MouseUp(orvanta::mouse::Left, orvanta::mouse::Ctrl, 400, 200);
}

void BM_DragUpdateDefaults(benchmark::State& state) {
    dragUpdates(state, 0);
}
BENCHMARK(BM_DragUpdateDefaults)->Unit(benchmark::kMillisecond);

// A typed million steps: the preview stops at 4097 samples, so this is the worst case.
void BM_DragUpdateMillionSteps(benchmark::State& state) {
    dragUpdates(state, 1e6);
}
BENCHMARK(BM_DragUpdateMillionSteps)->Unit(benchmark::kMillisecond);

} // namespace
