// SPDX-License-Identifier: GPL-3.0-or-later
// A shown window, fresh for every test.
#pragma once

#include "qt/canvas.h"
#include "qt/main_window.h"
#include "qt/one_row_list.h"
#include "qt/panel_frame.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace orvanta::view::testing {

class ViewTest : public ::testing::Test {
protected:
    ViewTest() : window(std::make_unique<MainWindow>()), f(window->form()) {}
    void show() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <class W> W* widget(const char* name) {
        auto* w = window->client()->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    /// The control that has the focus inside the client area (the application's focus
    /// widget is the stage that shows it).
    [[nodiscard]] QWidget* focused() const { return window->client()->focusWidget(); }
    /// A key pressed and released as the user's keyboard gives it: to the focused widget.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    /// The composed window picture's pixel, as 0xRRGGBB.
    [[nodiscard]] QRgb pixel(int x, int y) const {
        return window->canvas()->picture().pixel(x, y) & 0xFFFFFFu;
    }
    /// The background picture's pixel, as 0xRRGGBB.
    [[nodiscard]] QRgb backgroundPixel(int x, int y) const {
        return pictures.background.pixel(x, y) & 0xFFFFFFu;
    }

    std::unique_ptr<MainWindow> window;
    Form1& f;
    Pictures pictures = Pictures::load();
};

} // namespace orvanta::view::testing
