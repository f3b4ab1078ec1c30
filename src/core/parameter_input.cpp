// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the parameter set from the window's boxes (ui/inputs.h) into the state.
#include "core/list_rows.h"
#include "form1.h"
#include "physics/orbit.h"
#include "physics/photometry.h"

namespace orvanta {

void Form1::DataInput() {
    readInputs(*this, *this);
}

void readInputs(SimState& s, Controls& c) {
    noteWhatIsRead(c); // for the boxes whose text the number rule reads only in part
    s.MeanDistance = Val(inputBox(c, "distance").Text);
    s.IterationNo = Val(inputBox(c, "steps").Text);
    s.Eccen = Val(inputBox(c, "eccentricity").Text);
    s.Incline1 = Val(inputBox(c, "incline1").Text);
    s.Incline2 = Val(inputBox(c, "incline2").Text);
    s.Incline3 = Val(inputBox(c, "incline3").Text);
    s.MassA = Val(inputBox(c, "mass-a").Text);
    s.MassB = Val(inputBox(c, "mass-b").Text);
    s.RadiusA = Val(inputBox(c, "radius-a").Text);
    s.RadiusB = Val(inputBox(c, "radius-b").Text);

    // With the magnitude row a star's radius is derived here and replaces the typed one.
    s.FluxA = num(starFlux(s, c, 'A', c.List1.TopIndex));
    s.FluxB = num(starFlux(s, c, 'B', c.List2.TopIndex));

    s.Period = orbitalPeriod(s.MeanDistance, s.MassA, s.MassB);
    s.MeanMotion = meanMotionOf(s.Period, s.Pi);
    s.MaxPowerSum = fullDiscPower(s.FluxA, s.RadiusA, s.FluxB, s.RadiusB, s.Pi);

    // With third light, the light outside the eclipses is the stars' and the third light's.
    if (s.LightOptions.thirdLight != 0)
        s.MaxPowerSum = s.MaxPowerSum + Num(physics::thirdLightPower(s.MaxPowerSum.value(),
                                                                     s.LightOptions.thirdLight));

    c.Label31.Caption = text(s.Period * DaysPerYear);
    c.Label33.Caption = text(powerToAll(s.MaxPowerSum, c.List3.TopIndex));
    s.GraphMag =
        c.List3.TopIndex == GraphRow::Power ? Num(Val(c.Text13.Text)) : -Num(Val(c.Text13.Text));
    s.StarMag = Val(c.Text14.Text);
}

} // namespace orvanta
