// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between a star's surface flux and the quantity its light is entered in,
// and of a received power to the quantity the light curve shows.
#include "core/list_rows.h"
#include "photometry/star_side.h"
#include "physics/photometry.h"

namespace orvanta {

Maybe allToFlux(SimState& f, const StarSide& s, int Index) {
    switch (Index) {
    case LightRow::Flux:
        return Num(Val(s.value.Text));
    case LightRow::Luminosity: {
        const Num R = Val(s.radius.Text);
        const Num L = Val(s.value.Text);
        return fluxOfLuminosity(L, R, f.Pi);
    }
    case LightRow::Temperature: {
        const Num T = Val(s.value.Text);
        return fluxOfTemperature(T);
    }
    case LightRow::Magnitude: {
        // The flux follows from the temperature alone; the magnitude fixes the radius
        // through L ~ R^2 T^4 with the Sun as reference.
        const Num flux = fluxOfTemperature(Num(Val(s.temperature.Text)));
        f.LogTempX = logTemperatureX(Num(Val(s.temperature.Text)));
        const Num Mv = Val(s.value.Text);
        f.BolMag = bolometricMagnitude(Mv, f.LogTempX);
        s.radiusField = radiusOfMagnitude(f.BolMag, Num(Val(s.temperature.Text)));
        s.radius.Text = text(s.radiusField);
        return flux;
    }
    default:
        return std::nullopt;
    }
}

Maybe fluxToAll(SimState& f, const StarSide& s, const Num& Value, int Index) {
    const std::string star(1, s.letter);
    switch (Index) {
    case LightRow::Flux:
        s.description.Caption = "(Light Flux from Star " + star + " Surface)";
        return Value;
    case LightRow::Luminosity: {
        const Num R = Val(s.radius.Text);
        const Num result = luminosityOfFlux(Value, R, f.Pi);
        s.description.Caption = "(Luminosity of Star " + star + " Surface)";
        return result;
    }
    case LightRow::Temperature: {
        const Num result = temperatureOfFlux(Value);
        s.description.Caption = "(Temperature of Star " + star + " Surface)";
        return result;
    }
    case LightRow::Magnitude:
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

Maybe starFlux(SimState& s, Controls& c, char star, int Index) {
    return allToFlux(s, star == 'A' ? starA(s, c) : starB(s, c), Index);
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

Maybe powerToAll(const Num& Value, int Index) {
    if (Index == GraphRow::Power) return Value;
    if (Index == GraphRow::Magnitude) return magnitudeOfPower(Value);
    return std::nullopt;
}

Maybe allToPower(const Num& Value, int Index) {
    if (Index == GraphRow::Power) return Value;
    if (Index == GraphRow::Magnitude) return powerOfMagnitude(Value);
    return std::nullopt;
}

Maybe Form1::PowerToAll(const Num& Value, int Index) {
    return powerToAll(Value, Index);
}

Maybe Form1::AllToPower(const Num& Value, int Index) {
    return allToPower(Value, Index);
}

} // namespace orvanta
