// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/analysis_panel.h"

#include "fit/least_squares.h"
#include "fit/velocity_fit.h"
#include "physics/checked.h"
#include "physics/orbit.h"
#include "qt/main_window.h"
#include "qt/period_view.h"
#include "render/thin_points.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace orvanta::view {

namespace {

QChart* newChart(QChartView*& view, QWidget* parent, const QString& x, const QString& y,
                 QValueAxis*& xAxis, QValueAxis*& yAxis, QChartView* made = nullptr) {
    auto* chart = new QChart;
    chart->legend()->setVisible(false);
    chart->setMargins(QMargins(2, 2, 2, 2));
    if (made != nullptr) {
        // A chart view comes with a chart of its own, which it no longer owns once replaced.
        QChart* own = made->chart();
        made->setChart(chart);
        delete own;
        view = made;
    } else {
        view = new QChartView(chart, parent);
    }
    view->setMinimumSize(260, 200);
    xAxis = new QValueAxis;
    yAxis = new QValueAxis;
    xAxis->setTitleText(x);
    yAxis->setTitleText(y);
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    return chart;
}

template <class Series> Series* addSeries(QChart* chart, QValueAxis* x, QValueAxis* y) {
    auto* s = new Series;
    chart->addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
    return s;
}

void scaleChart(QChart* chart, double scale) {
    QFont font = QApplication::font();
    font.setPixelSize(std::max(9, static_cast<int>(std::lround(11 * scale))));
    for (QAbstractAxis* axis : chart->axes()) {
        axis->setLabelsFont(font);
        axis->setTitleFont(font);
    }
    const double width = std::max(1.0, 1.5 * scale);
    for (QAbstractSeries* s : chart->series()) {
        if (auto* scatter = qobject_cast<QScatterSeries*>(s)) {
            scatter->setMarkerSize(std::max(3.0, 4 * scale));
            scatter->setPen(Qt::NoPen);
        } else if (auto* line = qobject_cast<QLineSeries*>(s); line && line->pointsVisible()) {
            // Markers only, no line between; a square picture of the marker is drawn fastest.
            const double size = std::max(3.0, 4 * scale);
            line->setMarkerSize(size);
            QImage marker(static_cast<int>(size), static_cast<int>(size),
                          QImage::Format_ARGB32_Premultiplied);
            marker.fill(line->color());
            line->setLightMarker(marker);
            QPen pen = line->pen();
            pen.setStyle(Qt::NoPen);
            line->setPen(pen);
        } else if (line != nullptr) {
            QPen pen = line->pen();
            pen.setWidthF(width);
            line->setPen(pen);
        }
    }
}

QList<QPointF> pointsOf(const std::vector<double>& x, const std::vector<double>& y) {
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(x.size()));
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i)
        if (std::isfinite(x[i]) && std::isfinite(y[i])) points.append(QPointF(x[i], y[i]));
    return points;
}

QString shown(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

// ---- Residuals ----------------------------------------------------------------------------

ResidualPage::ResidualPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("residualPage"));
    chart_ = newChart(view_, this, tr("phase"), tr("observed − model"), x_, y_);
    view_->setObjectName(QStringLiteral("residualChart"));
    points_ = addSeries<QLineSeries>(chart_, x_, y_);
    points_->setColor(QColor(0x20, 0x60, 0xC0));
    points_->setPointsVisible(true);
    outliers_ = addSeries<QScatterSeries>(chart_, x_, y_);
    outliers_->setColor(Qt::red);
    outliers_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    // Many points draw fastest into one cached picture of the plot area.
    points_->setUseOpenGL(false);
    chart_->setAnimationOptions(QChart::NoAnimation);
    view_->setRenderHint(QPainter::Antialiasing, false);
    x_->setRange(0, 1);
    figures_ = new QLabel(this);
    figures_->setObjectName(QStringLiteral("residualFigures"));
    figures_->setTextFormat(Qt::PlainText);
    figures_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addWidget(figures_);
    applyScale(1);
}

