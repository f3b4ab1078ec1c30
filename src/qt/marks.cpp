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

QRgb toRgb(Colour32 c) {
    const Colour32 v = resolveColour(c);
    return qRgb(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                static_cast<int>((v >> 16) & 0xFF));
}

int toPixel(double v) {
    const double p = std::floor(v + 0.5);
    if (!(p > INT_MIN / 2)) return INT_MIN / 2; // also catches a NaN
    if (p > INT_MAX / 2) return INT_MAX / 2;
    return static_cast<int>(p);
}

QRect pixelRect(const Control& c) {
    return {toPixel(c.Left), toPixel(c.Top), std::max(0, toPixel(c.Width)),
            std::max(0, toPixel(c.Height))};
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

std::vector<Mark> marksIn(const Controls& controls, std::string_view container) {
    std::vector<Mark> marks;
    const std::vector<const Control*> order = controls.stackingOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const Control& c = **it;
        if (!c.Visible || c.Container != container) continue;
        if (c.kind != Kind::Label && c.kind != Kind::Image && c.kind != Kind::Shape &&
            c.kind != Kind::LineMark)
            continue;
        Mark m;
        m.kind = c.kind;
        m.Left = c.Left;
        m.Top = c.Top;
        m.Width = c.Width;
        m.Height = c.Height;
        m.Enabled = c.Enabled;
        m.ForeColor = c.ForeColor;
        m.BackColor = c.BackColor;
        m.Transparent = c.Transparent;
        m.Bold = c.Bold;
        m.Border = c.Border;
        m.Alignment = c.Alignment;
        switch (c.kind) {
        case Kind::Label:
            m.Caption = static_cast<const LabelCtl&>(c).Caption;
            break;
        case Kind::Image:
            m.Picture = static_cast<const ImageCtl&>(c).Picture;
            break;
        case Kind::Shape: {
            const auto& s = static_cast<const ShapeCtl&>(c);
            m.FillColor = s.FillColor;
            m.BorderColor = s.BorderColor;
            m.Fill = s.Fill;
            m.Outline = s.Outline;
            m.Mode = s.Mode;
            break;
        }
        default: {
            const auto& l = static_cast<const LineCtl&>(c);
            m.BorderColor = l.BorderColor;
            m.X1 = l.X1;
            m.Y1 = l.Y1;
            m.X2 = l.X2;
            m.Y2 = l.Y2;
            break;
        }
        }
        marks.push_back(std::move(m));
    }
    return marks;
}

void composeBase(const Surface& surface, const QImage& background, QImage& out) {
    if (out.size() != QSize(Surface::W, Surface::H) || out.format() != QImage::Format_RGB32)
        out = QImage(Surface::W, Surface::H, QImage::Format_RGB32);
    out.fill(Qt::black);
    const int rows = std::min(Surface::H, background.height());
    const int cols = std::min(Surface::W, background.width());
    for (int y = 0; y < rows; ++y)
        std::memcpy(out.scanLine(y), background.constScanLine(y),
                    static_cast<size_t>(cols) * sizeof(QRgb));
    const std::uint32_t* src = surface.pixels().data();
    for (int y = 0; y < Surface::H; ++y) {
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < Surface::W; ++x, ++src) {
            const std::uint32_t v = *src;
            if (v == Surface::Undrawn) continue;
            dst[x] = 0xFF000000u | ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
        }
    }
}

