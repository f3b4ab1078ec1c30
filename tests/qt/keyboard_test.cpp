// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard through real key events: to whatever has the focus, as a user's keys go.
#include "view_fixture.h"

#include "form1.h"

#include <QLineEdit>

namespace orvanta::view::testing {
namespace {

class Keys : public ViewTest {
protected:
    void SetUp() override {
        show();
        window->load();
        ASSERT_EQ(f.ErrorCount, 0u);
        ASSERT_EQ(focused(), window->canvas()); // no box has the focus at start
    }
    QLineEdit* clickBox(const char* name) {
        auto* box = widget<QLineEdit>(name);
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(focused(), box);
        return box;
    }
};

TEST_F(Keys, EnterInAValueBoxPlotsWhatWasTyped) {
    QLineEdit* mass = clickBox("Text7");
    mass->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), "5");
    EXPECT_EQ(f.MassA.value(), 3.59);
    press(Qt::Key_Return);
    EXPECT_EQ(f.MassA.value(), 5);
    clickBox("Text2");
    f.Time = 0.001;
    press(Qt::Key_Enter); // the keypad's
    EXPECT_EQ(f.Time.value(), 0);
}

TEST_F(Keys, AfterEnterHasPlottedSpacePlaysUntilTheBoxIsEdited) {
    QLineEdit* mass = clickBox("Text7");
    mass->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), "5");
    press(Qt::Key_Return);
    EXPECT_EQ(f.MassA.value(), 5);
    press(Qt::Key_Space);
    EXPECT_EQ(f.Play.Caption, "Stop");
    EXPECT_EQ(mass->text(), QStringLiteral("5"));
    press(Qt::Key_Space);
    EXPECT_EQ(f.Play.Caption, "Play");
    // Edited again, the box takes its keys as before.
    press(Qt::Key_Backspace);
    press(Qt::Key_Space);
    EXPECT_EQ(f.Play.Caption, "Play");
    EXPECT_EQ(mass->text(), QStringLiteral(" "));
}

TEST_F(Keys, EscapeInABoxListOrCheckBoxGivesTheFocusBackToThePicture) {
    QLineEdit* mass = clickBox("Text7");
    mass->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), "4.2");
    press(Qt::Key_Escape);
    EXPECT_EQ(focused(), window->canvas());
    EXPECT_EQ(mass->text(), QStringLiteral("4.2")); // kept, for the next Plot
    EXPECT_EQ(f.MassA.value(), 3.59);
    press(Qt::Key_Right);
    EXPECT_EQ(f.StepNo.value(), 2);
    for (const char* name : {"Combo1", "Check1", "List3"}) {
        auto* control = widget<QWidget>(name);
        control->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(focused(), control) << name;
        press(Qt::Key_Escape);
        EXPECT_EQ(focused(), window->canvas()) << name;
    }
}

TEST_F(Keys, SpacePlaysAndStopsOnlyWhenNoBoxHasTheFocus) {
    press(Qt::Key_Space);
    EXPECT_EQ(f.Play.Caption, "Stop");
    EXPECT_TRUE(window->animationTimer().isActive());
    press(Qt::Key_Space);
    EXPECT_EQ(f.Play.Caption, "Play");
    QLineEdit* distance = clickBox("Text1");
    press(Qt::Key_Space);
    EXPECT_EQ(f.Play.Caption, "Play");
    EXPECT_TRUE(distance->text().contains(QLatin1Char(' ')));
}

TEST_F(Keys, TheRightArrowStepsButMovesTheCursorInABox) {
    press(Qt::Key_Right);
    EXPECT_EQ(f.StepNo.value(), 2);
    press(Qt::Key_Right);
    EXPECT_EQ(f.StepNo.value(), 3);
    QLineEdit* distance = clickBox("Text1");
    distance->setCursorPosition(0);
    press(Qt::Key_Right);
    EXPECT_EQ(f.StepNo.value(), 3);
    EXPECT_EQ(distance->cursorPosition(), 1);
}

TEST_F(Keys, PlusAndMinusChangeThePaceOfTheAnimation) {
    EXPECT_EQ(window->pace(), 60);
    press(Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(window->pace(), 90);
    EXPECT_EQ(window->animationTimer().interval(), 11);
    press(Qt::Key_Equal); // + without Shift
    EXPECT_EQ(window->pace(), 120);
    press(Qt::Key_Minus);
    press(Qt::Key_Minus);
    press(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(window->pace(), 45);
    EXPECT_EQ(window->animationTimer().interval(), 22);
    EXPECT_EQ(f.Timer1.Interval, 1); // the model's own timer stays as it is
    clickBox("Text3");
    press(Qt::Key_Minus);
    EXPECT_EQ(window->pace(), 45); // a sign typed into the box
}

TEST_F(Keys, CtrlLClearsCtrlHHidesAndF1OpensAboutWhereverTheFocusIs) {
    for (const bool inBox : {false, true}) {
        if (inBox) clickBox("Text7");
        f.PSet(300, 30, 0xFFFFFF);
        press(Qt::Key_L, Qt::ControlModifier);
        EXPECT_EQ(f.pixel(300, 30), Surface::Undrawn) << inBox;
        press(Qt::Key_H, Qt::ControlModifier);
        EXPECT_EQ(f.HideMenu.Caption, "Show  Menu") << inBox;
        press(Qt::Key_H, Qt::ControlModifier);
        EXPECT_EQ(f.HideMenu.Caption, "Hide  Menu") << inBox;
        if (inBox) {
            EXPECT_EQ(widget<QLineEdit>("Text7")->text(), QStringLiteral("3.59"));
        }
    }
    press(Qt::Key_F1);
    EXPECT_TRUE(f.Text15.Visible);
}

} // namespace
} // namespace orvanta::view::testing
