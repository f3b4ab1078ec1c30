// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between a star's surface flux and the quantity its light is entered in,
// and of a received power to the quantity the light curve shows.
#include "photometry/light_constants.h"
#include "photometry/star_side.h"

namespace orvanta {

Maybe allToFlux(Form1& f, const StarSide& s, int Index) {
    switch (Index) {
    case 0:
        return Num(Val(s.value.Text));
    case 1: {
        const Num R = Val(s.radius.Text);
        const Num L = Val(s.value.Text);
        return L / ((f.pow(R * SunRad, 2) * 4) * f.Pi);
    }
    case 2: {
        const Num T = Val(s.value.Text);
        return f.pow(T, 4) * StefanBoltzmann;
    }
    case 3: {
        // The flux follows from the temperature alone; the magnitude fixes the radius
        // through L ~ R^2 T^4 with the Sun as reference.
        const Num flux = f.pow(Num(Val(s.temperature.Text)), 4) * StefanBoltzmann;
        f.LogTempX = Log(Num(Val(s.temperature.Text))) / Log(Num(10)) - 4;
        const Num Mv = Val(s.value.Text);
        const Num& X = f.LogTempX;
        f.BolMag = Mv - 8.499 * f.pow(X, 4) + 13.421 * f.pow(X, 3) - 8.131 * f.pow(X, 2) -
                   3.901 * X - 0.438;
        s.radiusField = f.pow(10, (SunBolometricMag - f.BolMag) / 5) *
                        f.pow(SunTemperature / Num(Val(s.temperature.Text)), 2);
        s.radius.Text = text(s.radiusField);
        return flux;
    }
    default:
        return std::nullopt;
    }
}

Maybe fluxToAll(Form1& f, const StarSide& s, const Num& Value, int Index) {
    const std::string star(1, s.letter);
    switch (Index) {
    case 0:
        s.description.Caption = "(Light Flux from Star " + star + " Surface)";
        return Value;
    case 1: {
        const Num R = Val(s.radius.Text);
        const Num result = ((Value * f.pow(R * SunRad, 2)) * 4) * f.Pi;
        s.description.Caption = "(Luminosity of Star " + star + " Surface)";
        return result;
    }
    case 2: {
        const Num result = f.pow(Value / StefanBoltzmann, 0.25);
        s.description.Caption = "(Temperature of Star " + star + " Surface)";
        return result;
    }
    case 3:
        // No magnitude is derived from a flux: the user types magnitude and temperature.
        s.description.Caption = "(Absolute Visual Magnitude " + star + ")";
        s.temperature.Text = "";
        s.temperatureRow.Visible = true;
        s.temperatureNote.Visible = true;
        s.temperature.Visible = true;
        s.radius.Enabled = false;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

Maybe Form1::AllToFluxA(int Index) {
    return allToFlux(*this, starA(*this), Index);
}
Maybe Form1::AllToFluxB(int Index) {
    return allToFlux(*this, starB(*this), Index);
}
Maybe Form1::FluxToAllA(const Num& Value, int Index) {
    return fluxToAll(*this, starA(*this), Value, Index);
}
Maybe Form1::FluxToAllB(const Num& Value, int Index) {
    return fluxToAll(*this, starB(*this), Value, Index);
}

Maybe Form1::PowerToAll(const Num& Value, int Index) {
    if (Index == 0) return Value;
    if (Index == 1) return ZeroPointMag - MagnitudeFactor * Log(Value / ZeroPointPower) / Log(10);
    return std::nullopt;
}

Maybe Form1::AllToPower(const Num& Value, int Index) {
    if (Index == 0) return Value;
    if (Index == 1) return pow(10, (ZeroPointMag - Value) / MagnitudeFactor) * ZeroPointPower;
    return std::nullopt;
}

} // namespace orvanta