void ResidualPage::show(const ObservedOverlay& overlay) {
    const std::vector<double>& phase = overlay.alignedPhase();
    const std::vector<double>& r = overlay.residuals();
    const std::vector<bool>& out = overlay.outliers();
    const std::optional<RobustFigures>& f = overlay.figures();
    if (!f || r.size() != phase.size()) {
        points_->clear();
        outliers_->clear();
        figures_->clear();
        return;
    }
    // The range: the points kept, with room around them; outliers beyond it sit on its edge.
    double low = 0, high = 0;
    for (std::size_t i = 0; i < r.size(); ++i)
        if (!out[i] && std::isfinite(r[i])) {
            low = std::min(low, r[i]);
            high = std::max(high, r[i]);
        }
    const double pad = high > low ? (high - low) * 0.05 : 1e-3;
    low -= pad;
    high += pad;
    keptX_.clear();
    keptY_.clear();
    outX_.clear();
    outY_.clear();
    for (std::size_t i = 0; i < r.size(); ++i) {
        if (out[i]) {
            outX_.push_back(phase[i]);
            outY_.push_back(std::clamp(r[i], low, high));
        } else {
            keptX_.push_back(phase[i]);
            keptY_.push_back(r[i]);
        }
    }
    // One point to a pixel at most; a marker covers several pixels, and more points under
    // one marker would not show apart either: the grid's cells are a marker wide.
    const QRectF area = chart_->plotArea();
    const double cell = std::max(1.0, points_->markerSize());
    PixelBox box{0, 1, low, high, 1, 1};
    box.width = std::max(1, static_cast<int>(area.width() / cell));
    box.height = std::max(1, static_cast<int>(area.height() / cell));
    auto thinned = [&](const std::vector<double>& x, const std::vector<double>& y) {
        QList<QPointF> points;
        const std::vector<std::size_t> kept = thinToPixels(x, y, box);
        points.reserve(static_cast<qsizetype>(kept.size()));
        for (std::size_t i : kept)
            points.append(QPointF(x[i], y[i]));
        return points;
    };
    y_->setRange(low, high);
    points_->replace(thinned(keptX_, keptY_));
    outliers_->replace(thinned(outX_, outY_));
    const std::string unit = overlay.inMagnitudes() ? "mag" : "flux";
    y_->setTitleText(overlay.inMagnitudes() ? tr("observed − model (mag)")
                                            : tr("observed − model (relative flux)"));
    QString text = tr("%1 points, robust rms %2 %3, %4 outliers beyond %5 robust sigma")
                       .arg(f->points)
                       .arg(shown(figure(f->robustRms)), shown(unit))
                       .arg(f->outliers)
                       .arg(OutlierSigmas);
    if (f->chi2Reduced) text += tr(", χ²ᵣ %1").arg(shown(figure(*f->chi2Reduced)));
    figures_->setText(text);
}

void ResidualPage::applyScale(double scale) {
    scaleChart(chart_, scale);
}

// ---- Period -------------------------------------------------------------------------------

PeriodPage::PeriodPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("periodPage"));
    periodogramChart_ = newChart(periodogramView_, this, tr("period (days)"),
                                 tr("score (variance explained)"), px_, py_);
    periodogramView_->setObjectName(QStringLiteral("periodogramChart"));
    periodogram_ = addSeries<QLineSeries>(periodogramChart_, px_, py_);
    periodogram_->setColor(QColor(0x30, 0x50, 0xC0));
    chosen_ = addSeries<QLineSeries>(periodogramChart_, px_, py_);
    chosen_->setColor(QColor(0xD0, 0x20, 0x20));
    candidates_ = addSeries<QScatterSeries>(periodogramChart_, px_, py_);
    candidates_->setColor(QColor(0xE0, 0x80, 0x20));
    py_->setRange(0, 1);
    minimaChart_ = newChart(minimaView_, this, tr("cycle"), tr("O − C (minutes)"), mx_, my_);
    minimaView_->setObjectName(QStringLiteral("minimaChart"));
    oMinusC_ = addSeries<QScatterSeries>(minimaChart_, mx_, my_);
    oMinusC_->setColor(QColor(0x20, 0x80, 0x20));
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("periodNote"));
    note_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(periodogramView_, 1);
    layout->addWidget(minimaView_, 1);
    layout->addWidget(note_);
    applyScale(1);
}

