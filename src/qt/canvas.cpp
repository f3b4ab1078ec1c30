// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/canvas.h"

#include "qt/input_codes.h"
#include "render/observed_overlay.h"
#include "ui/window_fit.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cstring>

namespace orvanta::view {

Qt::CursorShape cursorShape(Pointer pointer) {
    switch (pointer) {
    case Pointer::Crosshair:
        return Qt::CrossCursor;
    case Pointer::UpArrow:
        return Qt::UpArrowCursor;
    case Pointer::IBeam:
        return Qt::IBeamCursor;
    default:
        return Qt::ArrowCursor;
    }
}

Canvas::Canvas(Form1& form, const Pictures& pictures, QWidget* parent)
    : QWidget(parent), form_(form), pictures_(pictures) {
    setObjectName(QStringLiteral("canvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // A click on the picture takes the focus from the boxes (and a hidden box gives it here).
    setFocusPolicy(Qt::ClickFocus);
    setFixedSize(Surface::W, Surface::H);
    setCursor(Qt::CrossCursor);
    refresh();
}

bool Canvas::refresh() {
    std::vector<Mark> marks = marksIn(form_);
    const bool baseChanged = !composed_ || form_.revision() != baseRevision_ ||
                             form_.observed.revision() != observedRevision_;
    if (!baseChanged && marks == marks_) return false;
    if (baseChanged) {
        composeBase(form_, pictures_.background, base_);
        composeObserved(form_.observed, gridOf(base_)); // the points lie above the surface
        baseRevision_ = form_.revision();
        observedRevision_ = form_.observed.revision();
    }
    if (picture_.size() != base_.size() || picture_.format() != base_.format())
        picture_ = QImage(base_.size(), base_.format());
    std::memcpy(picture_.bits(), base_.constBits(), static_cast<size_t>(base_.sizeInBytes()));
    paintMarks(picture_, marks, pictures_);
    marks_ = std::move(marks);
    composed_ = true;
    ++compositions_;
    update();
    return true;
}

void Canvas::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r, picture_, r);
}

void Canvas::showPointerAt(double x, double y) {
    const Qt::CursorShape shape = cursorShape(form_.pointerAt(x, y));
    if (cursor().shape() != shape) setCursor(shape);
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    const int button = buttonCode(event->button());
    if (button == 0) return;
    const double x = pixelUnderPointer(event->position().x());
    const double y = pixelUnderPointer(event->position().y());
    form_.MouseDown(button, shiftCode(event->modifiers()), x, y);
    emit handled();
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    const double x = pixelUnderPointer(event->position().x());
    const double y = pixelUnderPointer(event->position().y());
    form_.MouseMove(buttonsCode(event->buttons()), shiftCode(event->modifiers()), x, y);
    emit handled();
    if (event->buttons() == Qt::NoButton) showPointerAt(x, y);
}

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
    const int button = buttonCode(event->button());
    if (button == 0) return;
    const double x = pixelUnderPointer(event->position().x());
    const double y = pixelUnderPointer(event->position().y());
    form_.MouseUp(button, shiftCode(event->modifiers()), x, y);
    emit handled();
    showPointerAt(x, y);
}

void Canvas::mouseDoubleClickEvent(QMouseEvent* event) {
    const int button = buttonCode(event->button());
    if (button == 0) return;
    const double x = pixelUnderPointer(event->position().x());
    const double y = pixelUnderPointer(event->position().y());
    form_.DoubleClick(button, shiftCode(event->modifiers()), x, y);
    emit handled();
}

} // namespace orvanta::view
