// Orvanta: the window of the eclipsing binary simulation.
#include "qt/main_window.h"
#include "ui/command_line.h"

#include <QApplication>
#include <QFile>

#include <iostream>

int main(int argc, char* argv[]) {
    // Help and version need no display: answered before any Qt object exists.
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
