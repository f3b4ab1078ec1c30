// SPDX-License-Identifier: GPL-3.0-or-later
// Orvanta: the window of the eclipsing binary simulation, or `orvanta curve` without one.
#include "cli/curve_command.h"
#include "qt/main_window.h"

#include <QApplication>

#include <iostream>
#include <string_view>

int main(int argc, char* argv[]) {
    // Before any Qt object: the command needs no display and loads no platform plugin.
    if (argc >= 2 && std::string_view(argv[1]) == "curve")
        return orvanta::cli::runCurveCommand({argv + 2, argv + argc}, std::cout, std::cerr);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    orvanta::view::MainWindow window;
    window.show();
    window.load();
    return QApplication::exec();
}
