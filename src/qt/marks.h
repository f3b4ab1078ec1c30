// SPDX-License-Identifier: GPL-3.0-or-later
// The windowless marks as the view paints them: the labels' text and the pictures here, the
// pixels of shapes and lines by the model's rules.
#pragma once

#include "render/surface.h"
#include "ui/marks.h"

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

/// A colour value (0x00BBGGRR, or ButtonFace) as a Qt colour.
inline QColor toQColor(Colour32 c) {
    return QColor::fromRgb(screenPixel(c));
}

/// An RGB32 image as the model's pixel grid.
PixelGrid gridOf(QImage& image);
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

/// The background picture on black, then every drawn pixel of the surface.
void composeBase(const Surface& surface, const QImage& background, QImage& out);
/// Paints the marks over an opaque RGB32 image, in order; positions relative to it. Labels
/// and images are drawn here; shapes and lines by the model's pixel rules.
void paintMarks(QImage& image, const std::vector<Mark>& marks, const Pictures& pictures);

} // namespace orvanta::view
