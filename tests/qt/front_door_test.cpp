// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's command line, its saves to links and special files, its place
// remembered between runs, and Ctrl+Q.
#include "qt/window_options.h"
#include "view_fixture.h"

#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::view::testing {
namespace {

WindowOptions read(const QStringList& arguments) {
    return readWindowOptions(QStringList{QStringLiteral("orvanta")} + arguments);
}

TEST(WindowOptionsTest, QtsOwnOptionsPassAndOthersAreUsageErrors) {
    WindowOptions o = read({"-platform", "offscreen", "-style", "Fusion", "-reverse", "algol.txt"});
    EXPECT_EQ(o.action, WindowOptions::Action::Window);
    EXPECT_EQ(o.file, QStringLiteral("algol.txt"));
    EXPECT_TRUE(o.platform);
    EXPECT_EQ(read({"--platform=offscreen", "-qwindowgeometry", "800x600+0+0"}).action,
              WindowOptions::Action::Window);
    EXPECT_FALSE(read({}).platform);
    EXPECT_TRUE(read({}).file.isEmpty());

    o = read({"--bogus"});
    EXPECT_EQ(o.action, WindowOptions::Action::Error);
    EXPECT_EQ(o.error, QStringLiteral("orvanta: unknown option '--bogus' (see 'orvanta --help')"));
    EXPECT_EQ(read({"-x\n"}).error,
              QStringLiteral("orvanta: unknown option '-x\\n' (see 'orvanta --help')"));
    EXPECT_EQ(read({"a.txt", "b.txt"}).action, WindowOptions::Action::Error);
    // After "--" a name that starts with a dash is a file.
    o = read({"--", "-odd name.csv"});
    EXPECT_EQ(o.action, WindowOptions::Action::Window);
    EXPECT_EQ(o.file, QStringLiteral("-odd name.csv"));
    EXPECT_EQ(read({"a.txt", "--help"}).action, WindowOptions::Action::Help);
    EXPECT_EQ(read({"-h"}).action, WindowOptions::Action::Help);
    EXPECT_EQ(read({"--version"}).action, WindowOptions::Action::Version);
}

/// A window whose settings live in a folder of the test's own.
class FrontDoorTest : public ViewTest {
protected:
    FrontDoorTest() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }
    QTemporaryDir settingsDir;
    QTemporaryDir folder;
};

TEST_F(FrontDoorTest, SavesGoThroughLinksKeepPermissionsAndRefuseAFifo) {
    show();
    const QString target = folder.filePath(QStringLiteral("target.csv"));
    const QString link = folder.filePath(QStringLiteral("link.csv"));
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    ::chmod(QFile::encodeName(target).constData(), 0600);
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_TRUE(window->saveFile(link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    QFile saved(target);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("new"));
    EXPECT_EQ(saved.permissions() & 0x0FFF, QFile::ReadUser | QFile::WriteUser); // 0600

    const QString fifo = folder.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(window->saveFile(fifo, "x"));
    auto* box = window->findChild<QMessageBox*>(QStringLiteral("saveFailed"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().endsWith(QStringLiteral("a FIFO (a pipe), not a regular file")))
        << box->text().toStdString();
    box->close();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::System).size(), 3);
}

TEST_F(FrontDoorTest, ThePlaceAndFullScreenAreThereAtTheNextStart) {
    show();
    const QRect free = window->screen()->availableGeometry();
    window->setGeometry(free.left() + 20, free.top() + 30, 500, 400);
    window->savePlace();
    {
        MainWindow next;
        next.restorePlace();
        EXPECT_EQ(next.size(), QSize(500, 400));
        EXPECT_FALSE(next.isFullScreen());
    }
    window->showFullScreen();
    window->savePlace();
    MainWindow again;
    again.restorePlace();
    EXPECT_TRUE(again.windowState().testFlag(Qt::WindowFullScreen));
}

TEST_F(FrontDoorTest, APlaceOnAScreenThatIsGoneComesBackOntoOneThatIsThere) {
    show();
    window->setGeometry(30000, 30000, 500, 400); // the screen it was on has gone
    window->savePlace();
    MainWindow next;
    next.restorePlace();
    const QRect free = window->screen()->availableGeometry();
    EXPECT_TRUE(free.intersects(next.geometry())) << next.geometry().x();
}

TEST_F(FrontDoorTest, CtrlQCloses) {
    show();
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace orvanta::view::testing
