// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt tests need one QApplication for the whole run; they draw offscreen.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // Also when the test list is read at build time, where no display may exist.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
