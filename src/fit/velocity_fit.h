// SPDX-License-Identifier: GPL-3.0-or-later
// The fit of measured radial velocities with the shape of the model's orbit: the two
// amplitudes, the systemic velocity and the time of periastron, and the masses they give.
#pragma once

#include "core/velocity_data.h"
#include "physics/evaluator.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvanta::fit {

/// A fitted or derived figure and its standard error.
struct Estimate {
    double value = 0;
    double error = 0;
};

struct VelocityFit {
    Estimate kA, kB;                 ///< km/s, the velocity amplitudes
    Estimate gamma;                  ///< km/s, the systemic velocity
    Estimate massASin3i, massBSin3i; ///< solar masses
    Estimate aSinI;                  ///< solar radii, of the relative orbit
    /// With the model's inclination: the masses and the separation themselves (0 seen face
    /// on).
    Estimate massA, massB, a;
    /// A time of periastron passage (days in the file's time, the one nearest the first
    /// point; a phase for a phased file).
    Estimate periastron;
    double periodDays = 0;   ///< what the times were folded with
    double eccentricity = 0; ///< the model's
    double sinI = 0;         ///< the model's
    double chi2Reduced = 0;  ///< chi-square over the degrees of freedom (the weighted one)
    double rms = 0;          ///< km/s, of the residuals
    std::size_t pointsA = 0, pointsB = 0;
    bool weighted = false; ///< every velocity had an error and was weighted by it
};

/// The model's inclination the fit used, in degrees from 0 to 90 (the one of i and 180 - i
/// that sin i gives).
double inclinationDegrees(const VelocityFit& fit);

/// Fits the velocities of `set` with the curves of the model `model` (its eccentricity and its
/// three angles fix their shape; its masses and distance do not enter): each star's velocity
/// is gamma + K times the model's own velocity of that star divided by its amplitude, at the
/// time since periastron. The period is `periodDays`, else the file's, else the model's.
/// Least squares, weighted by the errors where every velocity has one; the errors come from
/// the covariance of gamma, K_A, K_B and the time of periastron, scaled by the reduced
/// chi-square. The masses and a sin i follow by the textbook formulae
/// (`physics::fromAmplitudes`) with first-order propagated errors, the period, eccentricity and
/// inclination taken as exact. Raises FitError (fit_parameters.h) for velocities of one star
/// only, too few points, or a model without velocities (face on, or one that cannot be
/// evaluated).
VelocityFit fitVelocities(const VelocitySet& set, const Parameters& model,
                          std::optional<double> periodDays = std::nullopt);

/// A set's velocities placed on the model's curves for a plot beside them: the phase since
/// the fitted periastron (0..1, as the model's curves run from periastron), and each velocity
/// less the fitted systemic velocity; NaN stays NaN.
struct PhasedVelocities {
    std::vector<double> phase, rvA, rvB, errorA, errorB;
};
PhasedVelocities phasedVelocities(const VelocitySet& set, const VelocityFit& fit);

/// "24 velocities, M_A 3.6 ± 0.2, M_B 0.80 ± 0.05 M☉" (UTF-8): what the window's title says.
std::string velocityCaption(const VelocitySet& set, const VelocityFit& fit);

/// The fit in a few lines for the window's summary: amplitudes, gamma, M sin^3 i, a sin i,
/// the masses with the model's inclination, the rms.
std::string velocityFitText(const VelocityFit& fit);

/// The velocities the window holds and their fit, which follows the model: fitted again
/// whenever the model's parameters change, never otherwise.
class VelocityMasses {
public:
    /// Holds `set` (nullptr: none) and forgets the fit.
    void hold(std::shared_ptr<const VelocitySet> set);
    /// Fits the set with `model` unless the last fit was made with the same parameters;
    /// true when it fitted.
    bool follow(const Parameters& model);
    [[nodiscard]] const std::shared_ptr<const VelocitySet>& set() const { return set_; }
    /// The last fit, or none (no set, or a set the model cannot fit: see `failure`).
    [[nodiscard]] const std::optional<VelocityFit>& fit() const { return fit_; }
    [[nodiscard]] const std::string& failure() const { return failure_; }
    /// For the title: `velocityCaption`, or "rv.txt: 24 velocities, no masses (why)"; empty
    /// without a set.
    [[nodiscard]] std::string caption() const;
    /// For the window's summary: what was read and what the fit gives.
    [[nodiscard]] std::string summary() const;

private:
    std::shared_ptr<const VelocitySet> set_;
    std::optional<Parameters> fitted_;
    std::optional<VelocityFit> fit_;
    std::string failure_;
};

/// A value to the digits its error supports, as the fit's figures write it: "3.59 ± 0.12"
/// with `plusMinus` "±"; without an error, four digits.
std::string withError(const Estimate& e, std::string_view plusMinus);

} // namespace orvanta::fit
