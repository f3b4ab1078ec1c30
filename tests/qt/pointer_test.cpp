// SPDX-License-Identifier: GPL-3.0-or-later
// Pointer input: Qt's buttons and keys as the handlers' codes, the pointer shapes, and a
// real Ctrl drag on the window surface.
#include "view_fixture.h"

#include "qt/input_codes.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTextEdit>

namespace orvanta::view::testing {
namespace {

/// Pointer input through the real widgets.
class PointerInput : public ViewTest {};

struct Modifiers {
    Qt::KeyboardModifiers keys;
    int code;
};
class ModifierCode : public ::testing::TestWithParam<Modifiers> {};
TEST_P(ModifierCode, IsTheBitSumOfShiftCtrlAlt) {
    EXPECT_EQ(shiftCode(GetParam().keys), GetParam().code);
}
INSTANTIATE_TEST_SUITE_P(
    Keys, ModifierCode,
    ::testing::Values(Modifiers{Qt::NoModifier, 0}, Modifiers{Qt::ShiftModifier, 1},
                      Modifiers{Qt::ControlModifier, 2}, Modifiers{Qt::AltModifier, 4},
                      Modifiers{Qt::ShiftModifier | Qt::ControlModifier, 3},
                      Modifiers{Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 7},
                      Modifiers{Qt::MetaModifier | Qt::KeypadModifier, 0}));

struct Buttons {
    Qt::MouseButtons held;
    int code;
};
class ButtonsCode : public ::testing::TestWithParam<Buttons> {};
TEST_P(ButtonsCode, IsTheBitSumOfLeftRightMiddle) {
    EXPECT_EQ(buttonsCode(GetParam().held), GetParam().code);
}
INSTANTIATE_TEST_SUITE_P(
    Held, ButtonsCode,
    ::testing::Values(Buttons{Qt::NoButton, 0}, Buttons{Qt::LeftButton, 1},
                      Buttons{Qt::RightButton, 2}, Buttons{Qt::MiddleButton, 4},
                      Buttons{Qt::LeftButton | Qt::RightButton, 3},
                      Buttons{Qt::LeftButton | Qt::MiddleButton | Qt::RightButton, 7},
                      Buttons{Qt::BackButton | Qt::ForwardButton, 0}));

TEST(ButtonCode, NamesOneButtonAndNoOther) {
    EXPECT_EQ(buttonCode(Qt::LeftButton), 1);
    EXPECT_EQ(buttonCode(Qt::RightButton), 2);
    EXPECT_EQ(buttonCode(Qt::MiddleButton), 4);
    EXPECT_EQ(buttonCode(Qt::BackButton), 0);
}

struct Hover {
    const char* over;
    QPoint at;
    Qt::CursorShape shape;
};
void PrintTo(const Hover& h, std::ostream* os) {
    *os << h.over;
}
class PointerShape : public ViewTest, public ::testing::WithParamInterface<Hover> {};

TEST_P(PointerShape, FollowsWhatLiesUnderThePointer) {
    show();
    QTest::mouseMove(window->canvas(), GetParam().at);
    EXPECT_EQ(window->canvas()->cursor().shape(), GetParam().shape);
}

INSTANTIATE_TEST_SUITE_P(Surface, PointerShape,
                         ::testing::Values(Hover{"BareSurface", {300, 30}, Qt::CrossCursor},
                                           Hover{"StarShape", {70, 230}, Qt::CrossCursor},
                                           Hover{"PlotLabel", {760, 430}, Qt::UpArrowCursor},
                                           Hover{"HideMenuLabel", {760, 550}, Qt::UpArrowCursor},
                                           Hover{"Emblem", {760, 390}, Qt::ArrowCursor}),
                         [](const auto& test) { return std::string(test.param.over); });

TEST_F(PointerInput, WidgetsCarryTheirPointers) {
    EXPECT_EQ(widget<QWidget>("Frame1")->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(widget<QWidget>("Frame2")->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(widget<QLineEdit>("Text4")->cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(widget<QTextEdit>("Text15")->viewport()->cursor().shape(), Qt::ArrowCursor);
}

void send(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
          Qt::KeyboardModifiers keys) {
    QMouseEvent event(type, QPointF(at), QPointF(to->mapToGlobal(at)), button, held, keys);
    QApplication::sendEvent(to, &event);
}

// QTest's mouse moves carry no modifier keys, so the events are made here.
TEST_F(PointerInput, ACtrlDragOnTheSurfaceTurnsTheOrbitAndEchoesTheAngles) {
    show();
    window->load();
    QWidget* canvas = window->canvas();
    send(canvas, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton,
         Qt::ControlModifier);
    send(canvas, QEvent::MouseMove, {140, 120}, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(f.Text4.Text, "10");
    EXPECT_EQ(f.Text5.Text, "-12.69");
    EXPECT_EQ(widget<QLineEdit>("Text4")->text(), QStringLiteral("10"));
    EXPECT_EQ(widget<QLineEdit>("Text5")->text(), QStringLiteral("-12.69"));
    send(canvas, QEvent::MouseButtonRelease, {140, 120}, Qt::LeftButton, Qt::NoButton,
         Qt::ControlModifier);
    EXPECT_FALSE(f.Dragging);
}

TEST_F(PointerInput, PlayStartsTheTickingAnimationAndStopStopsIt) {
    show();
    window->load();
    const QPoint play(760, 454);
    QTest::mouseClick(window->canvas(), Qt::LeftButton, {}, play);
    EXPECT_EQ(f.Play.Caption, "Stop");
    EXPECT_TRUE(window->animationTimer().isActive());
    const Num before = f.StepNo;
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.StepNo > before; }, 5000));
    QTest::mouseClick(window->canvas(), Qt::LeftButton, {}, play);
    EXPECT_EQ(f.Play.Caption, "Play");
    EXPECT_FALSE(window->animationTimer().isActive());
}

TEST_F(PointerInput, AFaultWhileRunningStopsTheTimerWithOneErrorWindow) {
    show();
    window->load();
    QTest::mouseClick(window->canvas(), Qt::LeftButton, {}, QPoint(760, 454));
    ASSERT_TRUE(window->animationTimer().isActive());
    f.Eccen = 1; // Kepler's equation has no orbit for it
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->animationTimer().isActive(); }, 5000));
    EXPECT_EQ(f.Play.Caption, "Play");
    ASSERT_NE(window->errorWindow(), nullptr);
    EXPECT_TRUE(window->errorWindow()->isVisible());
    EXPECT_EQ(f.ErrorCount, 1u);
}

TEST_F(PointerInput, AboutOpensTheCreditsAndADoubleClickOnThePictureClosesThem) {
    show();
    window->load();
    QTest::mouseClick(window->canvas(), Qt::LeftButton, {}, QPoint(760, 522));
    EXPECT_TRUE(widget<QTextEdit>("Text15")->isVisible());
    EXPECT_EQ(pixel(84 + 100, 57 + 100),
              pictures.picture("credits.jpg")->pixel(100, 100) & 0xFFFFFFu);
    QTest::mouseDClick(window->canvas(), Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_FALSE(f.Image2.Visible);
    EXPECT_FALSE(widget<QTextEdit>("Text15")->isVisible());
}

} // namespace
} // namespace orvanta::view::testing
