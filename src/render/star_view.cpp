// SPDX-License-Identifier: GPL-3.0-or-later
// The star view: the two star discs, the centre-of-mass mark and the automatic fit of the
// view to one period's horizontal sweep. A view point (vx, vy) in solar radii is drawn at
// pixel (CentreX + StarMag * vx, CentreY + StarMag * vy).
#include "period_sweep.h"
#include "render/placement.h"

namespace orvanta {

namespace {
Colour32 shapeColour(const Num& c) {
    return static_cast<Colour32>(CLng(c));
}
} // namespace

void Form1::Initialize() {
    const float a = Single(2 * RadiusA * StarMag); // diameter, px
    StarA.SetHeight(a);
    StarA.SetWidth(a);
    StarA.FillColor = shapeColour(Colour(FluxA));

    const float b = Single(2 * RadiusB * StarMag);
    StarBTop.SetHeight(b);
    StarBTop.SetWidth(b);
    StarBTop.FillColor = shapeColour(Colour(FluxB));
    StarBBottom.SetHeight(b);
    StarBBottom.SetWidth(b);
    StarBBottom.FillColor = shapeColour(Colour(FluxB));
}

void Form1::Draw() {
    DrawStars();
    DrawGraph();
}

void Form1::DrawStars() {
    // Star B has one shape above StarA and one below; equal depths count as B in front.
    ShapeCtl* starB = nullptr;
    if (DepthA >= DepthB) {
        StarBTop.Visible = true;
        StarBBottom.Visible = false;
        starB = &StarBTop;
    } else {
        StarBTop.Visible = false;
        StarBBottom.Visible = true;
        starB = &StarBBottom;
    }
    starB->SetLeft(Single(starColumnOf(*this, ViewXB - RadiusB)));
    starB->SetTop(Single(starRowOf(*this, ViewYB - RadiusB)));
    StarA.SetLeft(Single(starColumnOf(*this, ViewXA - RadiusA)));
    StarA.SetTop(Single(starRowOf(*this, ViewYA - RadiusA)));
}

void Form1::PlaceCentre() {
    // Centre is a 4 x 4 px circle.
    Centre.SetLeft(Single(CentreX - 2));
    Centre.SetTop(Single(CentreY - 2));
}

void Form1::AutoStarMag() {
    // Both extremes start at the centre of mass, so the fitted range always contains it.
    ViewRight = 0;
    ViewLeft = 0;
    sweepPeriod(*this, [&] {
        if (RadiusA + ViewXA > ViewRight) ViewRight = RadiusA + ViewXA;
        if (RadiusB + ViewXB > ViewRight) ViewRight = RadiusB + ViewXB;
        if (ViewXA - RadiusA < ViewLeft) ViewLeft = ViewXA - RadiusA;
        if (ViewXB - RadiusB < ViewLeft) ViewLeft = ViewXB - RadiusB;
    });
    // The leftmost edge falls on column 0, the rightmost on the graph's last column.
    StarMag = GraphSpan / (ViewRight - ViewLeft);
    CentreX = StarMag * (-ViewLeft);
    Text14.Text = text(StarMag);
}

} // namespace orvanta
