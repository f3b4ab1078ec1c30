// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/marks.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <optional>

namespace orvanta::view {

PixelGrid gridOf(QImage& image) {
    return {reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
            image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))};
}

QRect pixelRect(const Control& c) {
    return {wholePixel(c.Left), wholePixel(c.Top), std::max(0, wholePixel(c.Width)),
            std::max(0, wholePixel(c.Height))};
}

QFont controlFont(bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(bold ? 12 : 11);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    // The layout's captions were measured for a narrower dialog font: condensed to four
    // fifths, every caption fits its box on the lines the box has room for.
    font.setStretch(80);
    return font;
}

Pictures Pictures::load() {
    Pictures p;
    p.background =
        QImage(QStringLiteral(":/assets/background.jpg")).convertToFormat(QImage::Format_RGB32);
    for (const char* name : {"emblem.gif", "credits.jpg"}) {
        QImage image(QStringLiteral(":/assets/") + QString::fromLatin1(name));
        p.byName.emplace(name, image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    return p;
}

const QImage* Pictures::picture(std::string_view name) const {
    const auto it = byName.find(name);
    return it == byName.end() || it->second.isNull() ? nullptr : &it->second;
}

void composeBase(const Surface& surface, const QImage& background, QImage& out) {
    if (out.size() != QSize(Surface::W, Surface::H) || out.format() != QImage::Format_RGB32)
        out = QImage(Surface::W, Surface::H, QImage::Format_RGB32);
    const PixelSource picture{reinterpret_cast<const std::uint32_t*>(background.constBits()),
                              background.width(), background.height(),
                              background.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))};
    orvanta::composeBase(surface, picture, gridOf(out));
}

namespace {

QString captionText(const std::string& caption) {
    QString text = QString::fromStdString(caption);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// A label: its background unless transparent, a thin border, then the caption wrapped at
// word boundaries within its box, from the top.
void paintLabel(QPainter& p, const Mark& m) {
    QRect box(wholePixel(m.Left), wholePixel(m.Top), std::max(0, wholePixel(m.Width)),
              std::max(0, wholePixel(m.Height)));
    if (box.isEmpty()) return;
    const QColor fore = toQColor(m.ForeColor);
    if (!m.Transparent) p.fillRect(box, toQColor(m.BackColor));
    if (m.Border) {
        p.setPen(fore);
        p.setBrush(Qt::NoBrush);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        box.adjust(1, 1, -1, -1);
    }
    if (m.Caption.empty()) return;
    // A bordered label is a menu command: its caption stays on one line, its letters drawn
    // closer where it would not fit ("Show  Menu" is a pixel wider than its box).
    const bool oneLine = m.Border;
    QFont font = controlFont(m.Bold);
    const QString caption = captionText(m.Caption);
    if (oneLine) {
        // The halo takes a pixel on either side.
        const int excess = QFontMetrics(font).horizontalAdvance(caption) - (box.width() - 2);
        if (excess > 0 && caption.size() > 1)
            font.setLetterSpacing(
                QFont::AbsoluteSpacing,
                -std::ceil(excess * 10.0 / static_cast<double>(caption.size() - 1)) / 10);
    }
    int align = Qt::AlignTop | (oneLine ? 0 : Qt::TextWordWrap);
    switch (m.Alignment) {
    case Align::Right:
        align |= Qt::AlignRight;
        break;
    case Align::Centre:
        align |= Qt::AlignHCenter;
        break;
    default:
        align |= Qt::AlignLeft;
        break;
    }
    p.save();
    p.setClipRect(box);
    p.setFont(font);
    if (oneLine && m.Transparent) {
        // A one-pixel black halo keeps the caption readable over the axis, the cursor and
        // the curve, which run beneath the menu while the panels are hidden.
        p.setPen(Qt::black);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (dx != 0 || dy != 0) p.drawText(box.translated(dx, dy), align, caption);
    }
    p.setPen(m.Enabled ? fore : toQColor(DisabledTextColour));
    p.drawText(box, align, caption);
    p.restore();
}

} // namespace

void paintMarks(QImage& image, const std::vector<Mark>& marks, const Pictures& pictures) {
    // Labels and pictures go through a painter; shapes and lines are written by the model's
    // pixel rules, so the painter is open only across runs of the former.
    std::optional<QPainter> painter;
    for (const Mark& m : marks) {
        switch (m.kind) {
        case Kind::Label:
            if (!painter) painter.emplace(&image);
            paintLabel(*painter, m);
            break;
        case Kind::Image:
            if (const QImage* pic = pictures.picture(m.Picture)) {
                if (!painter) painter.emplace(&image);
                painter->drawImage(QPoint(wholePixel(m.Left), wholePixel(m.Top)), *pic);
            }
            break;
        default:
            painter.reset();
            paintPixels(gridOf(image), m);
            break;
        }
    }
}

} // namespace orvanta::view
