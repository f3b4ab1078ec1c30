// SPDX-License-Identifier: GPL-3.0-or-later
// The window at any size: the same picture scaled, aspect kept between black bars, and the
// pointer still reaching the model in the picture's pixels.
#include "view_fixture.h"

#include "ui/window_fit.h"

#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace orvanta::view::testing {
namespace {

void send(QWidget* to, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
          Qt::KeyboardModifiers keys) {
    QMouseEvent event(type, at, to->mapToGlobal(at), button, held, keys);
    QApplication::sendEvent(to, &event);
}

class Scaled : public ViewTest {
protected:
    void SetUp() override {
        show();
        window->load();
        ASSERT_EQ(f.ErrorCount, 0u);
    }
    void resizeTo(int w, int h) {
        window->resize(w, h);
        QApplication::processEvents();
        ASSERT_EQ(window->size(), QSize(w, h));
    }
    /// Where the centre of picture pixel (x, y) lies on the stage's viewport.
    [[nodiscard]] QPointF onStage(double x, double y) const {
        const QTransform t = window->stage()->transform();
        return {(x + 0.5) * t.m11(), (y + 0.5) * t.m22()};
    }
    void clickAt(double x, double y) {
        QWidget* viewport = window->stage()->viewport();
        send(viewport, QEvent::MouseButtonPress, onStage(x, y), Qt::LeftButton, Qt::LeftButton,
             Qt::NoModifier);
        send(viewport, QEvent::MouseButtonRelease, onStage(x, y), Qt::LeftButton, Qt::NoButton,
             Qt::NoModifier);
    }
};

TEST_F(Scaled, AtTwiceTheSizeTheWindowIsThePictureWithEveryPixelDoubled) {
    QApplication::processEvents(); // the stage's cache takes the loaded picture
    const QImage one = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(one.size(), QSize(794, 568));
    resizeTo(1588, 1136);
    EXPECT_EQ(window->pictureScale(), 2);
    const QImage two = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(two.size(), QSize(1588, 1136));
    const QImage expected = one.scaled(1588, 1136, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    // Offscreen, the grab at scale 1 lets a list's scroll bar spill a pixel over its frame
    // (180 pixels); every other pixel is the picture's, doubled.
    int differ = 0;
    for (int y = 0; y < 1136; ++y)
        for (int x = 0; x < 1588; ++x)
            differ += two.pixel(x, y) != expected.pixel(x, y) ? 1 : 0;
    EXPECT_LT(differ, 1588 * 1136 / 5000);
}

TEST_F(Scaled, AWiderWindowCentresThePictureBetweenBlackBars) {
    resizeTo(1200, 568);
    EXPECT_EQ(window->stage()->geometry(), QRect(203, 0, 794, 568));
    const QImage shot = window->grab().toImage();
    for (const QPoint p : {QPoint(0, 0), QPoint(202, 300), QPoint(997, 300), QPoint(1199, 567)})
        EXPECT_EQ(shot.pixel(p) & 0xFFFFFFu, 0u) << p.x() << "," << p.y();
    EXPECT_EQ(shot.pixel(203 + 300, 30) & 0xFFFFFFu, pixel(300, 30));
}

struct Size {
    int w, h;
};

class AtAnySize : public Scaled, public ::testing::WithParamInterface<Size> {};

// A click on the graph jumps to the step under it, and a Ctrl drag turns the orbit by the
// pixels moved on the picture, the same at every size.
TEST_P(AtAnySize, AClickAndACtrlDragReachTheModelInPicturePixels) {
    resizeTo(GetParam().w, GetParam().h);
    const PictureFit fit = fitPicture(GetParam().w, GetParam().h);
    EXPECT_EQ(window->stage()->geometry(), QRect(fit.left, fit.top, fit.width, fit.height));

    clickAt(56, 100); // column 56 is step 8 of 100
    EXPECT_EQ(f.StepNo.value(), 8);
    clickAt(57, 100);
    EXPECT_EQ(f.StepNo.value(), 8);
    clickAt(64, 100); // 64 * 100 / 793 = 8.07
    EXPECT_EQ(f.StepNo.value(), 9);

    QWidget* viewport = window->stage()->viewport();
    send(viewport, QEvent::MouseButtonPress, onStage(100, 100), Qt::LeftButton, Qt::LeftButton,
         Qt::ControlModifier);
    send(viewport, QEvent::MouseMove, onStage(140, 120), Qt::NoButton, Qt::LeftButton,
         Qt::ControlModifier);
    send(viewport, QEvent::MouseButtonRelease, onStage(140, 120), Qt::LeftButton, Qt::NoButton,
         Qt::ControlModifier);
    EXPECT_EQ(widget<QLineEdit>("Text4")->text(), QStringLiteral("10"));
    EXPECT_EQ(widget<QLineEdit>("Text5")->text(), QStringLiteral("-12.69"));
}

INSTANTIATE_TEST_SUITE_P(Sizes, AtAnySize,
                         ::testing::Values(Size{794, 568}, Size{1588, 1136}, Size{1920, 1080},
                                           Size{1000, 700}, Size{1024, 768}),
                         [](const auto& p) {
                             return std::to_string(p.param.w) + "x" + std::to_string(p.param.h);
                         });

TEST_F(Scaled, AClickOnAMenuLabelAtTheScaledPlaceRunsItsCommand) {
    resizeTo(1588, 1136);
    clickAt(764, 454); // "Play"
    EXPECT_EQ(f.Play.Caption, "Stop");
    clickAt(764, 454);
    EXPECT_EQ(f.Play.Caption, "Play");
}

TEST_F(Scaled, F11TogglesFullScreenAndEscapeLeavesIt) {
    press(Qt::Key_F11);
    EXPECT_TRUE(window->isFullScreen());
    // In full screen the picture leaves room for the title where the bars have none.
    const PictureFit fit = fullScreenFit(window->width(), window->height()).picture;
    EXPECT_EQ(window->stage()->geometry(), QRect(fit.left, fit.top, fit.width, fit.height));
    press(Qt::Key_Escape);
    EXPECT_FALSE(window->isFullScreen());
    press(Qt::Key_F11);
    EXPECT_TRUE(window->isFullScreen());
    press(Qt::Key_F11);
    EXPECT_FALSE(window->isFullScreen());
}

TEST_F(Scaled, FullScreenShowsTheTitleBesideThePictureNeverOverIt) {
    EXPECT_TRUE(window->fullScreenTitle()->isHidden());
    press(Qt::Key_F11);
    ASSERT_TRUE(window->isFullScreen());
    QApplication::processEvents();
    const QLabel* title = window->fullScreenTitle();
    const FullScreenFit fit = fullScreenFit(window->width(), window->height());
    EXPECT_TRUE(title->isVisible());
    EXPECT_EQ(title->text(), window->windowTitle());
    EXPECT_EQ(title->geometry(), QRect(fit.left, fit.top, fit.width, fit.height));
    EXPECT_EQ(title->font().pixelSize(), fit.textPixels);
    EXPECT_FALSE(title->geometry().intersects(window->stage()->geometry()));
    // A new title (an observed file, its fit) shows at once.
    window->setWindowTitle(QStringLiteral("Orvanta \u2014 x.txt"));
    window->refresh();
    EXPECT_EQ(title->text(), QString::fromStdString(f.windowTitle()));
    press(Qt::Key_F11);
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_TRUE(title->isHidden());
}

} // namespace
} // namespace orvanta::view::testing
