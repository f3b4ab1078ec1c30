// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/one_row_list.h"

#include <QKeyEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>

namespace orvanta::view {

namespace {
constexpr int ScrollBarWidth = 16;
constexpr int WheelNotch = 120; // one row per notch
} // namespace

OneRowList::OneRowList(QWidget* parent)
    : QWidget(parent), bar_(new QScrollBar(Qt::Vertical, this)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    bar_->setFocusPolicy(Qt::NoFocus);
    bar_->setRange(0, 0);
    bar_->setSingleStep(1);
    bar_->setPageStep(1);
    bar_->installEventFilter(this);
    connect(bar_, &QScrollBar::valueChanged, this, [this](int row) {
        update();
        emit topRowChanged(row);
    });
}

void OneRowList::setItems(const QStringList& items) {
    if (items == items_) return;
    items_ = items;
    const QSignalBlocker block(bar_);
    bar_->setRange(0, std::max(0, static_cast<int>(items_.size()) - 1));
    update();
}

void OneRowList::setTopRow(int row) {
    if (row == bar_->value()) return;
    const QSignalBlocker block(bar_);
    bar_->setValue(row);
    update();
}

int OneRowList::topRow() const {
    return bar_->value();
}

void OneRowList::resizeEvent(QResizeEvent* /*event*/) {
    bar_->setGeometry(width() - 1 - ScrollBarWidth, 1, ScrollBarWidth, std::max(0, height() - 2));
}

void OneRowList::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Base));
    p.setPen(pal.color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect textBox(3, 1, width() - 5 - ScrollBarWidth, height() - 2);
    const int row = bar_->value();
    if (row >= 0 && row < items_.size()) {
        p.setPen(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
        p.setFont(font());
        p.setClipRect(textBox);
        p.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, items_.at(row));
    }
    if (hasFocus()) {
        p.setClipping(false);
        QPen dots(pal.color(QPalette::Text), 1, Qt::DotLine);
        p.setPen(dots);
        p.drawRect(QRect(1, 1, width() - 4 - ScrollBarWidth, height() - 3));
    }
}

void OneRowList::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        bar_->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        bar_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_PageUp:
        bar_->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        bar_->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Home:
        bar_->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_End:
        bar_->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void OneRowList::wheel(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    while (wheelRemainder_ >= WheelNotch) {
        wheelRemainder_ -= WheelNotch;
        bar_->triggerAction(QAbstractSlider::SliderSingleStepSub);
    }
    while (wheelRemainder_ <= -WheelNotch) {
        wheelRemainder_ += WheelNotch;
        bar_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }
    event->accept();
}

void OneRowList::wheelEvent(QWheelEvent* event) {
    wheel(event);
}

void OneRowList::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

bool OneRowList::eventFilter(QObject* watched, QEvent* event) {
    // The bar's own wheel handling would step three rows a notch.
    if (watched == bar_ && event->type() == QEvent::Wheel) {
        wheel(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (watched == bar_ && event->type() == QEvent::MouseButtonPress)
        setFocus(Qt::MouseFocusReason);
    return QWidget::eventFilter(watched, event);
}

} // namespace orvanta::view
