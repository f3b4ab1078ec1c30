// SPDX-License-Identifier: GPL-3.0-or-later
// Observed light curves in the window: dropped on it, opened with Ctrl+O in the folder
// last used, named on the command line, removed with Ctrl+Shift+O; a bad file reported.
#include "qt/observed_view.h"
#include "view_fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

#include <fstream>

namespace orvanta::view::testing {
namespace {

constexpr QRgb Magenta = 0xFF00FF;

class ObservedView : public ViewTest {
protected:
    ObservedView() {
        window->load();
        std::ofstream(path("good.txt").toStdString()) << goodFile();
        std::ofstream(path("bad.txt").toStdString()) << "HJD mag\n1 2\n# period = 60 h\n0.5 2\n";
    }
    [[nodiscard]] QString path(const char* name) const {
        return dir.filePath(QString::fromUtf8(name));
    }

    /// The start-up system observed at its own sample phases, as apparent magnitudes.
    std::string goodFile() {
        std::string text = "# synthetic\nphase mag\n";
        const Num saved = f.Time;
        f.PeriodSweep([&] {
            ++rows;
            text += Str(f.Time.value() / f.Period.value()) + " " +
                    Str(num(f.PowerToAll(f.PowerSum, 1)).value() + 1.5) + "\n";
        });
        f.Time = saved;
        return text;
    }
    void waitForLoad() {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->observedLoader().busy(); }, 10000));
    }
    int magentaPixels() {
        window->refresh();
        int n = 0;
        for (int y = 0; y < 360; ++y)
            for (int x = 0; x < 794; ++x)
                n += pixel(x, y) == Magenta && backgroundPixel(x, y) != Magenta;
        return n;
    }
    void drop(QWidget* target, const QString& file) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        const QPoint at(200, 100);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        ASSERT_TRUE(dropped.isAccepted());
    }

    QTemporaryDir dir;
    int rows = 0;
};

TEST_F(ObservedView, ADroppedFileIsDrawnAndItsFitNamedInTheTitle) {
    show();
    drop(window.get(), path("good.txt"));
    waitForLoad();
    EXPECT_TRUE(window->windowTitle().startsWith(
        QString::fromUtf8("Orvanta \u2014 good.txt: %1 points, rms ").arg(rows)))
        << window->windowTitle().toStdString();
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" relative flux")));
    ASSERT_TRUE(f.observed.rms());
    EXPECT_LT(*f.observed.rms(), 1e-9);
    EXPECT_GT(magentaPixels(), 500);
}

TEST_F(ObservedView, AFileDroppedOnATextBoxOpensTooAndLeavesTheBoxAlone) {
    show();
    auto* box = widget<QLineEdit>("Text1");
    drop(box, path("good.txt"));
    waitForLoad();
    EXPECT_EQ(box->text(), QStringLiteral("15"));
    EXPECT_TRUE(f.observed.shown());
}

TEST_F(ObservedView, ABadFileIsReportedWithItsLineAndLeavesTheEarlierPointsAlone) {
    show();
    window->openObserved(path("good.txt"));
    waitForLoad();
    const QString title = window->windowTitle();
    const int before = magentaPixels();
    window->openObserved(path("bad.txt"));
    waitForLoad();
    ASSERT_NE(window->errorWindow(), nullptr);
    EXPECT_TRUE(window->errorWindow()->isVisible());
    EXPECT_EQ(window->errorWindow()->text(),
              QStringLiteral("Cannot use bad.txt:\nline 3: the period must be given in days "
                             "(\"d\")"));
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(magentaPixels(), before);
    EXPECT_EQ(f.ErrorCount, 0u);
}

