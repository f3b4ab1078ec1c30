// SPDX-License-Identifier: GPL-3.0-or-later
// The period of an observed file found in its data: searched as a file without a period
// opens, named in the title, switched to the other candidate with Ctrl+Alt+P, searched
// again with Ctrl+Shift+P; a file's own period kept.
#include "qt/observed_view.h"
#include "qt/period_view.h"
#include "view_fixture.h"

#include <QMessageBox>
#include <QTemporaryDir>

#include <fstream>

namespace orvanta::view::testing {
namespace {

class PeriodViewTest : public ViewTest {
protected:
    PeriodViewTest() {
        window->load();
        // The teaching file of the twins, with and without its period and epoch lines.
        std::ifstream in(ORVANTA_SOURCE_DIR "/data/twins.csv");
        std::ofstream own(path("own.csv").toStdString());
        std::ofstream none(path("twins.csv").toStdString());
        for (std::string line; std::getline(in, line);) {
            own << line << '\n';
            if (line.rfind("# period", 0) != 0 && line.rfind("# epoch", 0) != 0)
                none << line << '\n';
        }
    }
    [[nodiscard]] QString path(const char* name) const {
        return dir.filePath(QString::fromUtf8(name));
    }
    void open(const char* name) {
        window->openObserved(path(name));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !window->observedLoader().busy() && !window->periodView().busy(); },
            20000));
    }
    [[nodiscard]] std::string title() const { return window->windowTitle().toStdString(); }

    QTemporaryDir dir;
};

TEST_F(PeriodViewTest, AFileWithoutAPeriodIsFoldedOnTheOneFoundAndTheTitleSaysSo) {
    show();
    open("twins.csv");
    // One kind of eclipse is seen: the orbit has two equal ones, and the half is offered.
    EXPECT_NE(title().find(", period 1.1617 d found in the data, or 0.5809 d (Ctrl+Alt+P)"),
              std::string::npos)
        << title();
    ASSERT_TRUE(f.observed.set());
    EXPECT_NEAR(*f.observed.set()->period, 1.1617, 1e-4);
    ASSERT_TRUE(window->periodView().found().has_value());

    // The command as its key runs it (the window's summary of the file may hold the focus).
    auto* other = window->findChild<QAction*>(QStringLiteral("switchPeriod"));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
    other->trigger();
    EXPECT_NE(title().find(", period 0.5809 d found in the data, or 1.1617 d (Ctrl+Alt+P)"),
              std::string::npos)
        << title();
    EXPECT_NEAR(*f.observed.set()->period, 0.5809, 1e-4);
    other->trigger();
    EXPECT_NEAR(*f.observed.set()->period, 1.1617, 1e-4);

    // Removed: the note goes with the points, and the switch has nothing to switch.
    window->findChild<QAction*>(QStringLiteral("removeObserved"))->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Orvanta"));
    other->trigger();
    EXPECT_FALSE(f.observed.set());
}

TEST_F(PeriodViewTest, AFilesOwnPeriodIsUsedUntilASearchIsAskedFor) {
    show();
    open("own.csv");
    EXPECT_EQ(title().find("found in the data"), std::string::npos) << title();
    EXPECT_DOUBLE_EQ(*f.observed.set()->period, 1.161730);
    EXPECT_FALSE(window->periodView().found().has_value());

    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->periodView().busy(); }, 20000));
    EXPECT_NE(title().find("period 1.1617 d found in the data"), std::string::npos) << title();
    EXPECT_NEAR(*f.observed.set()->period, 1.1617, 1e-4);
}

TEST_F(PeriodViewTest, NoPeriodFoundIsSaidAndThePointsAreShownAsRead) {
    show();
    std::ofstream(path("flat.txt").toStdString()) << [] {
        std::string rows = "HJD mag\n";
        for (int i = 0; i < 100; ++i)
            rows += std::to_string(2459000 + 0.37 * i) + " 7.5\n";
        return rows;
    }();
    open("flat.txt");
    ASSERT_TRUE(f.observed.set());
    EXPECT_FALSE(f.observed.set()->period.has_value());
    ASSERT_NE(window->errorWindow(), nullptr);
    EXPECT_EQ(window->errorWindow()->text(),
              QStringLiteral("No period found in flat.txt:\nthe light does not vary"));
}

} // namespace
} // namespace orvanta::view::testing
