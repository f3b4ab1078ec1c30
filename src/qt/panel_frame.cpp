// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/panel_frame.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace orvanta::view {

namespace {
Mark lookOf(const FrameCtl& f) {
    Mark m;
    m.kind = Kind::Frame;
    m.Width = f.Width;
    m.Height = f.Height;
    m.ForeColor = f.ForeColor;
    m.BackColor = f.BackColor;
    m.Bold = f.Bold;
    m.Enabled = f.Enabled;
    m.Caption = f.Caption;
    return m;
}
} // namespace

PanelFrame::PanelFrame(const FrameCtl& frame, const Controls& controls, const Pictures& pictures,
                       QWidget* parent)
    : QWidget(parent), frame_(frame), controls_(controls), pictures_(pictures) {
    setObjectName(QString::fromStdString(frame.Name));
    setAttribute(Qt::WA_OpaquePaintEvent);
    refresh();
}

bool PanelFrame::refresh() {
    Mark look = lookOf(frame_);
    std::vector<Mark> marks = marksIn(controls_, &frame_);
    if (composed_ && look == look_ && marks == marks_) return false;
    const QRect box = pixelRect(frame_);
    picture_ = QImage(std::max(1, box.width()), std::max(1, box.height()), QImage::Format_RGB32);
    picture_.fill(toQColor(frame_.BackColor));
    {
        QPainter p(&picture_);
        const QFont font = controlFont(frame_.Bold);
        const QFontMetrics metrics(font);
        const QString caption = QString::fromStdString(frame_.Caption);
        // The etched border runs through the middle of the caption line.
        const int lineY = metrics.height() / 2;
        const int w = picture_.width(), h = picture_.height();
        p.setPen(toQColor(DisabledTextColour));
        p.drawRect(0, lineY, w - 2, h - lineY - 2);
        p.setPen(QColor(0xFF, 0xFF, 0xFF));
        p.drawRect(1, lineY + 1, w - 2, h - lineY - 2);
        if (!caption.isEmpty()) {
            const int textWidth = metrics.horizontalAdvance(caption);
            const QRect captionBox(6, 0, std::min(textWidth + 4, w - 8), metrics.height());
            p.fillRect(captionBox, toQColor(frame_.BackColor));
            p.setFont(font);
            p.setPen(frame_.Enabled ? toQColor(frame_.ForeColor) : toQColor(DisabledTextColour));
            p.drawText(captionBox.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, caption);
        }
    }
    paintMarks(picture_, marks, pictures_);
    look_ = std::move(look);
    marks_ = std::move(marks);
    composed_ = true;
    update();
    return true;
}

void PanelFrame::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r, picture_, r);
}

} // namespace orvanta::view
