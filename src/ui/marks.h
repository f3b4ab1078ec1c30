// SPDX-License-Identifier: GPL-3.0-or-later
// The windowless controls (labels, images, shapes, lines) as a view paints them.
#pragma once

#include "ui/window_controls.h"

#include <string>
#include <vector>

namespace orvanta {

/// What a view paints of one windowless control: a copy of every property that shows, so
/// that a view can tell by comparison whether anything changed.
struct Mark {
    Kind kind = Kind::Label;
    double Left = 0, Top = 0, Width = 0, Height = 0;
    bool Enabled = true;
    Colour32 ForeColor = 0, BackColor = 0;
    bool Transparent = false, Bold = false, Border = false;
    Align Alignment = Align::Left;
    std::string Caption;                   ///< labels
    std::string Picture;                   ///< images
    ShapeLook look;                        ///< shapes
    Colour32 BorderColor = 0;              ///< lines
    int BorderWidth = 1;                   ///< lines
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0; ///< lines

    bool operator==(const Mark&) const = default;
};

/// The visible labels, images, shapes and lines of one frame, or of the window itself
/// (nullptr), bottom to top.
std::vector<Mark> marksIn(const Controls& controls, const FrameCtl* frame = nullptr);

/// Paints a shape or a line mark into the grid (positions relative to it); labels and
/// images, which need fonts and decoded pictures, are the view's to paint.
void paintPixels(PixelGrid grid, const Mark& mark);

} // namespace orvanta
