// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis panel beside the picture: a dock of the window with a page for each thing it
// can show (the residuals of the observed points, the model's radial velocities, a fit, the
// measuring cursors). Every number comes from the model; the panel only shows it.
#pragma once

#include "analysis/eclipse_measure.h"
#include "analysis/velocity_curve.h"
#include "render/observed_overlay.h"
#include "ui/found_period.h"
#include "ui/worksheet.h"

#include <QDockWidget>
#include <QPointer>

#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QTableWidget;
class QTabWidget;

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
QT_END_NAMESPACE

namespace orvanta::fit {
struct FitResult;
}

namespace orvanta::view {

class MainWindow;
class MeasureChart;

/// Observed points less the model at their phases, the robust figures, outliers marked.
class ResidualPage : public QWidget {
    Q_OBJECT
public:
    explicit ResidualPage(QWidget* parent = nullptr);
    /// Shows the overlay's residuals now (thinned to the chart's pixels).
    void show(const ObservedOverlay& overlay);
    [[nodiscard]] QChartView* chartView() const { return view_; }
    [[nodiscard]] const QLabel* figuresLabel() const { return figures_; }
    /// The points drawn, kept and outliers.
    [[nodiscard]] QLineSeries* points() const { return points_; }
    [[nodiscard]] QScatterSeries* outlierPoints() const { return outliers_; }
    void applyScale(double scale);

private:
    QChartView* view_;
    QChart* chart_;
    QLineSeries* points_; ///< markers only, no line: drawn in one pass, not item by item
    QScatterSeries* outliers_;
    QValueAxis *x_, *y_;
    QLabel* figures_;
    std::vector<double> keptX_, keptY_, outX_, outY_;
};

/// The periodogram of the last period search with the period in use and the other
/// candidates, and the O - C of the minima timed against the ephemeris found.
class PeriodPage : public QWidget {
    Q_OBJECT
public:
    explicit PeriodPage(QWidget* parent = nullptr);
    void show(const FoundPeriod& found);
    [[nodiscard]] QChartView* chartView() const { return periodogramView_; }
    [[nodiscard]] QChartView* minimaView() const { return minimaView_; }
    [[nodiscard]] QLineSeries* periodogram() const { return periodogram_; }
    [[nodiscard]] QScatterSeries* candidates() const { return candidates_; }
    [[nodiscard]] QLineSeries* chosen() const { return chosen_; }
    [[nodiscard]] QScatterSeries* oMinusC() const { return oMinusC_; }
    [[nodiscard]] const QLabel* note() const { return note_; }
    void applyScale(double scale);

private:
    QChartView *periodogramView_, *minimaView_;
    QChart *periodogramChart_, *minimaChart_;
    QLineSeries* periodogram_;
    QScatterSeries* candidates_;
    QLineSeries* chosen_;
    QScatterSeries* oMinusC_;
    QValueAxis *px_, *py_, *mx_, *my_;
    QLabel* note_;
};

/// The model's two velocity curves against phase, and observed velocities when given.
class VelocityPage : public QWidget {
    Q_OBJECT
public:
    explicit VelocityPage(QWidget* parent = nullptr);
    void showModel(const analysis::VelocityCurve& curve);
    /// Observed velocities (km/s) at phases of the model's curve; NaN where a star has no
    /// velocity at that instant. Errors (km/s) are one per point or empty.
    void setObserved(const std::vector<double>& phase, const std::vector<double>& rvA,
                     const std::vector<double>& rvB, const std::vector<double>& errorA = {},
                     const std::vector<double>& errorB = {});
    [[nodiscard]] QChartView* chartView() const { return view_; }
    [[nodiscard]] QLineSeries* curveA() const { return curveA_; }
    [[nodiscard]] QLineSeries* curveB() const { return curveB_; }
    [[nodiscard]] QScatterSeries* observedA() const { return observedA_; }
    [[nodiscard]] QScatterSeries* observedB() const { return observedB_; }
    [[nodiscard]] const QLabel* note() const { return note_; }
    void applyScale(double scale);

private:
    void fitAxes();
    QChartView* view_;
    QChart* chart_;
    QLineSeries *curveA_, *curveB_;
    QScatterSeries *observedA_, *observedB_;
    QValueAxis *x_, *y_;
    QLabel* note_;
};

/// A fit's parameters with values, errors and notes, the correlations as a coloured grid,
/// and the other starts that came close.
class FitPage : public QWidget {
    Q_OBJECT
public:
    explicit FitPage(QWidget* parent = nullptr);
    void show(const fit::FitResult& result);
    [[nodiscard]] QTableWidget* parameters() const { return parameters_; }
    [[nodiscard]] QTableWidget* correlations() const { return correlations_; }
    [[nodiscard]] const QLabel* summary() const { return summary_; }

private:
    QTableWidget* parameters_;
    QTableWidget* correlations_;
    QLabel* summary_;
};

/// The measuring cursors on the model's light curve of one period.
class MeasurePage : public QWidget {
    Q_OBJECT
public:
    explicit MeasurePage(QWidget* parent = nullptr);
    /// The model's curve and figures (and the observed points over it, when shown).
    void showModel(const analysis::LightCurve& curve, const analysis::ModelFigures& figures,
                   const ObservedOverlay* overlay);
    /// The cursors, in the order of the list: primary first, second, third and last
    /// contact, then secondary first and last contact.
    enum Cursor {
        PrimaryFirst,
        PrimarySecond,
        PrimaryThird,
        PrimaryLast,
        SecondaryFirst,
        SecondaryLast,
        CursorCount
    };
    void setCursor(Cursor which, double phase);
    [[nodiscard]] double cursor(Cursor which) const { return cursors_[which]; }
    void selectCursor(Cursor which);
    [[nodiscard]] Cursor selected() const;
    /// Moves the selected cursor by whole samples of the model's sweep.
    void stepSelected(int samples);
    [[nodiscard]] QCheckBox* snapBox() const { return snap_; }
    [[nodiscard]] QListWidget* cursorList() const { return list_; }
    [[nodiscard]] QTableWidget* results() const { return results_; }
    [[nodiscard]] QChartView* chartView() const;
    /// What the cursors give now, and the model's own figures.
    [[nodiscard]] const std::optional<analysis::Measurement>& measurement() const {
        return measurement_;
    }
    [[nodiscard]] const analysis::ModelFigures& model() const { return model_; }
    [[nodiscard]] analysis::Cursors cursors() const;
    /// The place of a cursor dropped at `phase`: the nearest of the model's contacts when
    /// snapping is on, else the phase itself.
    [[nodiscard]] double placed(double phase) const;
    void applyScale(double scale);

private:
    void remeasure();
    MeasureChart* view_;
    QListWidget* list_;
    QCheckBox* snap_;
    QTableWidget* results_;
    std::vector<QLineSeries*> lines_;
    QLineSeries* curve_;
    QLineSeries* observed_; ///< markers only

