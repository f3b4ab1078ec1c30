// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis panel: F9 shows it beside the picture and its state is remembered; each page
// shows when it has something to show, with the model's numbers; the cursors move by click,
// drag and arrow keys; the worksheet's PDF reads back with its pages and text.
#include "../fit/synthetic.h"
#include "view_fixture.h"

#include "analysis/eclipse_measure.h"
#include "analysis/velocity_curve.h"
#include "fit/least_squares.h"
#include "qt/analysis_panel.h"
#include "qt/observed_view.h"
#include "qt/period_view.h"
#include "render/observed_set.h"
#include "ui/window_fit.h"

#include <QCheckBox>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace orvanta::view::testing {

namespace {

class PanelTest : public ViewTest {
protected:
    PanelTest() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }
    void SetUp() override {
        show();
        window->load();
        ASSERT_EQ(f.ErrorCount, 0u);
    }
    AnalysisPanel& panel() { return *window->panel(); }
    void showPanel() {
        if (panel().isHidden()) press(Qt::Key_F9);
        QApplication::processEvents();
        ASSERT_TRUE(panel().isVisible());
    }
    /// The model's own light observed at `n` phases of three cycles, 0.001 above or below it,
    /// with one point far off.
    void showObservedFromTheModel(std::size_t n) {
        const analysis::LightCurve curve = analysis::lightCurveOf(parametersOf(f));
        ObservedData d;
        d.name = "model.txt";
        d.brightness = Brightness::Flux;
        d.period = curve.periodDays;
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t k = (i * 7) % curve.phase.size();
            d.time.push_back((static_cast<double>(i % 3) + curve.phase[k]) * curve.periodDays);
            d.value.push_back(curve.flux[k] + (i % 2 == 0 ? 0.001 : -0.001) +
                              (i == n / 2 ? 0.3 : 0.0));
        }
        f.observed.show(prepareObserved(d));
        f.refreshObserved();
        window->refresh();
    }
    QTemporaryDir settingsDir;
};

TEST_F(PanelTest, F9ShowsThePanelBesideThePictureWhichKeepsItsShape) {
    EXPECT_TRUE(panel().isHidden()); // a first start
    const QRect alone = window->stage()->geometry();
    showPanel();
    EXPECT_EQ(window->dockWidgetArea(&panel()), Qt::RightDockWidgetArea);
    const QWidget* area = window->centralWidget();
    EXPECT_LT(area->width(), window->width());
    const PictureFit fit = fitPicture(area->width(), area->height());
    EXPECT_EQ(window->stage()->geometry(), QRect(fit.left, fit.top, fit.width, fit.height));
    EXPECT_FALSE(window->stage()->geometry().intersects(
        QRect(panel().mapTo(window.get(), QPoint(0, 0)), panel().size())));
    press(Qt::Key_F9);
    QApplication::processEvents();
    EXPECT_TRUE(panel().isHidden());
    EXPECT_EQ(window->stage()->geometry(), alone);
}

TEST_F(PanelTest, ShownFloatingAndPlaceAreThereAtTheNextStart) {
    showPanel();
    panel().setFloating(true);
    QApplication::processEvents();
    window->savePlace();
    {
        MainWindow next;
        next.restorePlace();
        next.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&next));
        EXPECT_TRUE(next.panel()->isVisible());
        EXPECT_TRUE(next.panel()->isFloating());
    }
    panel().setFloating(false);
    window->togglePanel(); // as F9 does
    window->savePlace();
    MainWindow again;
    again.restorePlace();
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    EXPECT_TRUE(again.panel()->isHidden());
}

