// SPDX-License-Identifier: GPL-3.0-or-later
// Graph scaling and display mode: the vertical mapping of the light curve (GraphMag px per W
// or per magnitude, GraphBase drawn at row AxisY) in power (List3 row 0) or magnitude mode
// (row 1). The graph area runs from row GraphTop down to GraphBottom.
#include "core/list_rows.h"
#include "period_sweep.h"

namespace orvanta {

namespace {

constexpr double NoMag = 9E+307; // above any real magnitude

/// The middle row of the graph area, where magnitude 0 lies on a fixed scale.
Num middleRow(const Form1& f) {
    return (f.GraphBottom + GraphTop) / 2;
}

/// Faintest and brightest summed magnitude over one period; Time is kept.
void sweepMagnitudes(Form1& f) {
    f.FaintMagSum = num(f.PowerToAll(f.MaxPowerSum, 1));
    f.BrightMagSum = NoMag;
    sweepPeriod(f, [&] {
        const Num m = num(f.PowerToAll(f.PowerSum, 1));
        if (m > f.FaintMagSum) f.FaintMagSum = m;
        if (m < f.BrightMagSum) f.BrightMagSum = m;
    });
}

} // namespace

void Form1::ManualGraphScale() {
    GraphBase = 0;
    if (List3.TopIndex == GraphRow::Power) {
        // 0 W on the axis, the unobscured power at GraphTop.
        GraphMag = (GraphBottom - GraphTop) / MaxPowerSum;
    } else if (List3.TopIndex == GraphRow::Magnitude) {
        // Magnitude 0 at mid-height, the larger magnitude at an edge.
        const Num k = -(GraphBottom - GraphTop) / 2;
        if (Abs(FaintMagSum) > Abs(BrightMagSum))
            GraphMag = k / Abs(FaintMagSum);
        else
            GraphMag = k / Abs(BrightMagSum);
        AxisY = middleRow(*this);
    }
}

void Form1::AutoGraphMag() {
    if (List3.TopIndex == GraphRow::Power) {
        // Raw power in W; the dimmest point lies on the axis at GraphBottom, the brightest
        // at GraphTop. AxisY equals GraphBottom throughout power mode.
        LowPowerSum = MaxPowerSum;
        HighPowerSum = 0;
        sweepPeriod(*this, [&] {
            if (PowerSum < LowPowerSum) LowPowerSum = PowerSum;
            if (PowerSum > HighPowerSum) HighPowerSum = PowerSum;
        });
        if (HighPowerSum == LowPowerSum) { // flat: drawn at GraphTop
            GraphMag = (GraphBottom - GraphTop) / LowPowerSum;
            GraphBase = 0;
        } else {
            GraphMag = (GraphBottom - GraphTop) / (HighPowerSum - LowPowerSum);
            GraphBase = LowPowerSum;
        }
        MoveAxis(AxisY);
    } else if (List3.TopIndex == GraphRow::Magnitude) {
        sweepMagnitudes(*this);
        AxisY = GraphBottom;
        Num axisRow = AxisY;
        if (BrightMagSum == FaintMagSum) { // flat: drawn at GraphTop either way
            GraphMag = -(GraphBottom - GraphTop) / Abs(BrightMagSum);
            GraphBase = BrightMagSum > 0 ? 2 * BrightMagSum : Num(0);
        } else {
            GraphMag = -(GraphBottom - GraphTop) / (FaintMagSum - BrightMagSum);
            GraphBase = FaintMagSum;
            // A curve across magnitude 0 gets its axis at the row of magnitude 0, while
            // AxisY stays at the faintest point.
            if (FaintMagSum > 0 && BrightMagSum < 0)
                axisRow =
                    AxisY - (GraphBottom - GraphTop) * (FaintMagSum / (FaintMagSum - BrightMagSum));
        }
        MoveAxis(axisRow);
    }
    Text13.Text = text(Abs(GraphMag));
}

void Form1::List3_Scroll() {
    Label33.Caption = text(PowerToAll(MaxPowerSum, List3.TopIndex));
    Label45.Caption = text(PowerToAll(PowerSum, List3.TopIndex));
    if (List3.TopIndex == GraphRow::Power) {
        Label48.Caption = "Power Sum / W =";
        Label29.Caption = "Power:";
        Label5.Caption = "GraphMag / (Px/W) =";
        AxisY = GraphBottom;
        if (Check1.Value == 1) {
            AutoGraphMag();
        } else if (Check1.Value == 0) {
            MoveAxis(AxisY);
            ManualGraphScale();
        }
    }
    if (List3.TopIndex == GraphRow::Magnitude) {
        Label48.Caption = "Abs Magnitude Sum =";
        Label29.Caption = "Mag:";
        Label5.Caption = "GraphMag / (Px/Mag) =";
        GraphBase = 0;
        if (Check1.Value == 1) {
            AutoGraphMag();
        } else if (Check1.Value == 0) {
            AxisY = middleRow(*this);
            MoveAxis(AxisY);
            sweepMagnitudes(*this);
            ManualGraphScale();
        }
    }
    Text13.Text = text(Abs(GraphMag));
    if (Check2.Value == 1) AutoStarMag();
    Cls();
    PlotNow();
}

void Form1::Check1_Click() {
    if (Check1.Value == 1) {
        AutoGraphMag();
    } else if (Check1.Value == 0) {
        // Unticking falls back to the fixed scale of the mode, not the fitted one. In
        // magnitude mode the extremes are those of the last magnitude sweep, which
        // List3_Scroll always made on the way into that mode.
        ManualGraphScale();
        if (List3.TopIndex == GraphRow::Magnitude) MoveAxis(AxisY);
    }
    Text13.Text = text(Abs(GraphMag));
    Cls();
    PlotNow();
}

} // namespace orvanta
