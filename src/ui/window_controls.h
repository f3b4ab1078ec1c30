// SPDX-License-Identifier: GPL-3.0-or-later
// Every control of the window, named as in the layout, with its design-time properties.
#pragma once

#include "render/raster.h"
#include "ui/controls.h"

#include <array>
#include <string_view>
#include <vector>

namespace orvanta {

inline constexpr int WindowWidth = PictureWidth;
inline constexpr int WindowHeight = PictureHeight;
inline constexpr const char* WindowCaption = "Orvanta";

struct Controls {
    Controls(); ///< the design-time layout
    // Controls refer to their frames by address, so the window is never copied.
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    TextBoxCtl Text15; ///< credits box
    TimerCtl Timer1;
    FrameCtl Frame2;
    TextBoxCtl Text14, Text17, Text16, Text12, Text11, Text10, Text9, Text8, Text7;
    ListBoxCtl List2, List1;
    ComboBoxCtl Combo1;
    CheckBoxCtl Check2;
    ComboBoxCtl Combo2;
    LabelCtl Label44, Label43, Label42, Label41, Label40, Label39, Label28, Label27, Label1,
        Label26, Label12, Label10, Label9, Label8, Label7, Label6, Label3, Label4;
    FrameCtl Frame1;
    ListBoxCtl List3;
    TextBoxCtl Text13, Text6, Text5, Text4, Text3, Text2, Text1;
    CheckBoxCtl Check1;
    LabelCtl Label48, Label47, Label46, Label45, Label25, Label11, Label33, Label32, Label30,
        Label31, Label18, Label5, Label2, Label24, Label23, Label22, Label21, Label20, Label19,
        Label17, Label16, Label15, Label14, Label13;
    ImageCtl Image2, Image1;
    LabelCtl HideMenu, About, Clear, Simulate, Play, Plot;
    LabelCtl Label38, Label37, Label36;
    std::array<LineCtl, 11> Line1; ///< members 1 to 10; member 0 does not exist
    LabelCtl Label35, Label34, Label29;
    ShapeCtl RedDot, Centre;
    LineCtl Line2;
    ShapeCtl StarBTop, StarA, StarBBottom;
    LabelCtl Label49;

    /// Every drawn control, topmost first (the stacking order of the layout).
    [[nodiscard]] std::vector<Control*> stackingOrder();
    [[nodiscard]] std::vector<const Control*> stackingOrder() const;
    /// The control of that name ("Line1(3)" for an array member), or nullptr.
    [[nodiscard]] Control* find(std::string_view name);
    /// The controls that take focus, in the order of their TabIndex.
    [[nodiscard]] std::vector<Control*> tabOrder();
    /// Every property of every control as `other` holds it, each control staying in its own
    /// frame: a second window that shows what the first one shows.
    void copyValuesFrom(const Controls& other);
};

} // namespace orvanta