TEST_F(PanelTest, TheResidualPageShowsWithObservedPointsAndTheOverlaysFigures) {
    showPanel();
    panel().updateNow();
    EXPECT_FALSE(panel().showsPage(panel().residualPage()));
    EXPECT_TRUE(panel().showsPage(panel().measurePage()));
    EXPECT_TRUE(panel().showsPage(panel().velocityPage()));
    EXPECT_FALSE(panel().showsPage(panel().fitPage()));
    showObservedFromTheModel(3000);
    panel().updateNow();
    ASSERT_TRUE(panel().showsPage(panel().residualPage()));
    const RobustFigures& figures = *f.observed.figures();
    EXPECT_EQ(figures.outliers, 1u);
    const QString text = panel().residualPage()->figuresLabel()->text();
    EXPECT_TRUE(text.contains(QString::fromStdString(figure(figures.robustRms))))
        << text.toStdString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("3000 points"))) << text.toStdString();
    // Thinned: no more than the plot's pixels, at least one; the outlier on its own.
    const int drawn = static_cast<int>(panel().residualPage()->points()->count());
    EXPECT_GT(drawn, 0);
    EXPECT_LE(drawn, 3000);
    EXPECT_EQ(panel().residualPage()->outlierPoints()->count(), 1);
    // Each point drawn is a residual the overlay computed.
    const std::vector<double>& r = f.observed.residuals();
    for (const QPointF& p : panel().residualPage()->points()->points())
        EXPECT_LT(std::fabs(p.y()), 0.0025);
    EXPECT_GT(*std::max_element(r.begin(), r.end()), 0.29);
    window->removeObserved();
    panel().updateNow();
    EXPECT_FALSE(panel().showsPage(panel().residualPage()));
}

TEST_F(PanelTest, ThePeriodPageShowsTheSearchsPeriodogramCandidatesAndMinima) {
    showPanel();
    panel().updateNow();
    EXPECT_FALSE(panel().showsPage(panel().periodPage()));
    // The teaching file of the twins without its period: searched as it opens.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("twins.csv"));
    {
        std::ifstream in(ORVANTA_SOURCE_DIR "/data/twins.csv");
        std::ofstream out(file.toStdString());
        for (std::string line; std::getline(in, line);)
            if (line.rfind("# period", 0) != 0 && line.rfind("# epoch", 0) != 0)
                out << line << '\n';
    }
    window->openObserved(file);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !window->observedLoader().busy() && !window->periodView().busy(); }, 20000));
    ASSERT_TRUE(window->periodView().found().has_value());
    panel().updateNow();
    ASSERT_TRUE(panel().showsPage(panel().periodPage()));
    const FoundPeriod& found = *window->periodView().found();
    PeriodPage& page = *panel().periodPage();
    ASSERT_EQ(page.periodogram()->count(), static_cast<int>(found.result.periodogram.size()));
    EXPECT_EQ(page.periodogram()->at(3),
              QPointF(found.result.periodogram[3].periodDays, found.result.periodogram[3].score));
    EXPECT_EQ(page.candidates()->count(), static_cast<int>(found.result.peaks.size()));
    EXPECT_EQ(page.chosen()->at(0).x(), found.periodDays());
    ASSERT_EQ(page.oMinusC()->count(), static_cast<int>(found.result.minima.size()));
    if (!found.result.minima.empty()) {
        EXPECT_EQ(page.oMinusC()->at(0),
                  QPointF(found.result.minima[0].cycle, found.result.minima[0].oMinusC * 24 * 60));
    }
    // The other candidate, as Ctrl+Alt+P folds on it.
    window->switchPeriod();
    panel().updateNow();
    EXPECT_EQ(page.chosen()->at(0).x(), window->periodView().found()->periodDays());
    EXPECT_NE(page.chosen()->at(0).x(), found.result.periodDays);
}