    double cursors_[CursorCount] = {0.9, 0.97, 0.03, 0.1, 0.4, 0.6};
    analysis::LightCurve light_;
    analysis::ModelFigures model_;
    analysis::ModelContacts contacts_;
    std::optional<analysis::Measurement> measurement_;
    double scale_ = 1;
    bool placedOnce_ = false; ///< the cursors were set beside the model's eclipses
};

class AnalysisPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit AnalysisPanel(MainWindow& window);

    /// The model changed: the pages are brought up to date once the event loop turns (a
    /// drag's many events make one update).
    void modelChanged();
    /// Brings every page up to date now.
    void updateNow();

    [[nodiscard]] QTabWidget* tabs() const { return tabs_; }
    [[nodiscard]] ResidualPage* residualPage() const { return residuals_; }
    [[nodiscard]] PeriodPage* periodPage() const { return period_; }
    [[nodiscard]] VelocityPage* velocityPage() const { return velocities_; }
    [[nodiscard]] FitPage* fitPage() const { return fit_; }
    [[nodiscard]] MeasurePage* measurePage() const { return measure_; }
    /// Whether a page is among the tabs shown.
    [[nodiscard]] bool showsPage(const QWidget* page) const;
    /// The numbers of the worksheet: the inputs, the residuals, the measurement, the fit.
    [[nodiscard]] std::vector<WorksheetRow> worksheetRows() const;
    /// The plots of the pages shown, for the worksheet.
    [[nodiscard]] std::vector<QChartView*> plots() const;

public slots:
    /// Shows a fit's result on the Fit page (and in the worksheet), for the window's fit
    /// dialog to connect to.
    void showFit(const orvanta::fit::FitResult& result);
    /// Shows the window's observed velocities on the Velocities page (less the fitted
    /// systemic velocity, at the phase since the fitted periastron), or none.
    void showVelocities();

private:
    void showPage(QWidget* page, bool shown);
    MainWindow& window_;
    QTabWidget* tabs_;
    ResidualPage* residuals_;
    PeriodPage* period_;
    VelocityPage* velocities_;
    FitPage* fit_;
    MeasurePage* measure_;
    bool pending_ = false;
    std::optional<double> periodShown_; ///< the period in use the Period page shows
    double scale_ = 0;
    std::vector<FittedValue> fitted_;
    std::optional<double> fitChi2_;
};

} // namespace orvanta::view
