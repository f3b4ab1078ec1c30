// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the parameter set from the window's boxes into the state.
#include "form1.h"

namespace orvanta {

void Form1::DataInput() {
    NoteWhatIsRead(); // for the boxes whose text the number rule reads only in part
    MeanDistance = Val(Text1.Text);
    IterationNo = Val(Text2.Text);
    Eccen = Val(Text3.Text);
    Incline1 = Val(Text4.Text);
    Incline2 = Val(Text5.Text);
    Incline3 = Val(Text6.Text);
    MassA = Val(Text7.Text);
    MassB = Val(Text8.Text);
    RadiusA = Val(Text9.Text);
    RadiusB = Val(Text10.Text);

    // With the magnitude row a star's radius is derived here and replaces the typed one.
    FluxA = num(AllToFluxA(List1.TopIndex));
    FluxB = num(AllToFluxB(List2.TopIndex));

    // Kepler's third law in years, solar masses and astronomical units.
    const Num x = (MeanDistance * SunRad) / AstroUnit;
    const Num c = pow(x, 3) / (MassA + MassB);
    Period = sqrt(c);
    MeanMotion = (Pi + Pi) / Period;

    // Both full discs: surface flux times pi R^2, R in metres.
    MaxPowerSum = (FluxA * Pi) * pow(RadiusA * SunRad, 2) + (FluxB * Pi) * pow(RadiusB * SunRad, 2);
    // With third light, the light outside the eclipses is the stars' and the third light's.
    if (LightOptions.thirdLight != 0)
        MaxPowerSum = MaxPowerSum +
                      Num(physics::thirdLightPower(MaxPowerSum.value(), LightOptions.thirdLight));

    Label31.Caption = text(Period * DaysPerYear);
    Label33.Caption = text(PowerToAll(MaxPowerSum, List3.TopIndex));
    GraphMag = List3.TopIndex == 0 ? Num(Val(Text13.Text)) : -Num(Val(Text13.Text));
    StarMag = Val(Text14.Text);
}

} // namespace orvanta
