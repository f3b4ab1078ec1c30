// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and replot: read the inputs, fit the scales whose "Auto" box is ticked, and
// draw the full picture.
#include "form1.h"

namespace orvanta {

void Form1::Form_Load() {
    PrevQuantityA = 0;
    GraphBottom = GraphBottomShown;
    AxisY = GraphBottomShown;
    PrevQuantityB = 0;
    MoveAxis(GraphBottomShown);
    Dragging = false;
    CentreY = StarViewCentreY;
    Centre.SetHeight(4);
    Centre.SetWidth(4);
    RedDot.SetHeight(8);
    RedDot.SetWidth(8);
    PlaceTimeLabels();
    Pi = PiLiteral;
    Time = 0;
    DataInput();
    if (Check1.Value == 1) AutoGraphMag();
    if (Check2.Value == 1) AutoStarMag();
    PlotNow(); // sets StepNo from Time; the timer stays off
}

void Form1::Plot_Click() {
    // Draws over the earlier plots so that curves can be compared; a running animation
    // goes on from the new Time 0.
    Time = 0;
    DataInput();
    if (Check1.Value == 1) AutoGraphMag();
    if (Check2.Value == 1) AutoStarMag();
    PlotNow();
}

void Form1::Check2_Click() {
    // Unticking keeps StarMag; a typed magnification takes effect at the next Plot.
    if (Check2.Value == 1) {
        AutoStarMag();
        PlotNow();
    }
}

} // namespace orvanta
