// SPDX-License-Identifier: GPL-3.0-or-later
// The two stars at one instant: the parameter set, its period, and every quantity the orbit
// and light stages compute from them. Lengths in solar radii, masses in solar masses, input
// angles in degrees, derived angles in radians, time in years, flux in W/m^2, power in W.
// The window's state builds on it (core/sim_state.h); a headless evaluator holds its own
// (physics/evaluator.h). No controls and no pixels here.
#pragma once

#include "physics/checked.h"
#include "physics/eclipse.h"
#include "physics/light_options.h"

namespace orvanta {

struct BinaryState {
    Num MassA;        ///< solar masses, star A
    Num MassB;        ///< solar masses, star B
    Num MeanDistance; ///< solar radii, semi-major axis of the relative orbit
    Num Eccen;        ///< eccentricity of the relative orbit; -1 < e < 1 is the model's domain
    Num Incline1;     ///< degrees, turn about the vertical view axis
    Num Incline2;     ///< degrees, tilt about the horizontal view axis
    Num Incline3;     ///< degrees, turn within the orbital plane
    Num RadiusA;      ///< solar radii
    Num RadiusB;      ///< solar radii
    Num FluxA;        ///< W/m^2 at the surface of star A
    Num FluxB;        ///< W/m^2 at the surface of star B
    Num Pi;           ///< the truncated literal 3.14159265358979 (PiLiteral), once set
    Num RelX;         ///< solar radii, B relative to A in the orbital plane
    Num RelY;
    Num TrueAnomaly;   ///< radians, in [0, 2 Pi)
    Num Separation;    ///< solar radii between the centres
    int LoopIndex = 0; ///< counter of the fixed loops; meaningless between calls
    Num EccAnomaly;    ///< radians; also the starting guess of the next Kepler solution
    Num MeanMotion;    ///< radians per year
    Num Period;        ///< years
    Num Time;          ///< years since periastron
    Num OrbitXA;       ///< solar radii about the centre of mass, orbital plane
    Num OrbitYA;
    Num OrbitXB;
    Num OrbitYB;
    Num ViewXA; ///< solar radii, to the right on the screen
    Num DepthA; ///< solar radii along the line of sight; larger is farther
    Num ViewYA; ///< solar radii, downward on the screen
    Num ViewXB;
    Num DepthB;
    Num ViewYB;
    Num ProjDistance; ///< solar radii between the centres as seen by the viewer
    Num LensAngleA;   ///< radians, half-angle of the common chord at A's centre
    Num LensAngleB;
    Num PowerSum; ///< W received at Time
    Num CosIncline1;
    Num CosIncline2;
    Num CosIncline3;
    Num SinIncline1;
    Num SinIncline2;
    Num SinIncline3;
    /// The options of real stars (limb darkening, third light), all off by default. Not a
    /// number of the state: the window's boxes never set them.
    physics::LightOptions LightOptions;

    /// Kepler's equation at Time (from the warm start in EccAnomaly), then both stars' orbit
    /// and view coordinates, depths and ProjDistance. Raises at the operation that faults,
    /// leaving the fields written before it.
    void orbitStage();
    /// PowerSum in W from the projected discs: the uniform discs, then, only with an option
    /// on, optionsStage.
    void lightStage();
    /// PowerSum of two uniform discs, the nearer hiding the overlap of the farther.
    void uniformLight();
    /// After uniformLight, with any option on: the star behind darkened to its limb, then the
    /// third light added to PowerSum.
    void optionsStage();
    // The eclipse cases of lightStage: partial; one disc within the other; nested with A
    // behind; nested with B behind.
    void partialEclipse();
    void nestedEclipse();
    void nestedABehind();
    void nestedBBehind();

    // The numeric helpers with this state's Pi (physics/numeric.h).
    [[nodiscard]] Num acos(const Num& x) const;
    [[nodiscard]] static Num pow(const Num& x, const Num& Y);
    [[nodiscard]] static Num sqrt(const Num& x);
};

} // namespace orvanta
