// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl+E and Ctrl+S: the light curve as CSV and the window as PNG, through save dialogs.
#include "view_fixture.h"

#include "cli/curve_command.h"
#include "render/curve_table.h"

#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

#include <clocale>
#include <locale>
#include <sstream>

namespace orvanta::view::testing {
namespace {

/// A window whose settings live in a folder of the test's own.
class SaveTest : public ViewTest {
protected:
    SaveTest() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }
    /// Presses the keys on the focused widget, as a user would.
    void press(Qt::Key key) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : window.get(), key, Qt::ControlModifier);
    }
    /// Picks `name` in the open save dialog and saves.
    void saveAs(const QString& name) {
        QFileDialog* dialog = window->saveDialog();
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(folder.filePath(name));
        static_cast<QDialog*>(dialog)->accept(); // the Save button
        EXPECT_FALSE(dialog->isVisible());
    }
    QByteArray contents(const QString& name) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return file.readAll();
    }
    static std::string command(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        EXPECT_EQ(cli::runCurveCommand(args, out, err), 0) << err.str();
        return out.str();
    }
    QTemporaryDir settingsDir;
    QTemporaryDir folder;
};

TEST_F(SaveTest, CtrlEInABoxSavesWhatTheCommandPrintsForTheSameValues) {
    show();
    window->load();
    auto* mass = widget<QLineEdit>("Text7");
    mass->setFocus();
    mass->selectAll();
    QTest::keyClicks(mass, "2");
    press(Qt::Key_E); // a text box's own Ctrl+E (end of line) must not take it
    QFileDialog* dialog = window->saveDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("csv"));
    EXPECT_TRUE(dialog->nameFilters().join(' ').contains(QStringLiteral("*.csv")));
    EXPECT_TRUE(dialog->selectedFiles().value(0).endsWith(QStringLiteral("/light-curve.csv")));
    saveAs(QStringLiteral("mine.csv"));
    EXPECT_EQ(contents(QStringLiteral("mine.csv")).toStdString(), command({"--mass-a", "2"}));

    // The next dialog opens where the last file went.
    press(Qt::Key_E);
    ASSERT_NE(window->saveDialog(), nullptr);
    EXPECT_EQ(window->saveDialog()->directory().absolutePath(), QDir(folder.path()).absolutePath());
    window->saveDialog()->reject();
    EXPECT_EQ(MainWindow::saveFolder(), QDir(folder.path()).absolutePath());
}

// A locale with a decimal comma for the C++ library, whether or not the system has de_DE.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST_F(SaveTest, GermanLocaleKeepsDecimalPoints) {
    show();
    window->load();
    const std::string expected = command({});
    const QLocale savedQt;
    const std::locale savedCpp;
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8"); // where the system (or the build's LOCPATH) has it
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    press(Qt::Key_E);
    saveAs(QStringLiteral("de.csv"));
    std::locale::global(savedCpp);
    QLocale::setDefault(savedQt);
    std::setlocale(LC_ALL, savedC.c_str());
    EXPECT_EQ(contents(QStringLiteral("de.csv")).toStdString(), expected);
}

TEST_F(SaveTest, ARunTimeErrorShowsInTheErrorWindowAndAsksForNoFile) {
    show();
    window->load();
    f.Text7.Text = "0";
    f.Text8.Text = "0";
    press(Qt::Key_E);
    EXPECT_EQ(window->saveDialog(), nullptr);
    ASSERT_NE(window->errorWindow(), nullptr);
    EXPECT_TRUE(window->errorWindow()->isVisible());
    EXPECT_EQ(window->errorWindow()->text(),
              QStringLiteral("Run-time error '11':\nDivision by zero"));
}

TEST_F(SaveTest, CtrlSSavesTheWindowAsShown) {
    show();
    window->load();
    f.Text3.Text = "0.4"; // a second curve over the first
    f.Plot_Click();
    window->refresh();
    press(Qt::Key_S);
    QFileDialog* dialog = window->saveDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("png"));
    EXPECT_TRUE(dialog->selectedFiles().value(0).endsWith(QStringLiteral(".png")));
    saveAs(QStringLiteral("window.png"));

    QImage png;
    ASSERT_TRUE(png.loadFromData(contents(QStringLiteral("window.png")), "PNG"));
    ASSERT_EQ(png.size(), QSize(794, 568)); // offscreen, at a device pixel ratio of 1
    // Above the panels the picture is the composed canvas, curves and marks included.
    const QImage& canvas = window->canvas()->picture();
    int differ = 0;
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 794; ++x)
            differ += (png.pixel(x, y) & 0xFFFFFFu) != (canvas.pixel(x, y) & 0xFFFFFFu);
    EXPECT_EQ(differ, 0);
    // A point of the curve, white on the surface, is white in the file.
    int x = 100, y = 34;
    while (y < 360 && f.pixel(x, y) != White)
        ++y;
    ASSERT_LT(y, 360);
    EXPECT_EQ(png.pixel(x, y) & 0xFFFFFFu, 0xFFFFFFu);
    // The panels' widgets are there too: Text1's box, not the picture beneath it.
    EXPECT_EQ(png.pixel(150, 455) & 0xFFFFFFu, 0xF0F0F0u);
    EXPECT_NE(canvas.pixel(150, 455) & 0xFFFFFFu, 0xF0F0F0u);
}

TEST_F(SaveTest, AFileThatCannotBeWrittenIsSaidSoAndNothingIsLeft) {
    show();
    const QString path = folder.filePath(QStringLiteral("missing/curve.csv"));
    EXPECT_FALSE(window->saveFile(path, "x"));
    auto* box = window->findChild<QMessageBox*>(QStringLiteral("saveFailed"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QStringLiteral("missing")));
    box->close();
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

// Saving over a file replaces it whole, with a watcher forked from the window's own process
// for the moment the new file has a name of its own, and leaves nothing else in the folder.
TEST_F(SaveTest, SavingOverAFileReplacesItAndLeavesNothingElse) {
    show();
    const QString path = folder.filePath(QStringLiteral("curve.csv"));
    ASSERT_TRUE(window->saveFile(path, "first\n"));
    ASSERT_TRUE(window->saveFile(path, "second\n"));
    EXPECT_EQ(contents(QStringLiteral("curve.csv")), QByteArray("second\n"));
    EXPECT_EQ(QDir(folder.path())
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                  .size(),
              1);
}

} // namespace
} // namespace orvanta::view::testing