void PeriodPage::show(const FoundPeriod& found) {
    const analysis::PeriodResult& r = found.result;
    QList<QPointF> points;
    double low = 0, high = 0;
    for (const analysis::PeriodPeak& p : r.periodogram) {
        points.append(QPointF(p.periodDays, p.score));
        low = low == 0 ? p.periodDays : std::min(low, p.periodDays);
        high = std::max(high, p.periodDays);
    }
    periodogram_->replace(points);
    QList<QPointF> peaks;
    for (const analysis::PeriodPeak& p : r.peaks)
        peaks.append(QPointF(p.periodDays, p.score));
    candidates_->replace(peaks);
    const double period = found.periodDays();
    chosen_->replace({QPointF(period, 0), QPointF(period, 1)});
    if (high > low) px_->setRange(low, high);
    QList<QPointF> minima;
    double spread = 0;
    for (const analysis::ObservedMinimum& m : r.minima) {
        minima.append(QPointF(m.cycle, m.oMinusC * 24 * 60));
        spread = std::max(spread, std::fabs(m.oMinusC * 24 * 60) + m.error * 24 * 60);
    }
    oMinusC_->replace(minima);
    if (!r.minima.empty()) mx_->setRange(r.minima.front().cycle - 1, r.minima.back().cycle + 1);
    my_->setRange(-std::max(spread, 1e-3) * 1.1, std::max(spread, 1e-3) * 1.1);
    QString text = tr("Period %1 ± %2 d, epoch %3 ± %4; %5 minima timed")
                       .arg(shown(figure(period)), shown(figure(r.periodErrorDays)),
                            QString::number(r.epoch, 'f', 5), shown(figure(r.epochError)))
                       .arg(r.minima.size());
    if (r.alternativeDays)
        text += tr("; or %1 d (Ctrl+Alt+P)")
                    .arg(shown(figure(found.alternativeInUse ? r.periodDays : *r.alternativeDays)));
    note_->setText(text);
}

void PeriodPage::applyScale(double scale) {
    scaleChart(periodogramChart_, scale);
    scaleChart(minimaChart_, scale);
}

// ---- Velocities ---------------------------------------------------------------------------

VelocityPage::VelocityPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("velocityPage"));
    chart_ = newChart(view_, this, tr("phase"), tr("radial velocity (km/s)"), x_, y_);
    view_->setObjectName(QStringLiteral("velocityChart"));
    curveA_ = addSeries<QLineSeries>(chart_, x_, y_);
    curveA_->setName(tr("star A"));
    curveA_->setColor(QColor(0xC0, 0x30, 0x30));
    curveB_ = addSeries<QLineSeries>(chart_, x_, y_);
    curveB_->setName(tr("star B"));
    curveB_->setColor(QColor(0x30, 0x50, 0xC0));
    observedA_ = addSeries<QScatterSeries>(chart_, x_, y_);
    observedA_->setColor(QColor(0xC0, 0x30, 0x30));
    observedB_ = addSeries<QScatterSeries>(chart_, x_, y_);
    observedB_->setColor(QColor(0x30, 0x50, 0xC0));
    observedB_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    chart_->legend()->setVisible(true);
    chart_->legend()->markers(observedA_).front()->setVisible(false);
    chart_->legend()->markers(observedB_).front()->setVisible(false);
    x_->setRange(0, 1);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("velocityNote"));
    note_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addWidget(note_);
    applyScale(1);
}

void VelocityPage::showModel(const analysis::VelocityCurve& c) {
    curveA_->replace(pointsOf(c.phase, c.a));
    curveB_->replace(pointsOf(c.phase, c.b));
    fitAxes();
}

void VelocityPage::setObserved(const std::vector<double>& phase, const std::vector<double>& rvA,
                               const std::vector<double>& rvB, const std::vector<double>& errorA,
                               const std::vector<double>& errorB) {
    observedA_->replace(pointsOf(phase, rvA));
    observedB_->replace(pointsOf(phase, rvB));
    auto typical = [](const std::vector<double>& e) {
        std::vector<double> finite;
        for (double v : e)
            if (std::isfinite(v) && v > 0) finite.push_back(v);
        return finite.empty() ? 0.0 : medianOf(finite);
    };
    if (phase.empty()) {
        note_->clear();
        fitAxes();
        return;
    }
    QString text = tr("Observed: %1 velocities of A, %2 of B")
                       .arg(observedA_->count())
                       .arg(observedB_->count());
    if (typical(errorA) > 0 || typical(errorB) > 0)
        text += tr(" (typical error %1 and %2 km/s)")
                    .arg(shown(figure(typical(errorA))), shown(figure(typical(errorB))));
    note_->setText(text);
    fitAxes();
}

