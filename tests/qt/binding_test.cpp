// SPDX-License-Identifier: GPL-3.0-or-later
// What the user does reaches the model; what the model changes reaches the widgets, and
// only where it differs from what they show.
#include "view_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QTextEdit>
#include <QWheelEvent>

#include <functional>

namespace orvanta::view::testing {
namespace {

/// The window widgets bound to the model: typing, scrolling, picking, ticking, errors.
class WidgetBinding : public ViewTest {};

TEST_F(WidgetBinding, TypingInABoxReachesTheModelsText) {
    show();
    auto* edit = widget<QLineEdit>("Text7");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "2.5");
    EXPECT_EQ(f.Text7.Text, "2.5");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(f.Text7.Text, "2.");
}

TEST_F(WidgetBinding, AModelChangeShowsInItsBoxAndLeavesTheBoxBeingTypedInAlone) {
    show();
    auto* typing = widget<QLineEdit>("Text1");
    typing->setFocus();
    typing->setCursorPosition(1);
    QTest::keyClicks(typing, "7"); // "15" becomes "175", the cursor after the 7
    ASSERT_EQ(f.Text1.Text, "175");
    ASSERT_EQ(typing->cursorPosition(), 2);

    f.Text2.Text = "250"; // as a handler running meanwhile would
    f.Text11.Text = "1.5E+30";
    window->refresh();

    EXPECT_EQ(widget<QLineEdit>("Text2")->text(), QStringLiteral("250"));
    EXPECT_EQ(widget<QLineEdit>("Text11")->text(), QStringLiteral("1.5E+30"));
    EXPECT_EQ(widget<QLineEdit>("Text11")->cursorPosition(), 0);
    EXPECT_EQ(typing->text(), QStringLiteral("175"));
    EXPECT_EQ(typing->cursorPosition(), 2);
    EXPECT_TRUE(typing->isUndoAvailable());
}

TEST_F(WidgetBinding, EnabledAndVisibleFollowTheModel) {
    f.Text7.Enabled = false;
    f.Text16.Visible = true;
    f.Frame2.Visible = false;
    window->refresh();
    show();
    EXPECT_FALSE(widget<QLineEdit>("Text7")->isEnabled());
    EXPECT_FALSE(widget<QWidget>("Frame2")->isVisible());
    EXPECT_FALSE(widget<QWidget>("Text16")->isVisible()); // inside the hidden frame
    f.Frame2.Visible = true;
    window->refresh();
    EXPECT_TRUE(widget<QWidget>("Text16")->isVisible());
}

// The ways a user moves a one-row list down by one row.
struct Scroll {
    const char* how;
    std::function<void(OneRowList*)> act;
};
void PrintTo(const Scroll& s, std::ostream* os) {
    *os << s.how;
}

class ListScroll : public ViewTest, public ::testing::WithParamInterface<Scroll> {};

TEST_P(ListScroll, MovesTheTopRowAndRunsTheListsHandler) {
    show();
    auto* list = widget<OneRowList>("List1");
    list->setFocus();
    GetParam().act(list);
    EXPECT_EQ(f.List1.TopIndex, 1);
    EXPECT_EQ(list->topRow(), 1);
    // The selector's handler rewrote the note beside the value box.
    EXPECT_EQ(f.Label4.Caption, "(Luminosity of Star A Surface)");
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ListScroll,
    ::testing::Values(Scroll{"DownKey", [](OneRowList* l) { QTest::keyClick(l, Qt::Key_Down); }},
                      Scroll{"Wheel",
                             [](OneRowList* l) {
                                 const QPointF at(20, 7);
                                 QWheelEvent wheel(at, l->mapToGlobal(at), QPoint(),
                                                   QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                                                   Qt::NoScrollPhase, false);
                                 QApplication::sendEvent(l, &wheel);
                             }},
                      Scroll{"ArrowOfTheBar",
                             [](OneRowList* l) {
                                 QScrollBar* bar = l->scrollBar();
                                 QTest::mouseClick(bar, Qt::LeftButton, {},
                                                   QPoint(bar->width() / 2, bar->height() - 2));
                             }}),
    [](const auto& test) { return std::string(test.param.how); });

TEST_F(WidgetBinding, AListStopsAtItsLastRowAndIgnoresAHalfWheelNotch) {
    show();
    auto* list = widget<OneRowList>("List3");
    list->setFocus();
    const QPointF at(20, 7);
    QWheelEvent half(at, list->mapToGlobal(at), QPoint(), QPoint(0, -60), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &half);
    EXPECT_EQ(f.List3.TopIndex, 0);
    QTest::keyClick(list, Qt::Key_End);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(f.List3.TopIndex, 1);
    EXPECT_EQ(list->topRow(), 1);
}

TEST_F(WidgetBinding, AModelsTopRowShowsWithoutRunningTheHandler) {
    f.List1.TopIndex = 3;
    window->refresh();
    EXPECT_EQ(widget<OneRowList>("List1")->topRow(), 3);
    EXPECT_EQ(f.Label4.Caption, "(Light Flux from Star A Surface)");
}

TEST_F(WidgetBinding, PickingASpectralTypeFillsAndLocksTheStarsBoxes) {
    show();
    auto* combo = widget<QComboBox>("Combo1");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down); // the empty first item
    QTest::keyClick(combo, Qt::Key_Down); // "O5V"
    EXPECT_EQ(f.Combo1.ListIndex, 1);
    EXPECT_EQ(f.Text7.Text, "40");
    auto* mass = widget<QLineEdit>("Text7");
    EXPECT_EQ(mass->text(), QStringLiteral("40"));
    EXPECT_FALSE(mass->isEnabled());
    EXPECT_EQ(widget<OneRowList>("List1")->topRow(), 2);
}

