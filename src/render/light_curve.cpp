// SPDX-License-Identifier: GPL-3.0-or-later
// The light-curve graph: one period across columns 0..GraphSpan, the displayed light upward.
// A value q is drawn at row graphRowOf (render/placement.h); the time axis, the cursor,
// the red dot and the read-outs are marks moved over the retained curve.
#include "period_sweep.h"
#include "render/placement.h"

namespace orvanta {

namespace {

/// The displayed quantity of a power in W: the power itself (row 0) or its magnitude (row 1).
Num shown(Form1& f, const Num& power) {
    return num(f.PowerToAll(power, f.List3.TopIndex));
}

/// Row of the current light on the graph, px.
Num graphRow(Form1& f) {
    return graphRowOf(f, shown(f, f.PowerSum));
}

/// Column of the current time on the curve, px (fractional).
Num curveColumn(const Form1& f) {
    return GraphSpan * (f.Time / f.Period);
}

/// A percentage rounded down to four decimals, spaced and in brackets: "( 50% )".
std::string bracketedPercent(const Num& ratio) {
    // Appended piecewise: "(" + std::string trips a false -Wrestrict in GCC 12 at -O3.
    std::string caption = "(";
    caption += StrSpaced((Int(1000000 * ratio) / 10000).value());
    caption += "% )";
    return caption;
}

} // namespace

void Form1::PlotNow() {
    // Snap Time down to a whole step; StepNo follows from the same k, so the two never
    // disagree even where (k * d) / d rounds to just below k.
    const Num d = Period / IterationNo;
    const Num k = Int(Time / d);
    Time = d * k;
    StepNo = k + 1;

    Main();
    Initialize();
    PlaceCentre();
    Draw();

    // The outputs of Main stay those of Period; the marks show the snapped time.
    keepingTime(*this, [&] {
        Time = 0;
        Main();
        PSet(0, Single(graphRow(*this)), White);

        // The fluxes do not change during the sweep, nor do the trace colours.
        const long colourA = CLng(Colour(FluxA));
        const long colourB = CLng(Colour(FluxB));
        PeriodSweep([&] {
            const float x = Single(curveColumn(*this));
            const float y = Single(graphRow(*this));
            Line(x, y, White);
            PSet(Single(starColumnOf(*this, ViewXA)), Single(starRowOf(*this, ViewYA)), colourA);
            PSet(Single(starColumnOf(*this, ViewXB)), Single(starRowOf(*this, ViewYB)), colourB);
            PSet(x, y, White); // back on the curve for the next segment
        });

        // The sweep may stop a rounding short of Period: the curve always reaches the last
        // column.
        Time = Period;
        Main();
        Line(Single(curveColumn(*this)), Single(graphRow(*this)), White);
    });
}

void Form1::DrawGraph() {
    TimeMarkX = Int(GraphSpan * (Time / Period));
    DotY = graphRowOf(*this, shown(*this, PowerSum));
    Line2.X1 = Single(TimeMarkX);
    Line2.X2 = Single(TimeMarkX);
    // The 8 px dot covers TimeMarkX - 3 .. TimeMarkX + 4, and likewise in y.
    RedDot.SetTop(Single(DotY - 4 + 1));
    RedDot.SetLeft(Single(TimeMarkX - 4 + 1));

    // In magnitude mode this is a ratio of magnitudes, shown in percent as it is.
    const Num ratio = shown(*this, PowerSum) / shown(*this, MaxPowerSum);
    Label34.Caption = text(Int(100 * ratio));
    Label11.Caption = bracketedPercent(ratio);
    Label45.Caption = text(PowerToAll(PowerSum, List3.TopIndex));

    // 16.5 px is half the 33 px width of Label29 and Label38.
    Label34.Left = Single(TimeMarkX - 16.5 - 5 - 48);
    Label35.Left = Single(TimeMarkX + 16.5 - 9 - 5);
    Label29.Left = Single(TimeMarkX - 16.5);
    // The value labels ride above the dot but never sink into the time labels' two rows.
    if (graphRow(*this) < GraphBottom - 2 * LabelRow) {
        Label34.Top = Single(DotY - LabelRow);
        Label35.Top = Single(DotY - LabelRow);
        Label29.Top = Single(DotY - 2 * LabelRow);
    } else {
        Label34.Top = Single(GraphBottom - 3 * LabelRow);
        Label35.Top = Single(GraphBottom - 3 * LabelRow);
        Label29.Top = Single(GraphBottom - 4 * LabelRow);
    }

    Label37.Caption = text(Int(100 * (Time / Period)));
    Label25.Caption = bracketedPercent(Time / Period);
    Label47.Caption = text(DaysPerYear * Time);
    Label36.Left = Single(TimeMarkX + 16.5 - 9 - 5);
    Label37.Left = Single(TimeMarkX - 16.5 - 5);
    Label38.Left = Single(TimeMarkX - 16.5);
}

void Form1::MoveAxis(const Num& Axis) {
    // Member 1 is the axis, member 2 the half-period tick, 3 to 10 the tenths.
    Line1[1].Y1 = Single(Axis);
    Line1[1].Y2 = Single(Axis);
    Line1[2].Y1 = Single(Axis - 8);
    Line1[2].Y2 = Single(Axis + 8);
    for (LoopIndex = 3; LoopIndex <= 10; ++LoopIndex) {
        Line1[LoopIndex].Y1 = Single(Axis - 4);
        Line1[LoopIndex].Y2 = Single(Axis + 4);
    }
}

void Form1::PlaceTimeLabels() {
    Label36.Top = Single(GraphBottom - LabelRow);
    Label37.Top = Single(GraphBottom - LabelRow);
    Label38.Top = Single(GraphBottom - 2 * LabelRow);
}

void Form1::Clear_Click() {
    Cls();
}

} // namespace orvanta
