// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/marks.h"

namespace orvanta {

std::vector<Mark> marksIn(const Controls& controls, const FrameCtl* frame) {
    std::vector<Mark> marks;
    const std::vector<const Control*> order = controls.stackingOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const Control& c = **it;
        if (!c.Visible || c.Container != frame) continue;
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
            m.look = {s.FillColor, s.BorderColor, s.Fill, s.Outline, s.Mode};
            break;
        }
        default: {
            const auto& l = static_cast<const LineCtl&>(c);
            m.BorderColor = l.BorderColor;
            m.BorderWidth = l.BorderWidth;
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

void paintPixels(PixelGrid grid, const Mark& mark) {
    if (mark.kind == Kind::Shape)
        paintCircle(grid, mark.Left, mark.Top, mark.Width, mark.Height, mark.look);
    else if (mark.kind == Kind::LineMark)
        paintLine(grid, mark.X1, mark.Y1, mark.X2, mark.Y2, mark.BorderColor, mark.BorderWidth);
}

} // namespace orvanta