TEST_F(ObservedView, CtrlOOpensTheDialogInTheFolderLastChosenAndCtrlShiftORemoves) {
    QSettings settings(QStringLiteral("Orvanta"), QStringLiteral("Orvanta"));
    const QVariant kept = settings.value(QStringLiteral("observed/folder"));
    settings.setValue(QStringLiteral("observed/folder"), dir.path());
    settings.sync();
    show();
    const int none = magentaPixels(); // the centre mark inverts the green axis to magenta
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    auto* dialog = window->findChild<QFileDialog*>(QStringLiteral("observedDialog"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
    QTemporaryDir other;
    const QString file = other.filePath(QStringLiteral("\u00e9toile.csv"));
    QFile::copy(path("good.txt"), file);
    dialog->selectFile(file);
    static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it
    waitForLoad();
    EXPECT_TRUE(
        window->windowTitle().contains(QString::fromUtf8("\u00e9toile.csv: %1 points").arg(rows)));
    EXPECT_EQ(QDir(QSettings(QStringLiteral("Orvanta"), QStringLiteral("Orvanta"))
                       .value(QStringLiteral("observed/folder"))
                       .toString())
                  .canonicalPath(),
              QDir(other.path()).canonicalPath());

    window->activateWindow(); // back from the dialog
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Orvanta"));
    EXPECT_EQ(magentaPixels(), none);

    QSettings restore(QStringLiteral("Orvanta"), QStringLiteral("Orvanta"));
    if (kept.isValid())
        restore.setValue(QStringLiteral("observed/folder"), kept);
    else
        restore.remove(QStringLiteral("observed/folder"));
}

TEST_F(ObservedView, ThePointsStayThroughClearAndFollowTheDrag) {
    show();
    window->openObserved(path("good.txt"));
    waitForLoad();
    f.Run([&] { f.Clear_Click(); });
    EXPECT_GT(magentaPixels(), 500);
    const double fitted = *f.observed.rms();
    QTest::mousePress(window->canvas(), Qt::LeftButton, Qt::ControlModifier, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(140, 130), QPointF(140, 130), Qt::NoButton,
                     Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(window->canvas(), &move);
    EXPECT_GT(*f.observed.rms(), fitted);
    EXPECT_TRUE(window->windowTitle().contains(QString::fromStdString(f.observed.caption())));
    QTest::mouseRelease(window->canvas(), Qt::LeftButton, Qt::ControlModifier, QPoint(140, 130));
}

TEST_F(ObservedView, AnArchiveFileIsSummedUpAndCtrlBShowsItsNextBand) {
    show();
    const QString file = path("aavso.csv");
    QFile::copy(QString::fromUtf8(ORVANTA_SOURCE_DIR "/data/archive/aavso.csv"), file);
    window->openObserved(file);
    waitForLoad();
    ASSERT_NE(window->errorWindow(), nullptr);
    EXPECT_TRUE(window->errorWindow()->isVisible());
    const QString summary = window->errorWindow()->text();
    EXPECT_TRUE(summary.startsWith(QStringLiteral("aavso.csv: AAVSO download\ntime: JD (JD)")))
        << summary.toStdString();
    EXPECT_TRUE(summary.endsWith(QStringLiteral("Ctrl+Shift+B shows the next band.")));
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("aavso.csv [V]: ")));
    window->errorWindow()->hide();
    // The commands as the keys run them (the message window may still hold the focus).
    auto* next = window->findChild<QAction*>(QStringLiteral("nextObservedBand"));
    auto* summaryAgain = window->findChild<QAction*>(QStringLiteral("observedSummary"));
    ASSERT_NE(next, nullptr);
    ASSERT_NE(summaryAgain, nullptr);
    EXPECT_EQ(next->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    EXPECT_EQ(summaryAgain->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    next->trigger();
    waitForLoad();
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("aavso.csv [B]: ")))
        << window->windowTitle().toStdString();
    window->errorWindow()->hide();
    summaryAgain->trigger();
    EXPECT_TRUE(window->errorWindow()->isVisible());
    EXPECT_TRUE(window->errorWindow()->text().contains(QStringLiteral("band B: ")));
}

} // namespace
} // namespace orvanta::view::testing
