// SPDX-License-Identifier: GPL-3.0-or-later
// The light curve without a window: a parameter set in, the power received and the star in
// front out, at any list of times or at the graph's sweep over one period.
//
//     Parameters p;                       // what a user enters, the light as surface fluxes
//     p.massA = 3.59; ...
//     Evaluator ev(p);                    // the period derived as the window's Plot does
//     for (const CurveSample& s : ev.sweep()) use(s.time, s.power, s.eclipse);
//     CurveSample one = ev.at(0.25 * ev.period());
//
// Limb darkening and third light (p.light) enter the light stage only with an option on, so
// with all off the digits are the uniform discs'.
//
// The digits are the window's: an evaluation is the window's Main (orbit stage, then light
// stage) on the same fields. Kepler's equation is solved from a warm start, the solution of
// the previous evaluation, so the last bit of a result can depend on what came before. The
// rule: an evaluator starts with the warm start 0, as a fresh window does, and every
// evaluation (at(), each sample of sweep()) starts from the one before it. The same sequence
// of times on a fresh evaluator gives the same digits as the same sequence of Main calls on a
// fresh window (the light-curve export is exactly that: a fresh window, one sweep). restart()
// puts the warm start back to 0.
//
// Threads: an evaluator is a plain value with no shared state. Use one evaluator per thread
// (copies are independent); never one from two threads at once.
#pragma once

#include "physics/binary_state.h"
#include "physics/eclipse.h"
#include "physics/light_options.h"
#include "physics/orbit.h"

#include <span>
#include <vector>

namespace orvanta {

/// A parameter set, in the state's units.
struct Parameters {
    double massA = 0;        ///< solar masses
    double massB = 0;        ///< solar masses
    double radiusA = 0;      ///< solar radii
    double radiusB = 0;      ///< solar radii
    double fluxA = 0;        ///< W/m^2 at the surface of star A
    double fluxB = 0;        ///< W/m^2 at the surface of star B
    double distance = 0;     ///< solar radii, semi-major axis of the relative orbit
    double eccentricity = 0; ///< -1 < e < 1
    double incline1 = 0;     ///< degrees, turn about the vertical view axis
    double incline2 = 0;     ///< degrees, tilt about the horizontal view axis
    double incline3 = 0;     ///< degrees, turn within the orbital plane
    /// Limb darkening and third light, all off by default; off, the light is the uniform
    /// discs' to the last digit.
    physics::LightOptions light;
};

/// The parameter set a state holds.
Parameters parametersOf(const BinaryState& s);

/// The system at one instant.
struct CurveSample {
    double time = 0;  ///< years since periastron
    double power = 0; ///< W received
    Eclipse eclipse = Eclipse::None;
};

class Evaluator {
public:
    /// Derives the period, the mean motion and the full-disc power as the window's Plot
    /// does, raising its RuntimeError where one of them faults (masses summing to 0, ...).
    explicit Evaluator(const Parameters& p);

    /// Years.
    [[nodiscard]] double period() const { return state_.Period.value(); }
    /// W received from both full discs, neither hiding the other, with the third light.
    [[nodiscard]] double fullPower() const { return fullPower_.value(); }

    /// Evaluates at `time` (years since periastron). Raises the RuntimeError the window's
    /// Main would, leaving the state as far as it got.
    CurveSample at(double time);
    /// Evaluates at each time in turn.
    std::vector<CurveSample> at(std::span<const double> times);
    /// The graph's sweep: Time from 0 in steps of period() / 793, by repeated addition, while
    /// it does not exceed period() (794 samples, or 793 where the rounding overshoots).
    std::vector<CurveSample> sweep();
    /// The same sweep, handing the whole state of each sample to `body`.
    template <class Body> void sweep(Body&& body) {
        const Num step = state_.Period / SweepSteps;
        const Num limit = state_.Period;
        for (Num t = 0; t <= limit; t = t + step) {
            evaluate(t);
            body(static_cast<const BinaryState&>(state_));
            if (step == 0) break; // a period below the double range: one sample, not a hang
        }
    }

    /// Everything the last evaluation computed: positions, depths, PowerSum.
    [[nodiscard]] const BinaryState& state() const { return state_; }
    /// Evaluations so far.
    [[nodiscard]] unsigned long long evaluations() const { return evaluations_; }
    /// The warm start back to 0, as on a fresh evaluator.
    void restart() { state_.EccAnomaly = 0; }

private:
    void evaluate(const Num& time);
    [[nodiscard]] CurveSample sample() const;

    BinaryState state_;
    Num fullPower_;
    unsigned long long evaluations_ = 0;
};

} // namespace orvanta