void VelocityPage::fitAxes() {
    double low = 0, high = 0;
    for (const QXYSeries* s :
         {static_cast<QXYSeries*>(curveA_), static_cast<QXYSeries*>(curveB_),
          static_cast<QXYSeries*>(observedA_), static_cast<QXYSeries*>(observedB_)})
        for (const QPointF& p : s->points()) {
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
    const double pad = high > low ? (high - low) * 0.05 : 1;
    y_->setRange(low - pad, high + pad);
}

void VelocityPage::applyScale(double scale) {
    scaleChart(chart_, scale);
}

// ---- Fit ----------------------------------------------------------------------------------

FitPage::FitPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("fitPage"));
    parameters_ = new QTableWidget(0, 4, this);
    parameters_->setObjectName(QStringLiteral("fitParameters"));
    parameters_->setHorizontalHeaderLabels({tr("parameter"), tr("value"), tr("error"), tr("note")});
    parameters_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    parameters_->horizontalHeader()->setStretchLastSection(true);
    correlations_ = new QTableWidget(this);
    correlations_->setObjectName(QStringLiteral("fitCorrelations"));
    correlations_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("fitSummary"));
    summary_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(parameters_, 2);
    layout->addWidget(new QLabel(tr("Correlations (blue −1, white 0, red +1)"), this));
    layout->addWidget(correlations_, 2);
    layout->addWidget(summary_);
}

void FitPage::show(const fit::FitResult& r) {
    const int n = static_cast<int>(r.parameters.size());
    parameters_->setRowCount(n);
    QStringList names;
    for (int i = 0; i < n; ++i) {
        const fit::ParameterResult& p = r.parameters[static_cast<std::size_t>(i)];
        names << shown(p.name);
        parameters_->setItem(i, 0, new QTableWidgetItem(shown(p.name)));
        parameters_->setItem(i, 1, new QTableWidgetItem(shown(figure(p.value))));
        parameters_->setItem(i, 2,
                             new QTableWidgetItem(p.error ? shown(figure(*p.error)) : QString()));
        parameters_->setItem(i, 3, new QTableWidgetItem(shown(p.note)));
    }
    correlations_->setRowCount(n);
    correlations_->setColumnCount(n);
    correlations_->setHorizontalHeaderLabels(names);
    correlations_->setVerticalHeaderLabels(names);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            auto* cell = new QTableWidgetItem(i == j ? QStringLiteral("1") : QString());
            cell->setBackground(i == j ? QColor(0xC0, 0x40, 0x40) : QColor(0xE0, 0xE0, 0xE0));
            correlations_->setItem(i, j, cell);
        }
    for (const fit::FitResult::Correlation& c : r.correlations) {
        const auto i = static_cast<int>(c.i), j = static_cast<int>(c.j);
        if (i >= n || j >= n) continue;
        // White at 0, towards red for +1 and blue for -1.
        const double v = std::clamp(c.value, -1.0, 1.0);
        const int fade = static_cast<int>(std::lround(255 * (1 - std::fabs(v))));
        const QColor colour = v >= 0 ? QColor(255, fade, fade) : QColor(fade, fade, 255);
        for (auto [a, b] : {std::pair{i, j}, std::pair{j, i}}) {
            correlations_->item(a, b)->setText(shown(figure(c.value)));
            correlations_->item(a, b)->setBackground(colour);
        }
    }
    QString text = tr("%1 points, %2 outliers, rms %3, robust rms %4")
                       .arg(r.points)
                       .arg(r.outliers)
                       .arg(shown(figure(r.rms)), shown(figure(r.robustRms)));
    if (r.chi2Reduced) text += tr(", χ²ᵣ %1").arg(shown(figure(*r.chi2Reduced)));
    text += tr("; %1 other starts came close").arg(r.alternatives.size());
    for (const fit::Alternative& a : r.alternatives)
        text += tr(" (cost ×%1)").arg(shown(figure(a.chi2Ratio)));
    summary_->setText(text);
}

// ---- Measure ------------------------------------------------------------------------------