TEST_F(PanelTest, TheVelocityPageShowsTheModelsCurvesAndObservedVelocitiesGiven) {
    showPanel();
    panel().updateNow();
    const analysis::VelocityCurve v = analysis::velocityCurveOf(parametersOf(f));
    VelocityPage& page = *panel().velocityPage();
    ASSERT_EQ(page.curveA()->count(), static_cast<qsizetype>(v.a.size()));
    for (std::size_t i = 0; i < v.a.size(); i += 97) {
        EXPECT_EQ(page.curveA()->at(static_cast<int>(i)), QPointF(v.phase[i], v.a[i]));
        EXPECT_EQ(page.curveB()->at(static_cast<int>(i)), QPointF(v.phase[i], v.b[i]));
    }
    page.setObserved({0.1, 0.3, 0.6}, {12.5, NAN, -40}, {-20, 33, NAN}, {2, 2, 3}, {4, 4, 4});
    ASSERT_EQ(page.observedA()->count(), 2);
    EXPECT_EQ(page.observedA()->at(1), QPointF(0.6, -40));
    ASSERT_EQ(page.observedB()->count(), 2);
    EXPECT_EQ(page.observedB()->at(1), QPointF(0.3, 33));
    EXPECT_TRUE(page.note()->text().contains(QStringLiteral("2 velocities of A, 2 of B")));
}

TEST_F(PanelTest, TheFitPageShowsAFitsValuesErrorsAndCorrelations) {
    showPanel();
    const auto truth = fittest::hiddenSystem();
    fit::BoxModel model(*truth, {"radius-a", "incline2"});
    const fit::Observations data = fittest::synthetic(*truth, 200, 0.01, 2, 7);
    fit::FitOptions options;
    options.tryTurns = false;
    const fit::FitResult r = fit::fitCurve(model, model.start(), data, options);
    panel().showFit(r);
    ASSERT_TRUE(panel().showsPage(panel().fitPage()));
    QTableWidget* table = panel().fitPage()->parameters();
    ASSERT_EQ(table->rowCount(), static_cast<int>(r.parameters.size()));
    for (int i = 0; i < table->rowCount(); ++i) {
        const fit::ParameterResult& p = r.parameters[static_cast<std::size_t>(i)];
        EXPECT_EQ(table->item(i, 0)->text(), QString::fromStdString(p.name));
        EXPECT_EQ(table->item(i, 1)->text(), QString::fromStdString(figure(p.value)));
        if (p.error) {
            EXPECT_EQ(table->item(i, 2)->text(), QString::fromStdString(figure(*p.error)));
        }
    }
    QTableWidget* grid = panel().fitPage()->correlations();
    for (const auto& c : r.correlations)
        EXPECT_EQ(grid->item(static_cast<int>(c.i), static_cast<int>(c.j))->text(),
                  QString::fromStdString(figure(c.value)));
    // The fit goes into the worksheet's numbers.
    bool found = false;
    for (const WorksheetRow& row : panel().worksheetRows())
        found = found || (row.section == "Fit" && row.value == figure(r.parameters[0].value));
    EXPECT_TRUE(found);
}

TEST_F(PanelTest, CursorsMoveByClickAndArrowKeysAndSnapOnlyWhenAsked) {
    showPanel();
    panel().tabs()->setCurrentWidget(panel().measurePage());
    panel().updateNow();
    QApplication::processEvents();
    MeasurePage& page = *panel().measurePage();
    QChartView* chart = page.chartView();
    // A click at phase 0.3 of the plot places the selected cursor there, no snapping.
    page.selectCursor(MeasurePage::SecondaryFirst);
    const QPointF at = chart->chart()->mapToPosition(QPointF(0.3, 0.5));
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, Qt::NoModifier, at.toPoint());
    EXPECT_NEAR(page.cursor(MeasurePage::SecondaryFirst), 0.3, 0.01);
    const double before = page.cursor(MeasurePage::SecondaryFirst);
    QTest::keyClick(chart, Qt::Key_Right);
    QTest::keyClick(chart, Qt::Key_Right);
    EXPECT_NEAR(page.cursor(MeasurePage::SecondaryFirst), before + 2.0 / 793, 1e-12);
    QTest::keyClick(chart, Qt::Key_Left);
    EXPECT_NEAR(page.cursor(MeasurePage::SecondaryFirst), before + 1.0 / 793, 1e-12);
    // Snapping: the nearest of the model's contacts.
    const analysis::LightCurve curve = analysis::lightCurveOf(parametersOf(f));
    const analysis::ModelContacts contacts = analysis::contactsOf(curve);
    ASSERT_TRUE(contacts.primary);
    page.snapBox()->setChecked(true);
    page.selectCursor(MeasurePage::PrimaryFirst);
    const QPointF near =
        chart->chart()->mapToPosition(QPointF(contacts.primary->first + 0.004, 0.5));
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, Qt::NoModifier, near.toPoint());
    EXPECT_EQ(page.cursor(MeasurePage::PrimaryFirst), contacts.primary->first);
}

