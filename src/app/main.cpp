// SPDX-License-Identifier: GPL-3.0-or-later
// Orvanta: the window of the eclipsing binary simulation, or `orvanta curve` and `orvanta fit`
// without one.
#include "cli/curve_command.h"
#include "cli/fit_command.h"
#include "qt/main_window.h"
#include "ui/command_line.h"

#include <QApplication>
#include <QFile>

#include <iostream>
#include <string_view>

int main(int argc, char* argv[]) {
    // Before any Qt object: the command needs no display and loads no platform plugin.
    if (argc >= 2 && std::string_view(argv[1]) == "curve")
        return orvanta::cli::runCurveCommand({argv + 2, argv + argc}, std::cout, std::cerr);
    if (argc >= 2 && std::string_view(argv[1]) == "fit")
        return orvanta::cli::runFitCommand({argv + 2, argv + argc}, std::cout, std::cerr);

    // Help and version of the window need no display either.
    const orvanta::WindowCommand asked = orvanta::readWindowCommand({argv + 1, argv + argc});
    if (asked.help || asked.version) {
        std::cout << (asked.help ? orvanta::windowHelp() : "orvanta " ORVANTA_VERSION "\n");
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    orvanta::view::MainWindow window;
    window.show();
    window.load();
    // The file is read from what the toolkit left of the arguments (-platform NAME gone).
    if (const auto file = orvanta::readWindowCommand({argv + 1, argv + argc}).file)
        window.openObserved(QFile::decodeName(file->c_str()));
    return QApplication::exec();
}
