// SPDX-License-Identifier: GPL-3.0-or-later
// Side panels and credits box: "Hide  Menu" folds the input panels away so that the graph
// reaches row 560, the menu then shows only while the pointer is in the bottom-right corner,
// and "About" opens the credits, which a double click closes.
#include "form1.h"

#include <array>

namespace orvanta {

namespace {

// The caption of HideMenu is the menu state (two spaces in both).
constexpr const char* PanelsShown = "Hide  Menu";
constexpr const char* PanelsHidden = "Show  Menu";

/// The menu labels and the emblem, which the hover shows and hides while the panels are.
std::array<Control*, 7> menuOf(Form1& f) {
    return {&f.Plot, &f.Play, &f.Simulate, &f.Clear, &f.About, &f.HideMenu, &f.Image1};
}

} // namespace

void Form1::HideMenu_Click() {
    const std::string caption = HideMenu.Caption;
    if (caption == PanelsShown) {
        HideMenu.Caption = PanelsHidden;
        Frame1.Visible = false;
        Frame2.Visible = false;
        GraphBottom = GraphBottomHidden;
        Label49.Visible = false;
    } else if (caption == PanelsHidden) {
        HideMenu.Caption = PanelsShown;
        Frame1.Visible = true;
        Frame2.Visible = true;
        GraphBottom = GraphBottomShown;
        Label49.Visible = true;
        CentreY = StarViewCentreY;
        // The hover hid the menu when the pointer left the corner, and stops watching once the
        // panels are shown: the menu shows itself again, or it stays hidden for good when the
        // panels come back by Ctrl+H.
        for (Control* c : menuOf(*this))
            c->Visible = true;
    }

    AxisY = GraphBottom;
    Line2.Y2 = Single(GraphBottom + 8);
    PlaceTimeLabels();
    Time = 0;
    if (Check1.Value == 0) {
        ManualGraphScale();
        MoveAxis(AxisY);
        // The box shows the scale in use, or the next Plot would read the old one back.
        Text13.Text = text(Abs(GraphMag));
    } else if (Check1.Value == 1) {
        AutoGraphMag();
    }
    Cls();
    PlotNow();
}

void Form1::MenuHover(float x, float Y) {
    if (HideMenu.Caption != PanelsHidden) return;
    // The corner below and right of the Plot label's top-left corner, the highest menu label.
    const bool inCorner = x > Plot.Left && Y > Plot.Top;
    for (Control* c : menuOf(*this))
        c->Visible = inCorner;
}

void Form1::About_Click() {
    Text15.Visible = true;
    Image2.Visible = true;
}

void Form1::Text15_DblClick() {
    Text15.Visible = false;
    Image2.Visible = false;
}

void Form1::Image2_DblClick() {
    Text15.Visible = false;
    Image2.Visible = false;
}

} // namespace orvanta