/// The chart of the Measure page: a click or drag places the selected cursor, the arrow
/// keys move it by one sample.
class MeasureChart : public QChartView {
public:
    explicit MeasureChart(MeasurePage& page) : QChartView(&page), page_(page) {
        setFocusPolicy(Qt::StrongFocus);
        setRubberBand(QChartView::NoRubberBand);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { place(event); }
    void mouseMoveEvent(QMouseEvent* event) override {
        if ((event->buttons() & Qt::LeftButton) != 0) place(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
            page_.stepSelected(event->key() == Qt::Key_Left ? -1 : 1);
            event->accept();
            return;
        }
        QChartView::keyPressEvent(event);
    }

private:
    void place(QMouseEvent* event) {
        setFocus(Qt::MouseFocusReason);
        const QPointF value = chart()->mapToValue(event->position());
        page_.setCursor(page_.selected(), page_.placed(value.x()));
        event->accept();
    }
    MeasurePage& page_;
};

MeasurePage::MeasurePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("measurePage"));
    view_ = new MeasureChart(*this);
    QChartView* view = nullptr;
    QValueAxis *x = nullptr, *y = nullptr;
    QChart* chart = newChart(view, this, tr("phase"), tr("light (relative)"), x, y, view_);
    view_->setObjectName(QStringLiteral("measureChart"));
    x->setRange(0, 1);
    y->setRange(0, 1.05);
    observed_ = addSeries<QLineSeries>(chart, x, y);
    observed_->setColor(QColor(0xC0, 0x40, 0xC0));
    observed_->setPointsVisible(true);
    curve_ = addSeries<QLineSeries>(chart, x, y);
    curve_->setColor(Qt::black);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("cursorList"));
    const QStringList names = {tr("primary: first contact"),   tr("primary: second contact"),
                               tr("primary: third contact"),   tr("primary: last contact"),
                               tr("secondary: first contact"), tr("secondary: last contact")};
    const QColor colours[CursorCount] = {QColor(0xD0, 0x20, 0x20), QColor(0xE0, 0x80, 0x20),
                                         QColor(0xE0, 0x80, 0x20), QColor(0xD0, 0x20, 0x20),
                                         QColor(0x20, 0x80, 0x20), QColor(0x20, 0x80, 0x20)};
    for (int c = 0; c < CursorCount; ++c) {
        list_->addItem(names[c]);
        auto* line = addSeries<QLineSeries>(chart, x, y);
        line->setColor(colours[c]);
        lines_.push_back(line);
    }
    list_->setCurrentRow(0);
    list_->setMaximumHeight(list_->sizeHintForRow(0) * (CursorCount + 1));
    snap_ = new QCheckBox(tr("Snap to the model's contacts"), this);
    snap_->setObjectName(QStringLiteral("snapToContacts"));
    snap_->setChecked(false);
    results_ = new QTableWidget(0, 3, this);
    results_->setObjectName(QStringLiteral("measureResults"));
    results_->setHorizontalHeaderLabels({tr("quantity"), tr("measured"), tr("model")});
    results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    results_->horizontalHeader()->setStretchLastSection(true);
    results_->verticalHeader()->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 2);
    auto* row = new QHBoxLayout;
    row->addWidget(list_, 1);
    row->addWidget(snap_);
    layout->addLayout(row);
    layout->addWidget(results_, 2);
    for (int c = 0; c < CursorCount; ++c)
        setCursor(static_cast<Cursor>(c), cursors_[c]);
    applyScale(1);
}

QChartView* MeasurePage::chartView() const {
    return view_;
}

MeasurePage::Cursor MeasurePage::selected() const {
    const int row = list_->currentRow();
    return row >= 0 && row < CursorCount ? static_cast<Cursor>(row) : PrimaryFirst;
}

void MeasurePage::selectCursor(Cursor which) {
    list_->setCurrentRow(which);
}

double MeasurePage::placed(double phase) const {
    phase -= std::floor(phase);
    if (!snap_->isChecked()) return phase;
    std::vector<double> at;
    for (const auto& c : {contacts_.primary, contacts_.secondary}) {
        if (!c) continue;
        at.insert(at.end(), {c->first, c->last});
        if (c->second) at.push_back(*c->second);
        if (c->third) at.push_back(*c->third);
    }
    double best = phase, distance = 2;
    for (double p : at) {
        const double d = std::min(analysis::phaseSpan(phase, p), analysis::phaseSpan(p, phase));
        if (d < distance) {
            distance = d;
            best = p;
        }
    }
    return best;
}

void MeasurePage::setCursor(Cursor which, double phase) {
    cursors_[which] = phase - std::floor(phase);
    lines_[static_cast<std::size_t>(which)]->replace(
        {QPointF(cursors_[which], 0), QPointF(cursors_[which], 1.05)});
    remeasure();
}

