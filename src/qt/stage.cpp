// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/stage.h"

#include <QKeyEvent>

namespace orvanta::view {

void ClientArea::keyPressEvent(QKeyEvent* event) {
    leftOver_(event);
}

bool ClientProxy::focusNextPrevChild(bool next) {
    QWidget* from = widget()->focusWidget();
    if (from == nullptr) return QGraphicsProxyWidget::focusNextPrevChild(next);
    for (QWidget* w = from;;) {
        w = next ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w == from) return false;
        if (w != widget() && (w->focusPolicy() & Qt::TabFocus) != 0 && w->isVisible() &&
            w->isEnabled()) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
}

} // namespace orvanta::view
