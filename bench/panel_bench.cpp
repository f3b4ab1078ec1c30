// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis panel's Residuals page with 10^5 observed points: one redraw after a drag
// (the points thinned to the chart's pixels, the series replaced, the chart painted) must
// take at most 16 ms, 60 updates a second.
#include "analysis/eclipse_measure.h"
#include "qt/analysis_panel.h"
#include "qt/main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTabWidget>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

void ensureApplication() {
    if (QApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvanta_bench";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    (void)app;
}

void BM_ResidualPageRedraw(benchmark::State& state) {
    ensureApplication();
    orvanta::view::MainWindow window;
    window.show();
    window.load();
    window.togglePanel();
    QApplication::processEvents();
    orvanta::Form1& f = window.form();
    // The model's own light at 10^5 instants over many cycles, with a little scatter.
    const orvanta::analysis::LightCurve curve =
        orvanta::analysis::lightCurveOf(orvanta::parametersOf(f));
    orvanta::ObservedData d;
    d.name = "many.txt";
    d.brightness = orvanta::Brightness::Flux;
    d.period = curve.periodDays;
    const std::size_t n = 100'000;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t k = (i * 37) % curve.phase.size();
        d.time.push_back((static_cast<double>(i / 793) + curve.phase[k]) * curve.periodDays);
        d.value.push_back(curve.flux[k] + 0.002 * std::sin(static_cast<double>(i)));
    }
    f.observed.show(orvanta::prepareObserved(d));
    f.refreshObserved();
    window.refresh();
    auto& panel = *window.panel();
    panel.tabs()->setCurrentWidget(panel.residualPage());
    panel.updateNow();
    QApplication::processEvents();
    QChartView* view = panel.residualPage()->chartView();
    QImage canvas(view->size(), QImage::Format_ARGB32_Premultiplied);
    QElapsedTimer clock;
    double showing = 0, painting = 0;
    for (auto _ : state) {
        clock.start();
        panel.residualPage()->show(f.observed);
        showing += static_cast<double>(clock.nsecsElapsed());
        clock.start();
        QPainter painter(&canvas);
        view->render(&painter);
        painting += static_cast<double>(clock.nsecsElapsed());
    }
    state.counters["showMs"] = showing / 1e6 / static_cast<double>(state.iterations());
    state.counters["paintMs"] = painting / 1e6 / static_cast<double>(state.iterations());
    state.counters["points"] = static_cast<double>(f.observed.residuals().size());
    state.counters["drawn"] = static_cast<double>(panel.residualPage()->points()->count());
}
BENCHMARK(BM_ResidualPageRedraw)->Unit(benchmark::kMillisecond);

} // namespace
