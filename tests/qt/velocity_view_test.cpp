// SPDX-License-Identifier: GPL-3.0-or-later
// Radial velocities in the window: opened as a light curve is, kept beside it, their masses
// in the title and in Ctrl+I's summary, fitted again when the model changes, removed with
// Ctrl+Shift+O; the window says so by its signals.
#include "qt/analysis_panel.h"
#include "qt/observed_view.h"
#include "view_fixture.h"

#include "render/curve_table.h"

#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtCharts/QScatterSeries>

#include <cmath>
#include <fstream>
#include <sstream>

namespace orvanta::view::testing {
namespace {

class VelocityView : public ViewTest {
protected:
    VelocityView() {
        window->load();
        std::ofstream(path("rv.csv").toStdString()) << velocityFile();
        std::ofstream(path("light.txt").toStdString())
            << "# period = 3 d\nHJD mag\n1 2\n2 2.1\n3 2.3\n4 2\n";
    }
    [[nodiscard]] QString path(const char* name) const {
        return dir.filePath(QString::fromUtf8(name));
    }
    /// The start-up system's velocities (`orvanta curve --rv`), every 50th sample, with a
    /// small scatter and an error column.
    std::string velocityFile() {
        CurveOptions o;
        o.velocities = true;
        o.gamma = 5;
        std::istringstream csv(CurveCsv(LightCurveTable(f, o)));
        std::string text = "time_days,rv_a_km_s,rv_b_km_s,rv_err\n", line;
        for (int row = 0; std::getline(csv, line);) {
            if (line.starts_with("# period")) text = line + "\n" + text;
            if (line.empty() || line[0] == '#' || line.starts_with("phase")) continue;
            if (row++ % 50 != 0) continue;
            std::vector<std::string> c;
            std::stringstream fields(line);
            for (std::string x; std::getline(fields, x, ',');)
                c.push_back(x);
            const double jitter = std::sin(row * 1.7);
            text += c[1] + "," + Str(std::stod(c[5]) + jitter) + "," +
                    Str(std::stod(c[6]) - 2 * jitter) + ",1.5\n";
            ++velocities;
        }
        return text;
    }
    void waitForLoad() {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->observedLoader().busy(); }, 10000));
    }

    QTemporaryDir dir;
    int velocities = 0;
};

TEST_F(VelocityView, AVelocityFileOpensBesideTheLightCurveWithItsMassesInTheTitle) {
    QSignalSpy changed(window.get(), &MainWindow::velocitiesChanged);
    window->openObserved(path("light.txt"));
    waitForLoad();
    ASSERT_NE(f.observed.set(), nullptr);
    window->openObserved(path("rv.csv"));
    waitForLoad();
    EXPECT_EQ(changed.count(), 1);
    ASSERT_NE(window->velocities(), nullptr);
    EXPECT_EQ(window->velocities().get(), f.velocities.get());
    ASSERT_TRUE(window->velocityFit().has_value());
    // The design-time pair: 3.59 and 0.8 solar masses.
    EXPECT_NEAR(window->velocityFit()->massA.value, 3.59, 3 * window->velocityFit()->massA.error);
    EXPECT_NEAR(window->velocityFit()->massB.value, 0.8, 3 * window->velocityFit()->massB.error);
    ASSERT_NE(f.observed.set(), nullptr); // the light curve stays
    const QString title = window->windowTitle();
    EXPECT_TRUE(title.startsWith(QStringLiteral("Orvanta \u2014 light.txt: ")))
        << title.toStdString();
    EXPECT_TRUE(
        title.contains(QStringLiteral(" \u2014 rv.csv: %1 velocities, M_A ").arg(2 * velocities)))
        << title.toStdString();
    EXPECT_TRUE(title.endsWith(QStringLiteral(" M\u2609"))) << title.toStdString();

    // Ctrl+I sums up both files.
    window->showObservedSummary();
    ASSERT_NE(window->errorWindow(), nullptr);
    const QString summary = window->errorWindow()->text();
    EXPECT_TRUE(summary.contains(QStringLiteral("rv.csv: radial velocities")))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("M_B sin\u00B3i"))) << summary.toStdString();
    window->errorWindow()->hide();

    // Ctrl+Shift+O removes both.
    window->removeObserved();
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(window->velocities(), nullptr);
    EXPECT_FALSE(window->velocityFit().has_value());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Orvanta"));
}

TEST_F(VelocityView, ThePanelShowsTheObservedVelocitiesUntilTheyAreRemoved) {
    window->openObserved(path("rv.csv"));
    waitForLoad();
    ASSERT_TRUE(window->velocityFit().has_value());
    const auto* panel = window->findChild<AnalysisPanel*>();
    ASSERT_NE(panel, nullptr);
    const VelocityPage* page = panel->velocityPage();
    EXPECT_EQ(page->observedA()->count(), velocities);
    EXPECT_EQ(page->observedB()->count(), velocities);
    EXPECT_TRUE(page->note()->text().contains(QStringLiteral("1.5 km/s")))
        << page->note()->text().toStdString();
    // Each point less the fitted gamma, at its phase since the fitted periastron.
    const fit::PhasedVelocities v =
        fit::phasedVelocities(*window->velocities(), *window->velocityFit());
    EXPECT_DOUBLE_EQ(page->observedA()->at(0).x(), v.phase[0]);
    EXPECT_DOUBLE_EQ(page->observedA()->at(0).y(), v.rvA[0]);
    window->removeObserved();
    EXPECT_EQ(page->observedA()->count(), 0);
    EXPECT_TRUE(page->note()->text().isEmpty());
}

TEST_F(VelocityView, TheMassesFollowTheModelsInclination) {
    QSignalSpy refitted(window.get(), &MainWindow::velocityFitChanged);
    window->openObserved(path("rv.csv"));
    waitForLoad();
    ASSERT_TRUE(window->velocityFit().has_value());
    const double before = window->velocityFit()->massA.value;
    const qsizetype fits = refitted.count();
    window->refresh();
    EXPECT_EQ(refitted.count(), fits); // nothing changed: no new fit
    f.Text5.Text = "-30";              // tilted further from edge-on: a smaller sin i
    f.DataInput();
    window->refresh();
    EXPECT_EQ(refitted.count(), fits + 1);
    EXPECT_GT(window->velocityFit()->massA.value, before);
    const QString title = window->windowTitle();
    EXPECT_TRUE(title.startsWith(QStringLiteral("Orvanta \u2014 rv.csv: "))) << title.toStdString();
}

TEST_F(VelocityView, AVelocityFileOnTheCommandLineOrWithBadRowsSaysSo) {
    std::ofstream(path("bad.csv").toStdString())
        << "time,rv_a,rv_b\n1,10,-30\n2,x,-20\n3,20,-50\n4,-10,30\n5,0,0\n6,5,-10\n";
    window->openObserved(path("bad.csv"));
    waitForLoad();
    ASSERT_NE(window->velocities(), nullptr);
    ASSERT_NE(window->errorWindow(), nullptr);
    EXPECT_TRUE(window->errorWindow()->text().contains(
        QStringLiteral("1 row skipped: 1 a velocity is not a number")))
        << window->errorWindow()->text().toStdString();
}

} // namespace
} // namespace orvanta::view::testing
