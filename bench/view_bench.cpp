// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt view's timings: the repaint of the whole window offscreen (target under 2 ms) and
// a whole Plot click from the user's side (target under 8 ms).
#include "qt/canvas.h"
#include "qt/main_window.h"
#include "qt/marks.h"

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using orvanta::Form1;

// Painting text needs an application object; the library's main() makes none.
void ensureApplication() {
    if (QApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvanta_bench";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own globals may already be gone.
    static auto* app = new QApplication(argc, argv);
    (void)app;
}

// A window as it looks while the animation runs: a light curve and both orbit traces on
// the surface, both stars showing, the marks on the curve.
void drawScene(Form1& f) {
    for (int x = 0; x < 794; ++x) {
        const double dip = std::exp(-std::pow((x - 396) / 30.0, 2));
        f.Line(static_cast<float>(x), static_cast<float>(60 + 280 * dip), 0xFFFFFF);
    }
    for (int i = 0; i <= 100; ++i) {
        const double a = 2 * 3.14159265358979 * i / 100;
        f.PSet(static_cast<float>(400 + 150 * std::cos(a)),
               static_cast<float>(240 + 30 * std::sin(a)), 0x0000FF);
        f.PSet(static_cast<float>(400 + 60 * std::cos(a)),
               static_cast<float>(240 + 12 * std::sin(a)), 0xFF0000);
    }
    f.StarBTop.Visible = true;
    f.StarBTop.Left = 110;
    f.RedDot.Width = f.RedDot.Height = 8;
    f.Centre.Width = f.Centre.Height = 4;
}

// Recomposes the full window picture from the model: background, surface and marks.
void BM_ComposeWholeWindow(benchmark::State& state) {
    ensureApplication();
    Form1 form;
    drawScene(form);
    const orvanta::view::Pictures pictures = orvanta::view::Pictures::load();
    QImage base, picture;
    for (auto _ : state) {
        orvanta::view::composeBase(form, pictures.background, base);
        picture = base.copy();
        orvanta::view::paintMarks(picture, orvanta::marksIn(form), pictures);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_ComposeWholeWindow)->Unit(benchmark::kMicrosecond);

// One animation step as the view sees it: the marks moved, the surface unchanged.
void BM_RefreshAfterAStep(benchmark::State& state) {
    ensureApplication();
    orvanta::view::MainWindow window;
    Form1& f = window.form();
    drawScene(f);
    window.refresh();
    double x = 0;
    for (auto _ : state) {
        x = x >= 793 ? 0 : x + 1;
        f.Line2.X1 = f.Line2.X2 = x;
        f.RedDot.Left = x - 4;
        f.StarA.Left = 24 + x / 20;
        window.refresh();
    }
}
BENCHMARK(BM_RefreshAfterAStep)->Unit(benchmark::kMicrosecond);

void click(QWidget* at, QPoint where) {
    const QPointF local(where), global(at->mapToGlobal(where));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(at, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(at, &release);
}

// A click on "Plot" as the user makes it: the mouse events on the menu label, the model's
// Plot_Click, then the view's refresh with the recomposed picture.
void BM_PlotClickWithRepaint(benchmark::State& state) {
    ensureApplication();
    orvanta::view::MainWindow window;
    window.load();
    const Form1& f = window.form();
    const QPoint plot(static_cast<int>(f.Plot.Left) + 20, static_cast<int>(f.Plot.Top) + 7);
    const unsigned start = window.canvas()->compositions();
    const unsigned long long mainCalls = f.MainCalls;
    for (auto _ : state)
        click(window.canvas(), plot);
    const auto clicks = static_cast<double>(state.iterations());
    state.counters["RepaintsPerClick"] =
        static_cast<double>(window.canvas()->compositions() - start) / clicks;
    state.counters["MainPerClick"] = static_cast<double>(f.MainCalls - mainCalls) / clicks;
}
BENCHMARK(BM_PlotClickWithRepaint)->Unit(benchmark::kMillisecond);

// One mouse move of a Ctrl drag as the user makes it: the event on the window surface, the
// model's drag update (Main, Draw, the preview of the whole run), then the repaint.
void BM_DragMoveWithRepaint(benchmark::State& state) {
    ensureApplication();
    orvanta::view::MainWindow window;
    window.load();
    QWidget* at = window.canvas();
    const QPoint start(300, 100);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(start), at->mapToGlobal(QPointF(start)),
                      Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(at, &press);
    const unsigned compositions = window.canvas()->compositions();
    int step = 0;
    for (auto _ : state) {
        const QPointF where(300 + (step % 40), 100 + (step % 20));
        ++step;
        QMouseEvent move(QEvent::MouseMove, where, at->mapToGlobal(where), Qt::NoButton,
                         Qt::LeftButton, Qt::ControlModifier);
        QApplication::sendEvent(at, &move);
    }
    state.counters["RepaintsPerMove"] =
        static_cast<double>(window.canvas()->compositions() - compositions) /
        static_cast<double>(state.iterations());
    const QPointF end(300, 100);
    QMouseEvent release(QEvent::MouseButtonRelease, end, at->mapToGlobal(end), Qt::LeftButton,
                        Qt::NoButton, Qt::ControlModifier);
    QApplication::sendEvent(at, &release);
}
BENCHMARK(BM_DragMoveWithRepaint)->Unit(benchmark::kMillisecond);

} // namespace