void MeasurePage::stepSelected(int samples) {
    setCursor(selected(), cursors_[selected()] + samples * (1.0 / SweepSteps));
}

analysis::Cursors MeasurePage::cursors() const {
    analysis::Cursors c;
    c.primary = {cursors_[PrimaryFirst], cursors_[PrimaryLast], cursors_[PrimarySecond],
                 cursors_[PrimaryThird]};
    c.secondary = {cursors_[SecondaryFirst], cursors_[SecondaryLast], std::nullopt, std::nullopt};
    return c;
}

void MeasurePage::showModel(const analysis::LightCurve& curve,
                            const analysis::ModelFigures& figures, const ObservedOverlay* overlay) {
    light_ = curve;
    model_ = figures;
    contacts_ = analysis::contactsOf(curve);
    curve_->replace(pointsOf(curve.phase, curve.flux));
    if (!placedOnce_ && contacts_.primary && contacts_.secondary) {
        // At first the cursors stand wide of each eclipse, for the student to bring in.
        placedOnce_ = true;
        auto middle = [](const analysis::Contacts& c) {
            return c.first + analysis::phaseSpan(c.first, c.last) / 2;
        };
        const double p = middle(*contacts_.primary), s = middle(*contacts_.secondary);
        const double wide = 0.1, inner = 0.02;
        const std::pair<Cursor, double> start[] = {
            {PrimaryFirst, p - wide}, {PrimarySecond, p - inner}, {PrimaryThird, p + inner},
            {PrimaryLast, p + wide},  {SecondaryFirst, s - wide}, {SecondaryLast, s + wide}};
        for (const auto& [which, phase] : start) {
            cursors_[which] = phase - std::floor(phase);
            lines_[static_cast<std::size_t>(which)]->replace(
                {QPointF(cursors_[which], 0), QPointF(cursors_[which], 1.05)});
        }
    }
    QList<QPointF> observed;
    if (overlay != nullptr && overlay->set() != nullptr && overlay->figures()) {
        // The points as the graph places them, relative flux; thinned to the plot's pixels.
        const ObservedSet& s = *overlay->set();
        const std::vector<double>& phase = overlay->alignedPhase();
        const std::vector<std::uint32_t>& used = overlay->usedPoints();
        std::vector<double> flux(phase.size());
        for (std::size_t i = 0; i < phase.size(); ++i)
            flux[i] = s.flux[used[i]];
        const QRectF area = view_->chart()->plotArea();
        const double cell = std::max(1.0, observed_->markerSize());
        PixelBox box{0, 1, 0, 1.05, 1, 1};
        box.width = std::max(1, static_cast<int>(area.width() / cell));
        box.height = std::max(1, static_cast<int>(area.height() / cell));
        for (std::size_t i : thinToPixels(phase, flux, box))
            observed.append(QPointF(phase[i], flux[i]));
    }
    observed_->replace(observed);
    remeasure();
}

void MeasurePage::remeasure() {
    if (light_.phase.empty()) {
        measurement_.reset();
        results_->setRowCount(0);
        return;
    }
    measurement_ = analysis::measure(cursors(), light_, model_.inclinationDeg);
    const std::vector<WorksheetRow> rows = measurementRows(*measurement_, model_);
    results_->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const WorksheetRow& r = rows[static_cast<std::size_t>(i)];
        const QString unit = r.unit.empty() ? QString() : QStringLiteral(" ") + shown(r.unit);
        results_->setItem(i, 0, new QTableWidgetItem(shown(r.quantity)));
        results_->setItem(i, 1, new QTableWidgetItem(shown(r.value) + unit));
        results_->setItem(
            i, 2, new QTableWidgetItem(r.model.empty() ? QString() : shown(r.model) + unit));
    }
    results_->resizeColumnsToContents();
}

void MeasurePage::applyScale(double scale) {
    scale_ = scale;
    scaleChart(view_->chart(), scale);
}

// ---- The panel ----------------------------------------------------------------------------

