// SPDX-License-Identifier: GPL-3.0-or-later
// Side panels and credits box: "Hide  Menu" folds the input panels away so that the graph
// reaches row 560, the menu then shows only while the pointer is in the bottom-right corner,
// and "About" opens the credits, which a double click closes.
#include "core/form1.h"

#include <initializer_list>

namespace orvanta {

namespace {

// The caption of HideMenu is the menu state (two spaces in both).
constexpr const char* PanelsShown = "Hide  Menu";
constexpr const char* PanelsHidden = "Show  Menu";

// Lowest graph row with the panels shown and hidden; the star view's start row.
constexpr int ShownBottom = 360;
constexpr int HiddenBottom = 560;
constexpr int StartCentreY = 240;

// Highest graph row (the maximum power or the larger magnitude extreme maps here).
constexpr int GraphTop = 34;

// Top-left corner of the Plot label, the highest menu label: the corner the hover watches.
constexpr float CornerX = 736;
constexpr float CornerY = 424;

} // namespace

void Form1::HideMenu_Click() {
    const std::string caption = HideMenu.Caption;
    if (caption == PanelsShown) {
        HideMenu.Caption = PanelsHidden;
        Frame1.Visible = false;
        Frame2.Visible = false;
        GraphBottom = HiddenBottom;
        Label49.Visible = false;
    } else if (caption == PanelsHidden) {
        HideMenu.Caption = PanelsShown;
        Frame1.Visible = true;
        Frame2.Visible = true;
        GraphBottom = ShownBottom;
        Label49.Visible = true;
        CentreY = StartCentreY;
    }

    AxisY = GraphBottom;
    Line2.Y2 = Single(GraphBottom + 8);
    Label38.Top = Single(GraphBottom - 34);
    Label37.Top = Single(GraphBottom - 17);
    Label36.Top = Single(GraphBottom - 17);
    Time = 0;
    if (Check1.Value == 0) {
        GraphBase = 0;
        if (List3.TopIndex == 0) {
            GraphMag = (GraphBottom - GraphTop) / MaxPowerSum;
            MoveAxis(AxisY);
        } else if (List3.TopIndex == 1) {
            const Num m =
                Abs(FaintMagSum) > Abs(BrightMagSum) ? Abs(FaintMagSum) : Abs(BrightMagSum);
            GraphMag = -((GraphBottom - GraphTop) / 2) / m;
            AxisY = (GraphBottom + GraphTop) / 2;
            MoveAxis(AxisY);
        }
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
    const bool inCorner = x > CornerX && Y > CornerY;
    const std::initializer_list<Control*> menu = {&Plot,  &Play,     &Simulate, &Clear,
                                                  &About, &HideMenu, &Image1};
    for (Control* c : menu)
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
