// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's mouse buttons and modifier keys as the window's handlers number them.
#pragma once

#include "form1.h"

#include <QPointF>
#include <Qt>

namespace orvanta::view {

/// The code of one button: 1 left, 2 right, 4 middle; 0 for any other button.
inline int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return mouse::Left;
    case Qt::RightButton:
        return mouse::Right;
    case Qt::MiddleButton:
        return mouse::Middle;
    default:
        return 0;
    }
}

/// The bit sum of the held buttons that the handlers know.
inline int buttonsCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton) code |= mouse::Left;
    if (buttons & Qt::RightButton) code |= mouse::Right;
    if (buttons & Qt::MiddleButton) code |= mouse::Middle;
    return code;
}

/// The bit sum of the held modifier keys: 1 Shift, 2 Ctrl, 4 Alt.
inline int shiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier) code |= mouse::Shift;
    if (modifiers & Qt::ControlModifier) code |= mouse::Ctrl;
    if (modifiers & Qt::AltModifier) code |= mouse::Alt;
    return code;
}

} // namespace orvanta::view
