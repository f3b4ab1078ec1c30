// SPDX-License-Identifier: GPL-3.0-or-later
// The simulation state: every field the procedures share, with its unit and start value:
// the two stars' (physics/binary_state.h), then the window's own. Lengths in solar radii,
// masses in solar masses, input angles in degrees, derived angles in radians, time in years,
// flux in W/m^2, power in W, screen positions in window pixels.
#pragma once

#include "physics/binary_state.h"

#include <cstddef>
#include <iterator>

namespace orvanta {

struct SimState : BinaryState {
    Num IterationNo;    ///< steps per orbital period
    Num StepNo;         ///< step now shown, 1..IterationNo; 0 (empty) until the first plot
    Num GraphMag;       ///< px per W, or px per magnitude (negative while magnitudes show)
    Num StarMag;        ///< px per solar radius
    Num CentreX;        ///< px, column of the centre of mass in the star view
    Num CentreY;        ///< px, row of the centre of mass
    Num MaxPowerSum;    ///< W when neither star hides the other
    Num ViewRight;      ///< solar radii, rightmost star edge of the last star-view fit
    Num ViewLeft;       ///< solar radii, leftmost star edge
    Num SavedTime;      ///< years, Time kept across a pass over the whole period
    Num EccenOffset;    ///< anchor of an eccentricity drag
    Num Incline1Offset; ///< degrees, anchor of an Incline1 drag
    Num Incline2Offset;
    Num Incline3Offset;
    bool Dragging = false; ///< a left-button modifier drag is in progress
    int PrevQuantityA = 0; ///< selector row of star A in force before the current scroll
    int PrevQuantityB = 0;
    Num LogTempX;     ///< log10(temperature / K) - 4, scratch of the magnitude conversion
    Num BolMag;       ///< bolometric absolute magnitude, scratch
    Num LowPowerSum;  ///< W, least PowerSum of the last power-mode fit
    Num HighPowerSum; ///< W, greatest
    Num FaintMagSum;  ///< faintest summed magnitude of the last magnitude sweep
    Num BrightMagSum; ///< brightest
    Num GraphBase;    ///< W or magnitude drawn at row AxisY
    Num AxisY;        ///< px, row of the graph's time axis
    Num GraphBottom;  ///< px, lowest row of the graph area
    Num TimeMarkX;    ///< px, column of the time cursor
    Num DotY;         ///< px, row of the current light value
};

/// Every number of the state, the two stars' and the window's: for checks that look at the
/// whole state (no NaN, no infinity; the same digits twice). The build fails below when a
/// field is added to the state but not here.
inline constexpr Num SimState::*StateNumbers[] = {
    &SimState::MassA,
    &SimState::MassB,
    &SimState::MeanDistance,
    &SimState::IterationNo,
    &SimState::Eccen,
    &SimState::Incline1,
    &SimState::Incline2,
    &SimState::Incline3,
    &SimState::RadiusA,
    &SimState::RadiusB,
    &SimState::FluxA,
    &SimState::FluxB,
    &SimState::Pi,
    &SimState::RelX,
    &SimState::RelY,
    &SimState::TrueAnomaly,
    &SimState::Separation,
    &SimState::StepNo,
    &SimState::EccAnomaly,
    &SimState::MeanMotion,
    &SimState::Period,
    &SimState::Time,
    &SimState::OrbitXA,
    &SimState::OrbitYA,
    &SimState::OrbitXB,
    &SimState::OrbitYB,
    &SimState::ViewXA,
    &SimState::DepthA,
    &SimState::ViewYA,
    &SimState::ViewXB,
    &SimState::DepthB,
    &SimState::ViewYB,
    &SimState::ProjDistance,
    &SimState::LensAngleA,
    &SimState::LensAngleB,
    &SimState::PowerSum,
    &SimState::CosIncline1,
    &SimState::CosIncline2,
    &SimState::CosIncline3,
    &SimState::SinIncline1,
    &SimState::SinIncline2,
    &SimState::SinIncline3,
    &SimState::GraphMag,
    &SimState::StarMag,
    &SimState::CentreX,
    &SimState::CentreY,
    &SimState::MaxPowerSum,
    &SimState::ViewRight,
    &SimState::ViewLeft,
    &SimState::SavedTime,
    &SimState::EccenOffset,
    &SimState::Incline1Offset,
    &SimState::Incline2Offset,
    &SimState::Incline3Offset,
    &SimState::LogTempX,
    &SimState::BolMag,
    &SimState::LowPowerSum,
    &SimState::HighPowerSum,
    &SimState::FaintMagSum,
    &SimState::BrightMagSum,
    &SimState::GraphBase,
    &SimState::AxisY,
    &SimState::GraphBottom,
    &SimState::TimeMarkX,
    &SimState::DotY,
};

namespace detail {
// Converts to any field's type, to count the fields of an aggregate.
struct AnyField {
    template <class T> operator T() const; // NOLINT: only ever unevaluated
};
template <class T, class... Fields> constexpr std::size_t fieldCount() {
    if constexpr (requires { T{Fields{}..., AnyField{}}; })
        return fieldCount<T, Fields..., AnyField>();
    else
        return sizeof...(Fields);
}
} // namespace detail

/// The fields that are not numbers: LoopIndex, LightOptions, Dragging, PrevQuantityA,
/// PrevQuantityB.
inline constexpr std::size_t StateOtherFields = 5;
// SimState's first element is its BinaryState part, counted by its own fields.
static_assert(detail::fieldCount<BinaryState>() + detail::fieldCount<SimState>() - 1 ==
                  std::size(StateNumbers) + StateOtherFields,
              "a field of SimState is missing from StateNumbers (or from StateOtherFields)");

} // namespace orvanta
