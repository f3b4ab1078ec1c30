// Orvanta: the window of the eclipsing binary simulation.
#include "qt/main_window.h"
#include "qt/observed_view.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    orvanta::view::MainWindow window;
    window.show();
    window.load();
    if (const auto file = orvanta::view::observedFileArgument(QApplication::arguments()))
        window.openObserved(*file);
    return QApplication::exec();
}