namespace {

// One pixel of a shape in its raster mode; `pen` and the result are 0xFFRRGGBB.
inline QRgb combine(DrawMode mode, QRgb pen, QRgb screen) {
    switch (mode) {
    case DrawMode::MaskPenNot:
        return 0xFF000000u | (pen & ~screen);
    case DrawMode::XorPen:
        return 0xFF000000u | ((pen ^ screen) & 0xFFFFFFu);
    default:
        return pen;
    }
}

// The columns of row j covered by a circle of diameter d whose box starts at (ox, oy):
// the pixels whose centres lie inside it. Empty when first > last.
struct Span {
    double first = 1, last = 0;
};
Span circleRow(double ox, double oy, double d, double j) {
    const double r = d / 2;
    const double dy = j + 0.5 - (oy + r);
    if (j < oy || j >= oy + d || dy * dy > r * r) return {};
    const double half = std::sqrt(r * r - dy * dy);
    const double cx = ox + r;
    return {std::ceil(cx - half - 0.5), std::floor(cx + half - 0.5)};
}

// A circle inscribed in its box: fill, then a 1 px outline (solid, or dotted one pixel on,
// one off), each pixel combined with the screen in the shape's raster mode.
void paintShape(QImage& image, const Mark& m) {
    // In double, not int: a star magnified far beyond the window still covers it rightly.
    auto whole = [](double v) { return std::floor(v + 0.5); };
    const double l = whole(m.Left), t = whole(m.Top);
    const double w = std::max(0.0, whole(m.Width)), h = std::max(0.0, whole(m.Height));
    const double d = std::min(w, h);
    if (d <= 0) return;
    const double ox = l + std::floor((w - d) / 2), oy = t + std::floor((h - d) / 2);
    const QRgb fill = toRgb(m.FillColor), border = toRgb(m.BorderColor);
    const bool solid = m.Fill == FillStyle::Solid;
    const bool dotted = m.Outline == BorderStyle::Dotted;
    const double maxX = image.width() - 1;
    const double rows = image.height();
    const int y0 = static_cast<int>(std::clamp(oy, 0.0, rows));
    const int y1 = static_cast<int>(std::clamp(oy + d, 0.0, rows));
    for (int y = y0; y < y1; ++y) {
        const Span row = circleRow(ox, oy, d, y);
        if (row.first > row.last) continue;
        const Span above = circleRow(ox, oy, d, y - 1), below = circleRow(ox, oy, d, y + 1);
        // Interior: inside, not at the row's ends, and inside the rows above and below.
        const double inFirst = std::max({row.first + 1, above.first, below.first});
        const double inLast = std::min({row.last - 1, above.last, below.last});
        const bool hasInside =
            above.first <= above.last && below.first <= below.last && inFirst <= inLast;
        auto* px = reinterpret_cast<QRgb*>(image.scanLine(y));
        // Pixels first..last (whole numbers in double, any range) clipped to the row.
        auto run = [&](double first, double last, QRgb pen, bool outline) {
            const double a = std::max(0.0, first), b = std::min(maxX, last);
            for (double xd = a; xd <= b; ++xd) {
                const int x = static_cast<int>(xd);
                if (outline && dotted && ((x + y) & 1) != 0) continue;
                px[x] = combine(m.Mode, pen, px[x]);
            }
        };
        if (!hasInside) {
            run(row.first, row.last, border, true);
            continue;
        }
        run(row.first, inFirst - 1, border, true);
        if (solid) run(inFirst, inLast, fill, false);
        run(inLast + 1, row.last, border, true);
    }
}

// Moves the end (ax, ay) of the segment to (bx, by) along it onto the box; false when
// the segment misses the box. Each coordinate is set to the edge exactly, so ends far
// beyond the window lose no precision where the segment crosses it.
bool clipEnd(double& ax, double& ay, double bx, double by, double xmax, double ymax) {
    constexpr double lo = -1;
    if (ax < lo || ax > xmax) {
        if (bx == ax) return false;
        const double edge = ax < lo ? lo : xmax;
        ay += (edge - ax) * ((by - ay) / (bx - ax));
        ax = edge;
    }
    if (ay < lo || ay > ymax) {
        if (by == ay) return false;
        const double edge = ay < lo ? lo : ymax;
        ax += (edge - ay) * ((bx - ax) / (by - ay));
        ay = edge;
    }
    constexpr double slack = 0.5;
    return ax >= lo - slack && ax <= xmax + slack && ay >= lo - slack && ay <= ymax + slack;
}

// A 1 px line in the mark's colour, both ends included, clipped to the image.
void paintLine(QImage& image, const Mark& m) {
    double x0 = m.X1, y0 = m.Y1, x1 = m.X2, y1 = m.Y2;
    const double xmax = image.width(), ymax = image.height();
    if ((x0 < -1 && x1 < -1) || (x0 > xmax && x1 > xmax) || (y0 < -1 && y1 < -1) ||
        (y0 > ymax && y1 > ymax))
        return;
    if (!clipEnd(x0, y0, x1, y1, xmax, ymax) || !clipEnd(x1, y1, x0, y0, xmax, ymax)) return;
    long long ax = toPixel(x0), ay = toPixel(y0);
    const long long bx = toPixel(x1), by = toPixel(y1);
    const QRgb colour = toRgb(m.BorderColor);
    const long long ddx = std::llabs(bx - ax), ddy = -std::llabs(by - ay);
    const long long sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    long long err = ddx + ddy;
    for (;;) {
        if (ax >= 0 && ay >= 0 && ax < image.width() && ay < image.height())
            reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(ay)))[ax] = colour;
        if (ax == bx && ay == by) break;
        const long long e2 = 2 * err;
        if (e2 >= ddy) {
            err += ddy;
            ax += sx;
        }
        if (e2 <= ddx) {
            err += ddx;
            ay += sy;
        }
    }
}

QString captionText(const std::string& caption) {
    QString text = QString::fromStdString(caption);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// A label: its background unless transparent, a thin border, then the caption wrapped at
// word boundaries within its box, from the top.
void paintLabel(QPainter& p, const Mark& m) {
    QRect box(toPixel(m.Left), toPixel(m.Top), std::max(0, toPixel(m.Width)),
              std::max(0, toPixel(m.Height)));
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
    p.setPen(m.Enabled ? fore : QColor(0x80, 0x80, 0x80));
    p.drawText(box, align, caption);
    p.restore();
}

} // namespace

void paintMarks(QImage& image, const std::vector<Mark>& marks, const Pictures& pictures) {
    // Labels and pictures go through a painter; shapes and lines write the pixels
    // themselves, so the painter is open only across runs of the former.
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
                painter->drawImage(QPoint(toPixel(m.Left), toPixel(m.Top)), *pic);
            }
            break;
        case Kind::Shape:
            painter.reset();
            paintShape(image, m);
            break;
        default:
            painter.reset();
            paintLine(image, m);
            break;
        }
    }
}

} // namespace orvanta::view
