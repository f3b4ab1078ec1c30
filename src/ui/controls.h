// SPDX-License-Identifier: GPL-3.0-or-later
// Plain models of the window's control kinds: design-time and run-time properties.
#pragma once

#include "physics/checked.h"
#include "render/raster.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

enum class Kind {
    Label,
    TextBox,
    ListBox,
    ComboBox,
    CheckBox,
    Frame,
    Image,
    Shape,
    LineMark,
    Timer
};
enum class Pointer { Default, Arrow, UpArrow, IBeam, Crosshair };
enum class Align { Left, Right, Centre };

struct FrameCtl;

/// What every control has. Positions in window pixels (relative to the frame for a control
/// inside one); fractional where the layout says so (5 1/3, 47 1/3).
struct Control {
    std::string Name;
    Kind kind = Kind::Label;
    FrameCtl* Container = nullptr; ///< the frame holding the control; nullptr: the window
    double Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
    bool Enabled = true;
    int Stack = 0; ///< position in the stacking order, 0 topmost
    Pointer MousePointer = Pointer::Default;
    int TabIndex = -1; ///< -1: not a tab stop
    Colour32 ForeColor = Black;
    Colour32 BackColor = White;
    bool Transparent = false; ///< background not painted
    bool Bold = false;        ///< bold 9 pt; otherwise the 8 pt dialog font
    Align Alignment = Align::Left;
    bool Border = false; ///< thin single-line border

    /// Whether (x, y) in window pixels lies on the control (frame offset given).
    [[nodiscard]] bool contains(double x, double y, double offsetX = 0, double offsetY = 0) const {
        const double l = Left + offsetX;
        const double t = Top + offsetY;
        return x >= l && x < l + Width && y >= t && y < t + Height;
    }
};

struct LabelCtl : Control {
    std::string Caption;
};

struct TextBoxCtl : Control {
    std::string Text;
    /// What the last plot read the text as, where the number rule ignored part of it
    /// ("read as 3 ..."); cleared when the user edits the box.
    std::string ReadNote;
    bool MultiLine = false;
    bool VerticalScroll = false;
};

/// A one-row list: the top row is the selected quantity.
struct ListBoxCtl : Control {
    std::vector<std::string> Items;
    int TopIndex = 0;
};

/// A pick-only drop-down list.
struct ComboBoxCtl : Control {
    std::vector<std::string> Items;
    int ListIndex = -1;
    [[nodiscard]] std::string Text() const {
        return ListIndex >= 0 && ListIndex < static_cast<int>(Items.size()) ? Items[ListIndex] : "";
    }
};

struct CheckBoxCtl : Control {
    std::string Caption;
    int Value = 0; ///< 1 ticked, 0 not ticked
};

struct FrameCtl : Control {
    std::string Caption;
};

struct ImageCtl : Control {
    std::string Picture; ///< asset file name
};

/// A circle inscribed in its bounding box.
struct ShapeCtl : Control {
    Colour32 FillColor = White;
    Colour32 BorderColor = White;
    FillStyle Fill = FillStyle::Solid;
    BorderStyle Outline = BorderStyle::Solid;
    DrawMode Mode = DrawMode::Copy;

    /// A negative size is refused with the invalid-property error.
    void SetWidth(float w) {
        if (w < 0) raise(err::InvalidProperty);
        Width = w;
    }
    void SetHeight(float h) {
        if (h < 0) raise(err::InvalidProperty);
        Height = h;
    }
    void SetLeft(float l) { Left = l; }
    void SetTop(float t) { Top = t; }
};

struct LineCtl : Control {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    Colour32 BorderColor = Green;
};

struct TimerCtl {
    std::string Name;
    int Interval = 0; ///< milliseconds
    bool Enabled = false;
};

} // namespace orvanta
