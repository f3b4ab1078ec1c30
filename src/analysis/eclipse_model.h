// SPDX-License-Identifier: GPL-3.0-or-later
// A light curve of two eclipses per orbit, each a symmetric dip of phenomenological shape
// (Mikulasek 2015, A&A 584, A8: depth, width and kurtosis), fitted by least squares to all
// the observations at once, with the period and the epoch free.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace orvanta::analysis {

/// One eclipse: dimming depth * (1 - (1 - exp(1 - cosh(phase / width)))^kurtosis), phase
/// in cycles from its minimum; kurtosis 1 is a rounded dip, more is flatter-bottomed.
struct EclipseShape {
    double depth = 0; ///< in the light's unit
    double width = 0; ///< cycles
    double kurtosis = 1;
};

struct EclipseModel {
    double period = 0;         ///< days
    double epoch = 0;          ///< days, a time of the first eclipse's minimum
    double level = 0;          ///< the light outside eclipse
    double secondaryPhase = 0; ///< cycles after the first eclipse
    EclipseShape primary, secondary;
    double periodError = 0; ///< one standard error, days
    double epochError = 0;
    /// Twice the robust cost at the end (a chi-square in units of the noise) and the
    /// points it was taken over.
    double chiSquare = 0;
    std::size_t points = 0;
};

struct EclipseFitOptions {
    std::size_t mostPoints = 0; ///< every k-th point only, to keep at most this many; 0: all
    int iterations = 60;
};

/// The model that best fits `dimming` at `time` (larger is fainter), started from `start`,
/// with Huber's robust loss on residuals of typical size `noise`; only points within a few
/// eclipse widths of an eclipse and a sample of the others are used. Nothing when the fit
/// does not converge or loses the first eclipse.
std::optional<EclipseModel> fitEclipseModel(std::span<const double> time,
                                            std::span<const double> dimming,
                                            const EclipseModel& start, double noise,
                                            const EclipseFitOptions& options = {});

/// The model's dimming at one time.
double eclipseModelAt(const EclipseModel& m, double time);

} // namespace orvanta::analysis
