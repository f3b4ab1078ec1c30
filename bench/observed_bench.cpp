// SPDX-License-Identifier: GPL-3.0-or-later
// Observed light curves: a file read, prepared, folded and drawn; the layer redrawn and
// composed into the window picture; and the fit's cost on every drag update beside the
// drag update itself (a preview of 4097 samples, 100 000 and 5 000 000 points); the longest
// stall of the window's event loop while a million rows load; a TESS sector's FITS file to
// points on the screen, and `orvanta inspect` on it.
#include "app/write_fits.h"
#include "cli/inspect_command.h"
#include "form1.h"
#include "qt/main_window.h"
#include "qt/observed_view.h"
#include "render/observed_overlay.h"
#include "render/raster.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
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

/// `rows` observations of the start-up system, made in memory (a file of millions of rows
/// would take longer to write than to read).
orvanta::ObservedData observedInMemory(std::size_t rows) {
    auto f = loaded();
    std::vector<double> mag;
    f->PeriodSweep([&] { mag.push_back(num(f->PowerToAll(f->PowerSum, 1)).value()); });
    const double days = f->Period.value() * 365.2425;
    orvanta::ObservedData d;
    d.name = "bench";
    d.period = days;
    d.time.resize(rows);
    d.value.resize(rows);
    d.error.assign(rows, 0.01);
    for (std::size_t i = 0; i < rows; ++i) {
        const double t = 2459000.0 + 0.0002 * static_cast<double>(i);
        const double phase = std::fmod(t - 2459000.0, days) / days;
        d.time[i] = t;
        d.value[i] = mag[static_cast<std::size_t>(phase * 793)] + 2.0 +
                     0.01 * static_cast<double>(static_cast<int>(i * 7919 % 13) - 6) / 6.0;
    }
    return d;
}

// One Ctrl-drag update with a preview of 4097 samples: without points (0), with 100 000
// observed points refolded, compared and redrawn after it (1), and with 5 000 000 (2: of
// which at most one per pixel column and row is used, target under 16 ms).
void BM_DragUpdateWithObserved(benchmark::State& state) {
    auto f = loaded();
    f->IterationNo = 4096;
    if (state.range(0) == 1) {
        f->observed.show(
            orvanta::prepareObserved(orvanta::readObserved(observedFile(100000), "b")));
        f->refreshObserved();
    } else if (state.range(0) == 2) {
        f->observed.show(orvanta::prepareObserved(observedInMemory(5'000'000)));
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
BENCHMARK(BM_DragUpdateWithObserved)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void ensureApplication() {
    if (QApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvanta_bench";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv); // never destroyed, as Qt's globals
    (void)app;
}

/// The CPU time of the calling thread, in ns.
qint64 threadCpuNs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<qint64>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

// The longest stall of the window's event loop (offscreen) while a file of 10^6 rows is
// read, prepared, shown and drawn (target under 50 ms): a 1 ms timer notes the longest gap
// between its ticks, in wall time and in the window thread's own CPU time (the work done
// in it, whatever else the machine runs). The time is the whole load, until the points are
// on the screen.
void BM_ObservedLoadStall(benchmark::State& state) {
    ensureApplication();
    const std::string path = observedFile(static_cast<int>(state.range(0)));
    orvanta::view::MainWindow window;
    window.load();
    window.show();
    QCoreApplication::processEvents();
    qint64 longest = 0, longestCpu = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        QTimer tick;
        tick.setInterval(1);
        qint64 last = 0, lastCpu = threadCpuNs();
        clock.start();
        auto note = [&](bool tick) {
            const qint64 now = clock.nsecsElapsed(), cpu = threadCpuNs();
            longest = std::max(longest, now - last);
            longestCpu = std::max(longestCpu, cpu - lastCpu);
            if (tick) {
                last = now;
                lastCpu = cpu;
            }
        };
        QObject::connect(&tick, &QTimer::timeout, [&] { note(true); });
        tick.start();
        window.openObserved(QString::fromStdString(path));
        while (window.observedLoader().busy()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            note(false);
        }
        QCoreApplication::processEvents(); // the points drawn and the picture repainted
        note(false);
    }
    state.counters["longest_stall_ms"] = static_cast<double>(longest) / 1e6;
    state.counters["longest_stall_cpu_ms"] = static_cast<double>(longestCpu) / 1e6;
}
BENCHMARK(BM_ObservedLoadStall)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

/// A TESS sector at a 2-minute cadence (18 000 cadences) of the start-up system as a FITS
/// light curve in the temporary folder; its path.
std::string tessSector() {
    const std::string path =
        (std::filesystem::temp_directory_path() / "orvanta_bench_tess.fits").string();
    if (std::filesystem::exists(path)) return path;
    auto f = loaded();
    std::vector<double> power;
    f->PeriodSweep([&] { power.push_back(f->PowerSum.value()); });
    const double days = f->Period.value() * 365.2425;
    const double top = *std::max_element(power.begin(), power.end());
    orvanta::FitsLightCurve lc;
    for (int i = 0; i < 18000; ++i) {
        const double t = 2000.0 + i / 720.0;
        const double phase = std::fmod(t, days) / days;
        const double flux = power[static_cast<std::size_t>(phase * 793)] / top;
        lc.time.push_back(i % 1000 == 500 ? NAN : t);
        lc.sapFlux.push_back(static_cast<float>(flux * 9000));
        lc.sapErr.push_back(4.0f);
        lc.pdcsapFlux.push_back(static_cast<float>(flux * 10000 * (1 + 1e-4 * (i % 7 - 3))));
        lc.pdcsapErr.push_back(4.0f);
        lc.quality.push_back(i % 997 == 3 ? 32 : 0);
    }
    orvanta::writeFitsLightCurve(path, lc);
    return path;
}

// A TESS sector from its FITS file to points on the screen (target under 50 ms).
void BM_ObservedTessFitsToScreen(benchmark::State& state) {
    const std::string path = tessSector();
    auto f = loaded();
    for (auto _ : state) {
        f->observed.show(orvanta::prepareObserved(orvanta::readObserved(path, "tess.fits")));
        f->refreshObserved();
        benchmark::DoNotOptimize(f->observed.pixels().data());
    }
}
BENCHMARK(BM_ObservedTessFitsToScreen)->Unit(benchmark::kMillisecond);

// `orvanta inspect --json` on a TESS sector (target under 100 ms of CPU).
void BM_InspectTessFits(benchmark::State& state) {
    const std::string path = tessSector();
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(orvanta::cli::runInspectCommand({path, "--json"}, out, err));
    }
}
BENCHMARK(BM_InspectTessFits)->Unit(benchmark::kMillisecond);

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
