// SPDX-License-Identifier: GPL-3.0-or-later
// Orvanta: the window of the eclipsing binary simulation.
#include "qt/main_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    orvanta::view::MainWindow window;
    window.show();
    window.load();
    return QApplication::exec();
}
