// SPDX-License-Identifier: GPL-3.0-or-later
// The window of the eclipsing binary simulation, started by `orvanta` with its arguments.
#include "qt/main_window.h"
#include "qt/window_options.h"
#include "ui/command_line.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>

#include <iostream>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

/// While the toolkit starts, its messages wait: a display that cannot be opened ends the
/// program with one sentence, not Qt's abort; otherwise they are printed once it is up.
bool starting = true;
QtMessageHandler qtHandler = nullptr;
std::vector<std::pair<QtMsgType, QString>> held;

void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!starting) {
        qtHandler(type, context, text);
        return;
    }
    if (type == QtFatalMsg) {
        std::cerr << orvanta::displayFailed() << '\n' << std::flush;
        ::_exit(2);
    }
    held.emplace_back(type, text);
}

bool waylandPluginInstalled() {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("libqwayland-*.so")}, QDir::Files).isEmpty();
}

} // namespace

int main(int argc, char* argv[]) {
    using orvanta::view::WindowOptions;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Help, version and a bad command line need no display.
    const WindowOptions options = orvanta::view::readWindowOptions(arguments);
    switch (options.action) {
    case WindowOptions::Action::Help:
        std::cout << orvanta::windowHelp() << std::flush;
        return std::cout ? 0 : 2;
    case WindowOptions::Action::Version:
        std::cout << orvanta::versionText() << std::flush;
        return std::cout ? 0 : 2;
    case WindowOptions::Action::Error:
        std::cerr << options.error.toLocal8Bit().constData() << '\n';
        return 2;
    case WindowOptions::Action::Window:
        break;
    }

    orvanta::DisplayPlace place;
    place.platformChosen = options.platform || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    place.x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    place.wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    place.waylandPlugin = place.wayland && waylandPluginInstalled();
    const orvanta::PlatformChoice choice = orvanta::choosePlatform(place);
    if (!choice.whyNot.empty()) {
        std::cerr << choice.whyNot << '\n';
        return 2;
    }
    if (!choice.platforms.empty()) qputenv("QT_QPA_PLATFORM", choice.platforms.c_str());

    qtHandler = qInstallMessageHandler(startupMessages);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    // Docks and task bars match the window to its desktop entry by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.orvanta"));
    orvanta::view::MainWindow window;
    window.restorePlace();
    window.show();
    starting = false;
    for (const auto& [type, text] : held)
        qtHandler(type, QMessageLogContext(), text);
    held.clear();
    window.load();
    if (!options.file.isEmpty()) window.openObserved(options.file);
    QObject::connect(&app, &QApplication::aboutToQuit, &window, [&window] { window.savePlace(); });
    return QApplication::exec();
}
