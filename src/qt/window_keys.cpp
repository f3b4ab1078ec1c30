// SPDX-License-Identifier: GPL-3.0-or-later
// The window's key commands: the keyboard table's commands, the Ctrl commands of the window,
// and the keys of the boxes that belong to the window.
#include "qt/main_window.h"

#include "qt/canvas.h"
#include "qt/fit_view.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>

#include <optional>
#include <string>

namespace orvanta::view {

void MainWindow::addKeyCommand(const char* name, const QKeySequence& keys,
                               void (MainWindow::*run)()) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, run);
    addAction(action);
    keyCommands_.push_back(keys);
}

// A text box claims some Ctrl keys for itself (Ctrl+E moves to the end of the line on
// Linux desktops); the window's commands win.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centre_) {
        if (event->type() == QEvent::Resize) fitPicture();
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        // Ctrl+Z is the box's own undo unless a fit can be undone.
        const bool boxUndo = pressed == QKeySequence(Qt::CTRL | Qt::Key_Z) &&
                             (fitView_ == nullptr || !fitView_->canUndo());
        for (const QKeySequence& keys : keyCommands_)
            if (keys == pressed && !boxUndo) return true; // not accepted: the shortcut runs
    }
    if (event->type() == QEvent::FocusOut && watched == plottedBox_) plottedBox_ = nullptr;
    if (event->type() == QEvent::KeyPress && watched != canvas_) {
        const std::string keys = portableKeys(static_cast<QKeyEvent*>(event)).toStdString();
        // Escape in a box, list or check box gives the focus back to the picture.
        if (leavesTheBox(keys)) {
            canvas_->setFocus(Qt::OtherFocusReason);
            return true;
        }
        // Right after Enter has plotted, Space plays.
        if (const std::optional<Command> c =
                commandInBox(keys, watched != nullptr && watched == plottedBox_)) {
            command(*c);
            return true;
        }
    }
    if (acceptsDrop(event)) return true;
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::command(Command command) {
    switch (command) {
    case Command::Faster:
        pace_ = fasterPace(pace_);
        timer_.setInterval(tickMilliseconds(pace_));
        break;
    case Command::Slower:
        pace_ = slowerPace(pace_);
        timer_.setInterval(tickMilliseconds(pace_));
        break;
    case Command::FullScreen:
        setWindowState(windowState() ^ Qt::WindowFullScreen);
        break;
    case Command::LeaveFullScreen:
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        break;
    default:
        runCommand(*form_, command);
        break;
    }
    refresh();
}

QString MainWindow::portableKeys(const QKeyEvent* event) {
    // Shift and the keypad do not change what a key means here ("+" is Shift+= on most
    // layouts); Ctrl, Alt and Meta do.
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return QKeySequence(QKeyCombination(held, static_cast<Qt::Key>(event->key())))
        .toString(QKeySequence::PortableText);
}

void MainWindow::keyLeftOver(QKeyEvent* event) {
    const std::optional<Command> found = commandForKey(portableKeys(event).toStdString());
    if (!found) {
        event->ignore();
        return;
    }
    event->accept();
    command(*found);
}

} // namespace orvanta::view
