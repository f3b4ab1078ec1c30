// SPDX-License-Identifier: GPL-3.0-or-later
// Resident memory of the whole program: after start-up, and after 100 000 animation steps
// shown in the window (each tick handed to the model, the view refreshed and repainted).
#include "qt/main_window.h"

#include <QApplication>

#include <cstdio>
#include <fstream>
#include <string>

namespace {
// VmRSS of this process in kB, from /proc.
long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    orvanta::view::MainWindow window;
    window.show();
    window.load();
    QApplication::processEvents();
    const long startup = residentKilobytes();
    orvanta::Form1& form = window.form();
    form.Play_Click();
    const int steps = argc > 1 ? std::stoi(argv[1]) : 100000;
    long peak = startup;
    for (int i = 1; i <= steps; ++i) {
        form.TimerTick();
        window.refresh();
        window.repaint();
        if (i % 10000 == 0) {
            const long now = residentKilobytes();
            if (now > peak) peak = now;
            std::printf("after %6d steps: %6.1f MB resident\n", i, now / 1024.0);
        }
    }
    std::printf("after start-up:     %6.1f MB resident\n", startup / 1024.0);
    std::printf("after %d steps: %6.1f MB resident (peak %.1f MB), StepNo %g, errors %u\n", steps,
                residentKilobytes() / 1024.0, peak / 1024.0, form.StepNo.value(), form.ErrorCount);
    return form.ErrorCount == 0 ? 0 : 1;
}