TEST_F(PanelTest, TheMeasurementsAreTheModelsBesideTheModelsOwnFigures) {
    showPanel();
    panel().updateNow();
    MeasurePage& page = *panel().measurePage();
    const Parameters p = parametersOf(f);
    const analysis::LightCurve curve = analysis::lightCurveOf(p);
    const analysis::ModelFigures model = analysis::modelFigures(p);
    const analysis::ModelContacts c = analysis::contactsOf(curve);
    ASSERT_TRUE(c.primary && c.secondary);
    page.setCursor(MeasurePage::PrimaryFirst, c.primary->first);
    page.setCursor(MeasurePage::PrimaryLast, c.primary->last);
    page.setCursor(MeasurePage::SecondaryFirst, c.secondary->first);
    page.setCursor(MeasurePage::SecondaryLast, c.secondary->last);
    const analysis::Measurement m = analysis::measure(page.cursors(), curve, model.inclinationDeg);
    QTableWidget* table = page.results();
    bool sum = false;
    for (int i = 0; i < table->rowCount(); ++i)
        if (table->item(i, 0)->text() == QStringLiteral("(R_A + R_B) / a")) {
            sum = true;
            EXPECT_EQ(table->item(i, 1)->text(), QString::fromStdString(figure(m.sumOfRadii)));
            EXPECT_EQ(table->item(i, 2)->text(), QString::fromStdString(figure(model.sumOfRadii)));
        }
    EXPECT_TRUE(sum);
}

TEST_F(PanelTest, TextAndLinesFollowThePicturesScale) {
    showPanel();
    panel().setFloating(true);
    window->resize(1588, 1136);
    QApplication::processEvents();
    ASSERT_EQ(window->pictureScale(), 2);
    panel().updateNow();
    EXPECT_EQ(panel().tabs()->font().pixelSize(), 24);
}

TEST_F(PanelTest, TheWorksheetIsAPdfOfThreePagesAndACsvOfTheSameNumbers) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (pdftotext.isEmpty() || pdfinfo.isEmpty()) GTEST_SKIP() << "poppler-utils not installed";
    showObservedFromTheModel(500);
    const double time = f.Time.value();
    const QImage picture = window->canvas()->picture();
    QTemporaryDir dir;
    if (qEnvironmentVariableIsSet("ORVANTA_KEEP_WORKSHEET")) dir.setAutoRemove(false);
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    ASSERT_TRUE(window->writeWorksheetTo(pdf));
    // The window is as it was.
    EXPECT_EQ(f.Time.value(), time);
    EXPECT_EQ(window->canvas()->picture(), picture);

    QProcess info;
    info.start(pdfinfo, {pdf});
    ASSERT_TRUE(info.waitForFinished(5000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))));
    QProcess text;
    text.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(5000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    for (const char* expected : {"Orvanta worksheet: inputs", "phase 0.25", "phase 0.75", "Plots",
                                 "Measurements and fit", "(R_A + R_B) / a", "robust rms"})
        EXPECT_TRUE(words.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_TRUE(words.contains(f.Text7.Text.c_str()));

    QFile csv(dir.filePath(QStringLiteral("sheet.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const std::string numbers = csv.readAll().toStdString();
    EXPECT_EQ(numbers, worksheetCsv(panel().worksheetRows()));
    EXPECT_NE(numbers.find("Residuals,robust rms," + figure(f.observed.figures()->robustRms)),
              std::string::npos);
}

} // namespace

} // namespace orvanta::view::testing
