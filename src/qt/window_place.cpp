// SPDX-License-Identifier: GPL-3.0-or-later
// Where the window stands and how the picture fills it: the place remembered between runs, the
// picture scaled into any size, full screen with the title in the bars.
#include "qt/main_window.h"

#include "qt/marks.h"
#include "ui/window_fit.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsView>
#include <QLabel>
#include <QSettings>
#include <QShortcut>

namespace orvanta::view {

void MainWindow::restorePlace() {
    // Qt puts a window whose screen has gone back onto one that is there.
    const QByteArray place = settings().value(QStringLiteral("window/geometry")).toByteArray();
    if (!place.isEmpty()) restoreGeometry(place);
}

void MainWindow::savePlace() {
    settings().setValue(QStringLiteral("window/geometry"), saveGeometry());
}

double MainWindow::pictureScale() const {
    return view_->transform().m11();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitPicture();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && leaveFullScreen_ != nullptr) {
        leaveFullScreen_->setEnabled(isFullScreen());
        fitPicture();
    }
    if (event->type() == QEvent::ScreenChangeInternal) fitPicture();
}

void MainWindow::fitPicture() {
    if (view_ == nullptr) return;
    PictureFit fit = orvanta::fitPicture(width(), height());
    if (isFullScreen()) fit = fullScreenFit(width(), height()).picture;
    showFullScreenTitle();
    view_->setGeometry(fit.left, fit.top, fit.width, fit.height);
    // Each side fills its whole pixels exactly; the two scales differ by under a pixel.
    const double sx = static_cast<double>(fit.width) / WindowWidth;
    const double sy = static_cast<double>(fit.height) / WindowHeight;
    view_->setTransform(QTransform::fromScale(sx, sy));
    // The picture is composed at its own 794 x 568 pixels, then scaled: every picture pixel
    // a sharp square at whole-number scales (of device pixels), blended in between.
    proxy_->setCacheMode(QGraphicsItem::ItemCoordinateCache);
    const double ratio = devicePixelRatioF();
    view_->setRenderHint(QPainter::SmoothPixmapTransform,
                         smoothAt(sx * ratio) || smoothAt(sy * ratio));
}

void MainWindow::showFullScreenTitle() {
    if (fullScreenTitle_ == nullptr) return;
    if (!isFullScreen()) {
        fullScreenTitle_->hide();
        return;
    }
    const FullScreenFit fit = fullScreenFit(width(), height());
    QFont font = controlFont(false);
    font.setPixelSize(fit.textPixels);
    fullScreenTitle_->setFont(font);
    fullScreenTitle_->setGeometry(fit.left, fit.top, fit.width, fit.height);
    fullScreenTitle_->setWordWrap(fit.wrapped);
    fullScreenTitle_->setAlignment(fit.wrapped ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignCenter);
    const QString title = windowTitle();
    fullScreenTitle_->setText(
        fit.wrapped ? title : QFontMetrics(font).elidedText(title, Qt::ElideRight, fit.width));
    fullScreenTitle_->show();
}

} // namespace orvanta::view
