// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/value_box.h"

#include <QFocusEvent>

namespace orvanta::view {

ValueBox::ValueBox(QWidget* parent) : QLineEdit(parent) {}

void ValueBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Tab selects the whole text with the cursor at its end, which scrolls a long number to
    // its tail ("31952000" of 1181952000); keep it selected but put the cursor at the start.
    if (hasSelectedText() && selectedText() == text()) {
        const auto length = static_cast<int>(text().size());
        setSelection(length, -length);
    }
}

} // namespace orvanta::view
