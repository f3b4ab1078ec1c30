// SPDX-License-Identifier: GPL-3.0-or-later
// A control that shows where the keyboard is: a frame in the highlight colour while it has
// the focus.
#pragma once

#include <QFocusEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

namespace orvanta::view {

/// The style draws a focus frame on a drop-down list or a check box only after a keyboard
/// focus change in its window, which Tab through the stage does not report; this frame shows
/// whenever the control has the focus, and leaves every pixel as it was when it has not.
template <class Base> class FocusFramed : public Base {
public:
    using Base::Base;

protected:
    void paintEvent(QPaintEvent* event) override {
        Base::paintEvent(event);
        if (!this->hasFocus()) return;
        QPainter painter(this);
        painter.setPen(this->palette().color(QPalette::Active, QPalette::Highlight));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(this->rect().adjusted(0, 0, -1, -1));
    }
    void focusInEvent(QFocusEvent* event) override {
        Base::focusInEvent(event);
        this->update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        Base::focusOutEvent(event);
        this->update();
    }
};

} // namespace orvanta::view
