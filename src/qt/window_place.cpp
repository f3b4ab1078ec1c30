// SPDX-License-Identifier: GPL-3.0-or-later
// Where the window stands and how the picture fills it: the place remembered between runs, the
// picture scaled into any size, full screen with the title in the bars.
#include "qt/main_window.h"

#include "qt/analysis_panel.h"
#include "qt/marks.h"
#include "ui/window_fit.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsView>
#include <QLabel>
#include <QSettings>
#include <QShortcut>

namespace orvanta::view {

namespace {
/// The version of the panel's saved state: a later layout of docks ignores an older one.
constexpr int PanelStateVersion = 1;
} // namespace

void MainWindow::restorePlace() {
    // Qt puts a window whose screen has gone back onto one that is there.
    const QByteArray place = settings().value(QStringLiteral("window/geometry")).toByteArray();
    if (!place.isEmpty()) restoreGeometry(place);
    // The panel: shown or hidden, docked or floating, and where.
    const QByteArray panels = settings().value(QStringLiteral("window/state")).toByteArray();
    if (!panels.isEmpty()) restoreState(panels, PanelStateVersion);
}

void MainWindow::savePlace() {
    settings().setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings().setValue(QStringLiteral("window/state"), saveState(PanelStateVersion));
}

void MainWindow::togglePanel() {
    panel_->setVisible(!panel_->isVisible());
    if (panel_->isVisible()) panel_->modelChanged();
}

QSize MainWindow::pictureArea() const {
    // With the panel hidden or floating the picture has the whole window, at once (the
    // central widget follows a resize only when the layout next runs).
    if (panel_ == nullptr || panel_->isHidden() || panel_->isFloating()) return size();
    return centre_->size();
}

double MainWindow::pictureScale() const {
    return view_->transform().m11();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    fitPicture();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && leaveFullScreen_ != nullptr) {
        leaveFullScreen_->setEnabled(isFullScreen());
        fitPicture();
    }
    if (event->type() == QEvent::ScreenChangeInternal) fitPicture();
}

void MainWindow::fitPicture() {
    if (view_ == nullptr) return;
    const QSize area = pictureArea();
    PictureFit fit = orvanta::fitPicture(area.width(), area.height());
    if (isFullScreen()) fit = fullScreenFit(area.width(), area.height()).picture;
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
    const QSize area = pictureArea();
    const FullScreenFit fit = fullScreenFit(area.width(), area.height());
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
