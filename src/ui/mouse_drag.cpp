// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse drag control: a click or plain left drag jumps to the step under the pointer, a left
// drag with one modifier turns the orbit (Ctrl, Shift) or changes its eccentricity (Alt) while
// a preview of the whole run is drawn, and a right click moves the star view's centre.
#include "period_sweep.h"
#include "render/placement.h"

namespace orvanta {

namespace {

// The preview never takes more than this many samples, whatever IterationNo says: a typed
// million steps would otherwise freeze the window on every mouse move.
constexpr int PreviewSteps = 4096;
constexpr int MaxPreviewSamples = PreviewSteps + 1;

// Gains of the drags: a quarter of a degree per pixel for the angles, 1/400 per pixel for
// the eccentricity, which stays within +-0.95.
constexpr float AnglePixels = 4.0f;
constexpr double EccenPixels = 400.0;
constexpr double EccenLimit = 0.95;

// A 16-bit sum, raising the overflow error when it leaves the range.
int add16(int a, int b) {
    return CInt(Num(a) + Num(b));
}

void setDragStyle(Form1& f, FillStyle fill, BorderStyle outline) {
    f.StarA.Fill = fill;
    f.StarBTop.Fill = fill;
    f.StarBBottom.Fill = fill;
    f.StarA.Outline = outline;
    f.StarBTop.Outline = outline;
    f.StarBBottom.Outline = outline;
}

} // namespace

void Form1::TimeJump(float x) {
    StepNo = add16(CInt(Num(x) * IterationNo / GraphSpan), 1);
    Time = (StepNo - 1) * (Period / IterationNo);
    Main();
    Draw();
}

void Form1::DragPreview() {
    keepingTime(*this, [&] {
        Cls();
        const Num step = Period / IterationNo;
        const Num limit = Period;
        if (!(step >= 0)) return;
        const Num coarsest = Period / PreviewSteps;
        const Num h = step > coarsest ? step : coarsest;
        const int index = List3.TopIndex;
        int samples = 0;
        observed.beginCurve();
        for (Time = 0; Time <= limit && samples < MaxPreviewSamples; Time = Time + h) {
            ++samples;
            Main();
            observed.curveSample(Time.value(), PowerSum.value());
            Circle(Single(starColumnOf(*this, ViewXA)), Single(starRowOf(*this, ViewYA)), 1, White);
            Circle(Single(starColumnOf(*this, ViewXB)), Single(starRowOf(*this, ViewYB)), 1, White);
            const Num v = num(PowerToAll(PowerSum, index));
            Circle(Single(GraphSpan * Time / Period), Single(graphRowOf(*this, v)), 1, White);
        }
        observed.endCurve();
    });
}

void Form1::DragStart() {
    setDragStyle(*this, FillStyle::Transparent, BorderStyle::Dotted);
    Dragging = true;
    DragPreview();
}

void Form1::DragUpdate() {
    Main();
    Draw();
    DragPreview();
}

void Form1::Form_MouseDown(int Button, int Shift, float x, float Y) {
    if (Button == mouse::Left) {
        if (Shift == 0) {
            TimeJump(x);
            return;
        }
        if (Shift == mouse::Ctrl) {
            Incline1Offset = Incline1 - x / AnglePixels;
            Incline2Offset = Incline2 + Y / AnglePixels;
        } else if (Shift == mouse::Shift) {
            Incline3Offset = Incline3 - x / AnglePixels;
        } else if (Shift == mouse::Alt) {
            EccenOffset = Eccen - Num(x) / EccenPixels;
        }
        // Any other combination of modifiers restyles and previews but stores no anchor.
        DragStart();
    } else if (Button == mouse::Right) {
        // Whatever modifier is held, and without touching a drag in progress.
        CentreX = x;
        CentreY = Y;
        Cls();
        if (Check2.Value == 1) AutoStarMag();
        PlotNow();
    }
}

void Form1::Form_MouseMove(int Button, int Shift, float x, float Y) {
    if (Button == 0) {
        MenuHover(x, Y);
        return;
    }
    if (Button != mouse::Left) return;
    // The anchors are those of the last mouse down with the same modifier (0 if none since
    // start), so a modifier pressed only after the button still drives the parameter.
    if (Shift == 0) {
        TimeJump(x);
        return;
    }
    if (Shift == mouse::Ctrl) {
        Incline1 = x / AnglePixels + Incline1Offset;
        Text4.Text = text(Incline1);
        Incline2 = Incline2Offset - Y / AnglePixels;
        Text5.Text = text(Incline2);
    } else if (Shift == mouse::Shift) {
        Incline3 = x / AnglePixels + Incline3Offset;
        Text6.Text = text(Incline3);
    } else if (Shift == mouse::Alt) {
        const Num e = Num(x) / EccenPixels + EccenOffset;
        Eccen = e > EccenLimit ? Num(EccenLimit) : e < -EccenLimit ? Num(-EccenLimit) : e;
        Text3.Text = text(Eccen);
    }
    DragUpdate();
}

void Form1::Form_MouseUp(int Button, int /*Shift*/, float /*x*/, float /*Y*/) {
    // A plain left drag, or one whose modifier came after the button, ends without a redraw.
    if (Button != mouse::Left || !Dragging) return;
    Cls();
    if (Check1.Value == 1) AutoGraphMag();
    if (Check2.Value == 1) AutoStarMag();
    setDragStyle(*this, FillStyle::Solid, BorderStyle::Solid);
    PlotNow();
    Dragging = false;
}

} // namespace orvanta
