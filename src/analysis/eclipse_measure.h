// SPDX-License-Identifier: GPL-3.0-or-later
// What a student reads off a light curve with cursors: the durations and depths of the two
// eclipses, and the sizes and surface fluxes they give, beside what the model's own
// parameters give.
//
// The relations are the textbook ones for a circular orbit of radius a seen at inclination i,
// two uniform discs (e.g. B. W. Carroll and D. A. Ostlie, An Introduction to Modern
// Astrophysics, 2nd ed., section 7.3). At phase angle theta = 2 pi phase from mid-eclipse
// the centres lie apart on the sky by d = a sqrt(sin^2 theta + cos^2 i cos^2 theta). First
// and last contact are d = R_A + R_B, half the duration either side of mid-eclipse, so
//     (R_A + R_B) / a = sqrt(sin^2(pi D14) + cos^2 i cos^2(pi D14)),
// with D14 the duration from first to last contact in phase; in a total eclipse the second
// and third contacts are d = |R_A - R_B|, so
//     |R_A - R_B| / a = sqrt(sin^2(pi D23) + cos^2 i cos^2(pi D23)).
// At both conjunctions of a circular orbit the same area of the star behind is hidden, so
// the ratio of the depths (in relative flux) is the ratio of the surface fluxes of the star
// behind at the deeper eclipse and the star behind at the shallower one. They assume a
// circular orbit, spheres of uniform brightness (no limb darkening, no third light), and
// the inclination known; an eccentric orbit makes the two eclipses last differently.
#pragma once

#include "physics/evaluator.h"

#include <optional>
#include <vector>

namespace orvanta::analysis {

/// One period of the model's light: the graph's sweep from time 0, in phase (0 to 1) and
/// relative to the light of both full discs.
struct LightCurve {
    std::vector<double> phase;
    std::vector<double> flux;
    double periodDays = 0;
};

/// The light curve of a parameter set, the graph's 794 samples. Raises the model's
/// RuntimeError for a set it cannot evaluate.
LightCurve lightCurveOf(const Parameters& p);

/// The contacts of one eclipse in phase: first and last, and second and third when the
/// eclipse is total (or annular).
struct Contacts {
    double first = 0, last = 0;
    std::optional<double> second, third;
};

/// The contacts of the model's two eclipses as its curve shows them: where the light leaves
/// and comes back to the full level, and the ends of a flat bottom. Each is half-way between
/// the two samples it lies between.
struct ModelContacts {
    std::optional<Contacts> primary;   ///< the deeper eclipse
    std::optional<Contacts> secondary; ///< the other, when there is one
};
ModelContacts contactsOf(const LightCurve& curve);

/// The cursors the student placed, phases of the curve (any of them may wrap past 1).
struct Cursors {
    Contacts primary, secondary;
};

/// One eclipse as read between its cursors.
struct EclipseReading {
    double duration = 0;     ///< first to last contact, phase
    double durationDays = 0; ///< the same in days
    double depth = 0;        ///< 1 less the faintest light between the cursors
    std::optional<double> innerDuration, innerDurationDays; ///< second to third contact
};

/// What the cursors give: the two eclipses, and what a lesson derives from them.
struct Measurement {
    EclipseReading primary, secondary;
    double sumOfRadii = 0;                   ///< (R_A + R_B) / a, from the primary
    std::optional<double> differenceOfRadii; ///< |R_A - R_B| / a, with inner contacts
    std::optional<double> surfaceFluxRatio;  ///< primary depth / secondary depth
};

/// Reads the cursors on the curve, with the inclination in degrees (90: edge-on).
Measurement measure(const Cursors& cursors, const LightCurve& curve, double inclinationDeg);

/// The same quantities from the model's parameters.
struct ModelFigures {
    double sumOfRadii = 0;        ///< (R_A + R_B) / a
    double differenceOfRadii = 0; ///< |R_A - R_B| / a
    /// The surface flux of the star behind at the deeper eclipse over the other's: what the
    /// depth ratio measures. Empty without an eclipse.
    std::optional<double> surfaceFluxRatio;
    double inclinationDeg = 0; ///< from the orbit's angles
};
ModelFigures modelFigures(const Parameters& p);

/// The duration from one phase to a later one, 0 to 1.
double phaseSpan(double from, double to);

} // namespace orvanta::analysis
