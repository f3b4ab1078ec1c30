// SPDX-License-Identifier: GPL-3.0-or-later
#include "physics/photometry.h"

#include "physics/constants.h"
#include "physics/light_constants.h"

namespace orvanta {

namespace {
Num pow(const Num& x, const Num& Y) {
    return Power(x, Y);
}
} // namespace

Num fluxOfLuminosity(const Num& L, const Num& R, const Num& Pi) {
    return L / ((pow(R * SunRad, 2) * 4) * Pi);
}

Num luminosityOfFlux(const Num& Flux, const Num& R, const Num& Pi) {
    return ((Flux * pow(R * SunRad, 2)) * 4) * Pi;
}

Num fluxOfTemperature(const Num& T) {
    return pow(T, 4) * StefanBoltzmann;
}

Num temperatureOfFlux(const Num& Flux) {
    return pow(Flux / StefanBoltzmann, 0.25);
}

Num logTemperatureX(const Num& T) {
    return Log(T) / Log(Num(10)) - 4;
}

Num bolometricMagnitude(const Num& Mv, const Num& X) {
    return Mv - 8.499 * pow(X, 4) + 13.421 * pow(X, 3) - 8.131 * pow(X, 2) - 3.901 * X - 0.438;
}

Num radiusOfMagnitude(const Num& BolMag, const Num& T) {
    return pow(10, (SunBolometricMag - BolMag) / 5) * pow(SunTemperature / T, 2);
}

// Both full discs: surface flux times pi R^2, R in metres.
Num fullDiscPower(const Num& FluxA, const Num& RadiusA, const Num& FluxB, const Num& RadiusB,
                  const Num& Pi) {
    return (FluxA * Pi) * pow(RadiusA * SunRad, 2) + (FluxB * Pi) * pow(RadiusB * SunRad, 2);
}

Num magnitudeOfPower(const Num& Value) {
    return ZeroPointMag - MagnitudeFactor * Log(Value / ZeroPointPower) / Log(10);
}

Num powerOfMagnitude(const Num& Value) {
    return pow(10, (ZeroPointMag - Value) / MagnitudeFactor) * ZeroPointPower;
}

// Colour value 0x00BBGGRR. The temperature is rounded down first, so each boundary
// belongs to the hotter band, except 25000 K, which stays pale blue-white.
Num starColour(const Num& Flux) {
    const Num T = Int(pow(Flux / StefanBoltzmann, 0.25));
    if (T > 25000) return 0xFF8080;               // light blue
    if (T >= 11000) return 0xFFFFC0;              // pale blue-white
    if (T >= 8000 && T <= 11000) return 0xFFFFFF; // white
    if (T >= 6000 && T <= 8000) return 0xC0FFFF;  // pale yellow
    if (T >= 4500 && T <= 6000) return 0x00FFFF;  // yellow
    if (T >= 3500 && T <= 4500) return 0x0080FF;  // orange
    return 0x0000C0;                              // dark red
}

} // namespace orvanta
