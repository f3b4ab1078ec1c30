// SPDX-License-Identifier: GPL-3.0-or-later
// Where the keyboard focus goes: never to a box by itself, and a box reached by Tab shows
// the start of its text.
#include "view_fixture.h"

#include <QLineEdit>

namespace orvanta::view::testing {
namespace {

/// Where the keyboard focus goes after the panels come back and on Tab.
class Focus : public ViewTest {};

constexpr QPoint OnHideMenu(764, 552);

TEST_F(Focus, AfterHideAndShowMenuNoBoxHoldsTheFocusWithItsTextSelected) {
    show();
    window->load();
    auto* mass = widget<QLineEdit>("Text7");
    QTest::mouseClick(mass, Qt::LeftButton);
    ASSERT_EQ(focused(), mass);
    QTest::mouseClick(window->canvas(), Qt::LeftButton, {}, OnHideMenu);
    ASSERT_EQ(f.HideMenu.Caption, "Show  Menu");
    QTest::mouseClick(window->canvas(), Qt::LeftButton, {}, OnHideMenu);
    ASSERT_EQ(f.HideMenu.Caption, "Hide  Menu");
    EXPECT_EQ(qobject_cast<QLineEdit*>(focused()), nullptr)
        << focused()->objectName().toStdString();
    for (QLineEdit* box : window->client()->findChildren<QLineEdit*>())
        EXPECT_FALSE(box->hasSelectedText()) << box->objectName().toStdString();
    // The next key typed goes to no box.
    QTest::keyClicks(QApplication::focusWidget(), "7");
    EXPECT_EQ(mass->text(), QStringLiteral("3.59"));
}

TEST_F(Focus, ABoxReachedByTabShowsTheStartOfItsSelectedText) {
    show();
    window->load();
    auto* flux = widget<QLineEdit>("Text12");
    ASSERT_GT(flux->text().size(), 8); // longer than the box shows
    widget<QLineEdit>("Text11")->setFocus(Qt::MouseFocusReason);
    press(Qt::Key_Tab);
    ASSERT_EQ(focused(), flux);
    EXPECT_EQ(flux->cursorPosition(), 0);
    EXPECT_EQ(flux->selectedText(), flux->text()); // typing still replaces it, as Tab does
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(widget<QLineEdit>("Text11")->cursorPosition(), 0);
}

// The spectral-type lists and the "Auto" boxes show where Tab is: a frame while they have
// the focus, and not a pixel changed when they have not.
TEST_F(Focus, TheTypeListsAndAutoBoxesShowAFrameWhenTabReachesThem) {
    show();
    window->load();
    for (const char* name : {"Combo1", "Combo2", "Check1", "Check2"}) {
        auto* control = widget<QWidget>(name);
        const QImage before = control->grab().toImage();
        control->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(focused(), control) << name;
        const QImage framed = control->grab().toImage();
        const QRgb highlight =
            control->palette().color(QPalette::Active, QPalette::Highlight).rgb();
        int frame = 0;
        for (int x = 0; x < framed.width(); ++x)
            frame += (framed.pixel(x, 0) & 0xFFFFFFu) == (highlight & 0xFFFFFFu);
        EXPECT_EQ(frame, framed.width()) << name << ": the top edge in the highlight colour";
        window->canvas()->setFocus(Qt::OtherFocusReason);
        EXPECT_EQ(control->grab().toImage(), before) << name;
    }
}

} // namespace
} // namespace orvanta::view::testing