AnalysisPanel::AnalysisPanel(MainWindow& window)
    : QDockWidget(tr("Analysis"), &window), window_(window) {
    setObjectName(QStringLiteral("analysisPanel"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    // Its own colours and font, not the picture's black bars and control font.
    setPalette(QApplication::palette());
    setFont(QApplication::font());
    setAutoFillBackground(true);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("analysisPages"));
    residuals_ = new ResidualPage(tabs_);
    period_ = new PeriodPage(tabs_);
    velocities_ = new VelocityPage(tabs_);
    fit_ = new FitPage(tabs_);
    measure_ = new MeasurePage(tabs_);
    tabs_->addTab(residuals_, tr("Residuals"));
    tabs_->addTab(period_, tr("Period"));
    tabs_->addTab(velocities_, tr("Velocities"));
    tabs_->addTab(fit_, tr("Fit"));
    tabs_->addTab(measure_, tr("Measure"));
    showPage(residuals_, false);
    showPage(period_, false);
    showPage(fit_, false);
    setWidget(tabs_);
}

void AnalysisPanel::showPage(QWidget* page, bool shown) {
    tabs_->setTabVisible(tabs_->indexOf(page), shown);
}

bool AnalysisPanel::showsPage(const QWidget* page) const {
    const int i = tabs_->indexOf(const_cast<QWidget*>(page));
    return i >= 0 && tabs_->isTabVisible(i);
}

void AnalysisPanel::modelChanged() {
    if (pending_ || isHidden()) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        pending_ = false;
        updateNow();
    });
}

void AnalysisPanel::updateNow() {
    Form1& f = window_.form();
    const double scale = window_.pictureScale();
    if (scale != scale_) {
        scale_ = scale;
        QFont font = QApplication::font();
        font.setPixelSize(std::max(10, static_cast<int>(std::lround(12 * scale))));
        tabs_->setFont(font);
        residuals_->applyScale(scale);
        period_->applyScale(scale);
        velocities_->applyScale(scale);
        measure_->applyScale(scale);
    }
    const bool observed = f.observed.shown() && f.observed.figures().has_value();
    showPage(residuals_, observed);
    if (observed) residuals_->show(f.observed);
    // The Period page: once a search has found a period, while the points are shown.
    const std::optional<FoundPeriod>& found = window_.periodView().found();
    const bool searched = found.has_value() && f.observed.shown();
    showPage(period_, searched);
    if (!searched) {
        periodShown_.reset();
    } else if (periodShown_ != found->periodDays()) {
        periodShown_ = found->periodDays();
        period_->show(*found);
    }
    // The model's curves from the parameters of the last plot; a set the model cannot
    // evaluate leaves the pages as they were.
    try {
        const Parameters p = parametersOf(f);
        velocities_->showModel(analysis::velocityCurveOf(p));
        measure_->showModel(analysis::lightCurveOf(p), analysis::modelFigures(p),
                            f.observed.shown() ? &f.observed : nullptr);
    } catch (const RuntimeError&) {}
}

void AnalysisPanel::showVelocities() {
    const std::shared_ptr<const VelocitySet> set = window_.velocities();
    const std::optional<fit::VelocityFit>& fitted = window_.velocityFit();
    if (set == nullptr || !fitted) {
        velocities_->setObserved({}, {}, {});
        return;
    }
    const fit::PhasedVelocities v = fit::phasedVelocities(*set, *fitted);
    velocities_->setObserved(v.phase, v.rvA, v.rvB, v.errorA, v.errorB);
}

void AnalysisPanel::showFit(const orvanta::fit::FitResult& result) {
    fit_->show(result);
    fitted_.clear();
    for (const fit::ParameterResult& p : result.parameters)
        fitted_.push_back({p.name, p.value, p.error, p.note});
    fitChi2_ = result.chi2Reduced;
    showPage(fit_, true);
}

std::vector<WorksheetRow> AnalysisPanel::worksheetRows() const {
    Form1& f = window_.form();
    std::vector<WorksheetRow> rows = inputRows(f);
    auto append = [&](const std::vector<WorksheetRow>& more) {
        rows.insert(rows.end(), more.begin(), more.end());
    };
    if (f.observed.shown() && f.observed.figures())
        append(residualRows(*f.observed.figures(), f.observed.inMagnitudes() ? "mag" : "flux"));
    if (measure_->measurement())
        append(measurementRows(*measure_->measurement(), measure_->model()));
    if (!fitted_.empty()) append(fitRows(fitted_, fitChi2_));
    return rows;
}

std::vector<QChartView*> AnalysisPanel::plots() const {
    std::vector<QChartView*> views;
    if (showsPage(residuals_)) views.push_back(residuals_->chartView());
    if (showsPage(period_)) views.push_back(period_->chartView());
    views.push_back(measure_->chartView());
    views.push_back(velocities_->chartView());
    return views;
}

} // namespace orvanta::view