TEST_F(WidgetBinding, ClickingACheckBoxTogglesTheModelsValue) {
    show();
    auto* check = widget<QCheckBox>("Check1");
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(f.Check1.Value, 0);
    EXPECT_EQ(check->checkState(), Qt::Unchecked);
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(f.Check1.Value, 1);
    EXPECT_EQ(check->checkState(), Qt::Checked);
}

TEST_F(WidgetBinding, TheAnimationTicksEvery16MsPreciselyWhileTheTimerIsEnabled) {
    EXPECT_FALSE(window->animationTimer().isActive());
    f.Timer1.Enabled = true;
    window->refresh();
    EXPECT_TRUE(window->animationTimer().isActive());
    EXPECT_EQ(window->animationTimer().interval(), 16);
    EXPECT_EQ(window->animationTimer().timerType(), Qt::PreciseTimer);
    EXPECT_EQ(f.Timer1.Interval, 1); // the model's own setting stays
    f.Timer1.Enabled = false;
    window->refresh();
    EXPECT_FALSE(window->animationTimer().isActive());
}

int shownErrorWindows() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible()) ++n;
    return n;
}

TEST_F(WidgetBinding, AnErrorShowsOneNonModalWindowThatALaterErrorReuses) {
    show();
    // A radius beyond the double range overflows the luminosity of star A.
    auto* radius = widget<QLineEdit>("Text9");
    radius->setFocus();
    radius->selectAll();
    QTest::keyClicks(radius, "1E300");
    QTest::keyClick(widget<OneRowList>("List1"), Qt::Key_Down);

    ASSERT_EQ(shownErrorWindows(), 1);
    QMessageBox* box = window->errorWindow();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Orvanta"));
    EXPECT_EQ(box->text(), QStringLiteral("Run-time error '6':\nOverflow"));
    EXPECT_EQ(box->windowModality(), Qt::NonModal);

    f.Run([] { raise(err::DivisionByZero); });
    window->refresh();
    EXPECT_EQ(shownErrorWindows(), 1);
    EXPECT_EQ(window->errorWindow(), box);
    EXPECT_EQ(box->text(), QStringLiteral("Run-time error '11':\nDivision by zero"));

    // The window goes on taking input.
    auto* iterations = widget<QLineEdit>("Text2");
    QTest::keyClick(iterations, Qt::Key_End);
    QTest::keyClicks(iterations, "0");
    EXPECT_EQ(f.Text2.Text, "1000");

    box->close();
    f.Run([] { raise(err::Overflow); });
    window->refresh();
    EXPECT_EQ(shownErrorWindows(), 1);
}

TEST_F(WidgetBinding, DoubleClickingTheCreditsClosesThemInsteadOfSelectingAWord) {
    f.Text15.Visible = true;
    f.Image2.Visible = true;
    window->refresh();
    show();
    auto* credits = widget<QTextEdit>("Text15");
    QTest::mouseDClick(credits->viewport(), Qt::LeftButton, {}, QPoint(150, 30));
    EXPECT_FALSE(credits->textCursor().hasSelection());
    EXPECT_FALSE(f.Text15.Visible);
    EXPECT_FALSE(f.Image2.Visible);
    EXPECT_FALSE(credits->isVisible());
}

} // namespace
} // namespace orvanta::view::testing
