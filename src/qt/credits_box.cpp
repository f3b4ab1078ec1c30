// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/credits_box.h"

#include <QMouseEvent>
#include <QTextBlockFormat>
#include <QTextCursor>

namespace orvanta::view {

CreditsBox::CreditsBox(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setAcceptRichText(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::ClickFocus);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    viewport()->setCursor(Qt::ArrowCursor);
}

void CreditsBox::setCredits(const std::string& text) {
    credits_ = text;
    QString plain = QString::fromStdString(text);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(plain);
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);
    moveCursor(QTextCursor::Start);
}

void CreditsBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
        emit doubleClicked();
        return;
    }
    QTextEdit::mouseDoubleClickEvent(event);
}

} // namespace orvanta::view
