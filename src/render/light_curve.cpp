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

/// A percentage given in millionths, rounded down, shown to four decimals, spaced and in
/// brackets: "( 50% )".
std::string bracketedPercent(const Num& millionths) {
    // Appended piecewise: "(" + std::string trips a false -Wrestrict in GCC 12 at -O3.
    std::string caption = "(";
    caption += StrSpaced((Int(millionths) / 10000).value());
    caption += "% )";
    return caption;
}

/// The projector view's colour for the curve about to be drawn; the next plot takes the next.
long nextProjectorCurve(Form1& f) {
    const auto n = static_cast<int>(ProjectorCurveColours.size());
    const Colour32 c = ProjectorCurveColours[static_cast<size_t>(f.ProjectorPlots % n)];
    f.ProjectorPlots = (f.ProjectorPlots + 1) % n;
    return static_cast<long>(c);
}

} // namespace

void Form1::PlotNow() {
    // A Time at the step the window shows keeps that step: (k * d) / d may round to just
    // below k, and a replot would move back one step. Any other Time snaps down to a whole
    // step, StepNo following from the same k, so the two never disagree.
    const Num d = Period / IterationNo;
    if (!AtShownStep()) {
        StepNo = Int(Time / d) + 1;
        Time = StepTime(StepNo);
    }

    Main();
    Initialize();
    PlaceCentre();
    Draw();

    // The outputs of Main stay those of Period; the marks show the snapped time.
    keepingTime(*this, [&] {
        Time = 0;
        Main();
        const long curve = ProjectorView ? nextProjectorCurve(*this) : long{White};
        PSet(0, Single(graphRow(*this)), curve);

        // The fluxes do not change during the sweep, nor do the trace colours.
        const long colourA = CLng(Colour(FluxA));
        const long colourB = CLng(Colour(FluxB));
        PeriodSweep([&] {
            const float x = Single(curveColumn(*this));
            const float y = Single(graphRow(*this));
            Line(x, y, curve);
            PSet(Single(starColumnOf(*this, ViewXA)), Single(starRowOf(*this, ViewYA)), colourA);
            PSet(Single(starColumnOf(*this, ViewXB)), Single(starRowOf(*this, ViewYB)), colourB);
            PSet(x, y, curve); // back on the curve for the next segment
        });

        // The sweep may stop a rounding short of Period: the curve always reaches the last
        // column.
        Time = Period;
        Main();
        Line(Single(curveColumn(*this)), Single(graphRow(*this)), curve);
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
    Label11.Caption = bracketedPercent(1000000 * ratio);
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

    if (AtShownStep()) {
        // The step's own share of the period, k = StepNo - 1 steps of IterationNo, multiplied
        // out before the one division: Time / Period rounds a hair below k / n at many
        // periods (and 100 * (k / n) can fall below 100 k / n), and the floored read-outs
        // then showed one less than the step.
        const Num k = StepNo - 1;
        Label37.Caption = text(Int(100 * k / IterationNo));
        Label25.Caption = bracketedPercent(1000000 * k / IterationNo);
    } else {
        Label37.Caption = text(Int(100 * (Time / Period)));
        Label25.Caption = bracketedPercent(1000000 * (Time / Period));
    }
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

void Form1::ToggleProjectorView() {
    ProjectorView = !ProjectorView;
    const int width = ProjectorView ? ProjectorPenWidth : 1;
    PenWidth = width;
    Line2.BorderWidth = width;
}

void Form1::Clear_Click() {
    Cls();
}

} // namespace orvanta
