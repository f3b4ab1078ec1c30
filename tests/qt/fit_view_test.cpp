// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic fit in the window: Ctrl+F opens the dialog of the free parameters (or says
// why not), Start fits on a worker thread and puts the values into the boxes, Cancel leaves
// them as they were, Ctrl+Z puts them back.
#include "fit/curve_model.h"
#include "qt/analysis_panel.h"
#include "qt/fit_view.h"
#include "qt/observed_view.h"
#include "view_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cmath>
#include <fstream>
#include <random>

namespace orvanta::view::testing {
namespace {

class FitViewTest : public ViewTest {
protected:
    FitViewTest() {
        window->load();
        radiusA = f.Text9.Text;
        radiusB = f.Text10.Text;
    }
    /// The design-time system with radius A 1.1 times and radius B 0.9 times the default,
    /// in phase and magnitudes with 0.004 mag of noise, opened in the window.
    void openCurve() {
        auto truth = std::make_unique<Form1>();
        truth->Text9.Text = Str(Val(radiusA) * 1.1);
        truth->Text10.Text = Str(Val(radiusB) * 0.9);
        fit::BoxModel model(*truth, {});
        std::vector<double> phase, flux;
        for (int i = 0; i < 400; ++i)
            phase.push_back(i / 400.0);
        ASSERT_TRUE(model.flux({}, phase, flux));
        const QString path = dir.filePath(QStringLiteral("made.txt"));
        {
            std::mt19937_64 rng(6);
            std::normal_distribution<double> noise(0, 0.004);
            std::ofstream out(path.toStdString());
            out << "phase magnitude error\n";
            for (std::size_t i = 0; i < phase.size(); ++i)
                out << phase[i] << ' ' << -2.512 * std::log10(flux[i]) + noise(rng) << " 0.004\n";
        }
        window->openObserved(path);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !window->observedLoader().busy() && f.observed.shown(); }, 10000));
    }
    QAction* action(const char* name) {
        auto* a = window->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    QDialog* openDialog() {
        action("fit")->trigger();
        return window->findChild<QDialog*>(QStringLiteral("fitDialog"));
    }
    void waitForTheFit() {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->fitView().busy(); }, 20000));
    }

    QTemporaryDir dir;
    std::string radiusA, radiusB;
};

TEST_F(FitViewTest, WithoutObservedPointsItSaysWhy) {
    show();
    EXPECT_EQ(action("fit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(action("undoFit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(openDialog(), nullptr);
    ASSERT_NE(window->fitView().message(), nullptr);
    EXPECT_TRUE(window->fitView().message()->text().contains(QStringLiteral("Ctrl+O")));
    EXPECT_FALSE(window->fitView().message()->isModal());
    EXPECT_FALSE(window->fitView().undo()); // nothing to put back
}

TEST_F(FitViewTest, StartFitsOnAWorkerThreadAndCtrlZPutsTheBoxesBack) {
    show();
    openCurve();
    QSignalSpy finished(window.get(), &MainWindow::fitFinished);
    QDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    // The default choice of a session, every fittable parameter offered.
    for (const char* name : {"radius-a", "radius-b", "temperature-b", "incline2"}) {
        auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("free-") + name);
        ASSERT_NE(box, nullptr) << name;
        EXPECT_TRUE(box->isChecked()) << name;
    }
    EXPECT_EQ(dialog->findChildren<QCheckBox*>().size(), fit::fitParameters().size());
    auto* temperature = dialog->findChild<QCheckBox*>(QStringLiteral("free-temperature-b"));
    auto* tilt = dialog->findChild<QCheckBox*>(QStringLiteral("free-incline2"));
    temperature->setChecked(false);
    tilt->setChecked(false);
    dialog->findChild<QPushButton*>(QStringLiteral("fitStart"))->click();
    EXPECT_TRUE(window->fitView().busy());
    waitForTheFit();
    ASSERT_EQ(finished.count(), 1);
    const auto result = finished.at(0).at(0).value<fit::FitResult>();
    ASSERT_EQ(result.parameters.size(), 2u);
    const double truth[] = {Val(radiusA) * 1.1, Val(radiusB) * 0.9};
    for (std::size_t j = 0; j < 2; ++j) {
        ASSERT_TRUE(result.parameters[j].error.has_value());
        EXPECT_NEAR(result.parameters[j].value, truth[j], 3 * *result.parameters[j].error);
        EXPECT_NEAR(Val((j == 0 ? f.Text9 : f.Text10).Text), truth[j],
                    3 * *result.parameters[j].error);
    }
    EXPECT_EQ(widget<QLineEdit>("Text9")->text().toStdString(), f.Text9.Text);
    ASSERT_NE(window->fitView().message(), nullptr);
    EXPECT_TRUE(window->fitView().message()->text().contains(QStringLiteral("radius-a = ")));
    EXPECT_EQ(f.ErrorCount, 0u);
    // The analysis panel's Fit page shows the same fit.
    const auto* panel = window->findChild<AnalysisPanel*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->showsPage(panel->fitPage()));
    EXPECT_EQ(panel->fitPage()->parameters()->rowCount(), 2);
    // The choice is remembered for the next fit of the session.
    EXPECT_EQ(window->fitView().ticked(), (std::vector<std::string>{"radius-a", "radius-b"}));

    // Ctrl+Z, pressed in a box of the window, undoes the fit rather than the box's last edit.
    window->fitView().message()->close();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window.get(); }));
    widget<QLineEdit>("Text9")->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.Text9.Text, radiusA);
    EXPECT_EQ(f.Text10.Text, radiusB);
    EXPECT_EQ(widget<QLineEdit>("Text9")->text().toStdString(), radiusA);
    EXPECT_FALSE(window->fitView().canUndo()); // one level
}

TEST_F(FitViewTest, CancelLeavesTheBoxesAsTheyWere) {
    show();
    openCurve();
    QSignalSpy finished(window.get(), &MainWindow::fitFinished);
    window->fitView().start({"radius-a", "radius-b", "incline2", "eccentricity"});
    ASSERT_TRUE(window->fitView().busy());
    ASSERT_NE(window->fitView().progress(), nullptr);
    window->fitView().progress()->cancel();
    waitForTheFit();
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(f.Text9.Text, radiusA);
    EXPECT_EQ(f.Text10.Text, radiusB);
    EXPECT_FALSE(window->fitView().canUndo());
}

} // namespace
} // namespace orvanta::view::testing
