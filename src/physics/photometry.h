// SPDX-License-Identifier: GPL-3.0-or-later
// The light of a star and of the pair: a surface flux from the quantity its light is entered
// in and back, the received power of both full discs, a power as an absolute magnitude and
// back, and a star's colour. Radii in solar radii, flux in W/m^2, power in W. Each raises
// the run-time error of the operation that faults.
#pragma once

#include "physics/checked.h"

namespace orvanta {

/// Surface flux of a star of luminosity L (W) and radius R.
Num fluxOfLuminosity(const Num& L, const Num& R, const Num& Pi);
/// Luminosity (W) of a star of surface flux `Flux` and radius R.
Num luminosityOfFlux(const Num& Flux, const Num& R, const Num& Pi);
/// Surface flux of a black body at temperature T (K).
Num fluxOfTemperature(const Num& T);
/// Temperature (K) of a black body of surface flux `Flux`.
Num temperatureOfFlux(const Num& Flux);

// The magnitude row, in the order the conversion takes its steps: an absolute visual
// magnitude Mv and a temperature T fix the radius through L ~ R^2 T^4, the Sun as reference.

/// log10(T / K) - 4.
Num logTemperatureX(const Num& T);
/// The bolometric absolute magnitude of visual magnitude Mv at X = logTemperatureX(T).
Num bolometricMagnitude(const Num& Mv, const Num& X);
/// The radius (solar radii) of a star of bolometric magnitude BolMag at temperature T.
Num radiusOfMagnitude(const Num& BolMag, const Num& T);

/// The power (W) received from both full discs, neither hiding the other.
Num fullDiscPower(const Num& FluxA, const Num& RadiusA, const Num& FluxB, const Num& RadiusB,
                  const Num& Pi);

/// A received power (W) as the absolute magnitude of the summed light.
Num magnitudeOfPower(const Num& Value);
/// The inverse of magnitudeOfPower.
Num powerOfMagnitude(const Num& Value);

/// The colour value (0x00BBGGRR) of a star with this surface flux: dark red to light blue.
Num starColour(const Num& Flux);

} // namespace orvanta
