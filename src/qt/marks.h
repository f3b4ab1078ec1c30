// SPDX-License-Identifier: GPL-3.0-or-later
// The windowless marks as the view paints them: labels, images, shapes and lines.
#pragma once

#include "render/surface.h"
#include "ui/window_controls.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta::view {

/// A colour value (0x00BBGGRR, or ButtonFace) as an opaque pixel 0xFFRRGGBB.
QRgb toRgb(Colour32 c);
inline QColor toQColor(Colour32 c) {
    return QColor::fromRgb(toRgb(c));
}

/// The whole pixel next to a window coordinate, saturated to the int range.
int toPixel(double v);
/// The pixel rectangle of a control (relative to its container).
QRect pixelRect(const Control& c);

/// The fonts of the controls, in pixel sizes so that the window looks the same at every DPI:
/// bold controls 12 px bold (9 pt), the others 11 px (the 8 pt dialog font); DejaVu Sans,
/// condensed to 80 % of its width.
QFont controlFont(bool bold);

/// The window's pictures, decoded once.
struct Pictures {
    QImage background; ///< opaque, drawn unscaled from the top-left
    std::map<std::string, QImage, std::less<>> byName;
    /// Loads the background, the emblem and the credits picture from the resources.
    static Pictures load();
    [[nodiscard]] const QImage* picture(std::string_view name) const;
};

/// What the view paints of one windowless control: a copy of every property that shows.
struct Mark {
    Kind kind = Kind::Label;
    double Left = 0, Top = 0, Width = 0, Height = 0;
    bool Enabled = true;
    Colour32 ForeColor = 0, BackColor = 0;
    bool Transparent = false, Bold = false, Border = false;
    Align Alignment = Align::Left;
    std::string Caption; ///< labels
    std::string Picture; ///< images
    Colour32 FillColor = 0, BorderColor = 0;
    FillStyle Fill = FillStyle::Solid;
    BorderStyle Outline = BorderStyle::Solid;
    DrawMode Mode = DrawMode::Copy;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0; ///< lines

    bool operator==(const Mark&) const = default;
};

/// The visible labels, images, shapes and lines of one container ("Form1", "Frame1",
/// "Frame2"), bottom to top.
std::vector<Mark> marksIn(const Controls& controls, std::string_view container);

/// The background picture on black, then every drawn pixel of the surface.
void composeBase(const Surface& surface, const QImage& background, QImage& out);
/// Paints the marks over an opaque RGB32 image, in order; positions relative to it.
void paintMarks(QImage& image, const std::vector<Mark>& marks, const Pictures& pictures);

} // namespace orvanta::view
