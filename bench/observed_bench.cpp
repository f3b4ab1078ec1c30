// SPDX-License-Identifier: GPL-3.0-or-later
// Observed light curves: a file read, prepared, folded and drawn; the layer redrawn and
// composed into the window picture; and the fit's cost on every drag update beside the
// drag update itself (a preview of 4097 samples, 100 000 points).
#include "form1.h"
#include "render/observed_overlay.h"
#include "render/raster.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using orvanta::Form1;

std::unique_ptr<Form1> loaded() {
    auto f = std::make_unique<Form1>();
    f->Load();
    return f;
}

/// A file of `rows` observations of the start-up system over many cycles, with an error
/// column, in the temporary folder; its path.
std::string observedFile(int rows) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("orvanta_bench_" + std::to_string(rows) + ".csv"))
                                 .string();
    if (std::filesystem::exists(path)) return path;
    auto f = loaded();
    std::vector<double> mag;
    f->PeriodSweep([&] { mag.push_back(num(f->PowerToAll(f->PowerSum, 1)).value()); });
    const double days = f->Period.value() * 365.2425;
    std::ofstream out(path);
    out << "# period = " << days << " d\nHJD,V mag,error\n";
    char line[96];
    for (int i = 0; i < rows; ++i) {
        const double t = 2459000.0 + 0.01234567 * i;
        const double phase = std::fmod(t - 2459000.0, days) / days;
        const double m =
            mag[static_cast<std::size_t>(phase * 793)] + 2.0 + 0.01 * ((i * 7919) % 13 - 6) / 6.0;
        std::snprintf(line, sizeof line, "%.5f,%.4f,0.0100\n", t, m);
        out << line;
    }
    return path;
}

// Read, prepare, then show over the graph: fold, line up, compare, draw.
void BM_ObservedLoadAndDraw(benchmark::State& state) {
    const std::string path = observedFile(static_cast<int>(state.range(0)));
    auto f = loaded();
    for (auto _ : state) {
        f->observed.show(orvanta::prepareObserved(orvanta::readObserved(path, "bench.csv")));
        f->refreshObserved();
        benchmark::DoNotOptimize(f->observed.pixels().data());
    }
}
BENCHMARK(BM_ObservedLoadAndDraw)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// One Ctrl-drag update with a preview of 4097 samples: without points (0), and with
// 100 000 observed points refolded, compared and redrawn after it (1).
void BM_DragUpdateWithObserved(benchmark::State& state) {
    auto f = loaded();
    f->IterationNo = 4096;
    if (state.range(0) == 1) {
        f->observed.show(
            orvanta::prepareObserved(orvanta::readObserved(observedFile(100000), "b")));
        f->refreshObserved();
    }
    f->MouseDown(orvanta::mouse::Left, orvanta::mouse::Ctrl, 400, 200);
    int step = 0;
    for (auto _ : state) {
        const double dx = step % 40;
        f->MouseMove(orvanta::mouse::Left, orvanta::mouse::Ctrl, 400 + dx, 200 + dx / 2);
        benchmark::DoNotOptimize(f->observed.pixels().data());
        ++step;
    }
    f->MouseUp(orvanta::mouse::Left, orvanta::mouse::Ctrl, 400, 200);
}
BENCHMARK(BM_DragUpdateWithObserved)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The layer redrawn after a rescale, and composed into the window picture.
void BM_ObservedRepaint(benchmark::State& state) {
    auto f = loaded();
    f->observed.show(orvanta::prepareObserved(orvanta::readObserved(observedFile(100000), "b")));
    f->refreshObserved();
    std::vector<std::uint32_t> picture(std::size_t{orvanta::Surface::W} * orvanta::Surface::H,
                                       orvanta::screenPixel(orvanta::Black));
    const orvanta::PixelGrid grid{picture.data(), orvanta::Surface::W, orvanta::Surface::H,
                                  orvanta::Surface::W};
    const orvanta::Num mag = f->GraphMag;
    int i = 0;
    for (auto _ : state) {
        f->GraphMag = mag * (1 + 0.01 * (++i % 2)); // a new scale every time
        f->refreshObserved();
        orvanta::composeObserved(f->observed, grid);
        benchmark::DoNotOptimize(picture.data());
    }
}
BENCHMARK(BM_ObservedRepaint)->Unit(benchmark::kMillisecond);

} // namespace
