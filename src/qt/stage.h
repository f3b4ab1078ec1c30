// SPDX-License-Identifier: GPL-3.0-or-later
// The stage: the 794 x 568 client area where every control stands, held in a graphics scene
// that shows it scaled to the window.
#pragma once

#include <QGraphicsProxyWidget>
#include <QWidget>

#include <functional>

class QKeyEvent;

namespace orvanta::view {

// The client area: the keys that no control in it took come back to the window.
class ClientArea : public QWidget {
public:
    explicit ClientArea(std::function<void(QKeyEvent*)> leftOver)
        : leftOver_(std::move(leftOver)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void(QKeyEvent*)> leftOver_;
};

// The stage's hold on the client area. Tab and Shift+Tab go round the client's controls
// as in a window of their own (a proxy alone would stop at the last).
class ClientProxy : public QGraphicsProxyWidget {
protected:
    bool focusNextPrevChild(bool next) override;
};

} // namespace orvanta::view
