// SPDX-License-Identifier: GPL-3.0-or-later
// The table of the inputs: every quantity a user enters, once, with its box, its caption, its
// `orvanta curve` option, unit, accepted range, the wording of the hint that names it and its
// name in the light-curve table's header. The parameter input, the error hint, the table's
// header and the command's options and --help read it; later features (fits, saved
// scenarios) address a quantity by its stable `name`.
#pragma once

#include "ui/window_controls.h"

#include <span>
#include <string_view>

namespace orvanta {

/// Where a least-squares fit searches a quantity it may free, and the size of a change that
/// matters (which sets the fit's difference step); all 0 for a quantity a fit never frees
/// (a light entered as anything but a temperature, the steps).
struct FitRange {
    double lower = 0, upper = 0, typical = 0;
    [[nodiscard]] bool fittable() const { return typical > 0; }
};

/// The values a quantity accepts, as the hint judges them.
enum class Accepts {
    Any,         ///< any number
    Positive,    ///< above 0
    NonNegative, ///< 0 or more
    OpenUnit,    ///< above -1 and below 1
    Steps,       ///< a step count from 1 to 32766
};

struct InputQuantity {
    /// Stable lower-case name: "mass-a", "radius-b", "temperature-b", "eccentricity", ...
    std::string_view name;
    /// 'a' or 'b' for a star's quantity, 0 for the orbit's.
    char star;
    /// For a star's light: the row of its quantity selector (0 flux, 1 luminosity,
    /// 2 temperature, 3 absolute visual magnitude) the box is read in; -1 for the others.
    int lightRow;
    /// The box it is typed in.
    TextBoxCtl Controls::*box;
    /// The caption beside the box, which the table's header repeats; nullptr for a light,
    /// whose caption is its selector's row.
    LabelCtl Controls::*caption;
    /// The `orvanta curve` option and the word for its value in --help.
    std::string_view option, metavar;
    /// --help's description, with the unit.
    std::string_view meaning;
    /// The unit alone ("" for a pure number).
    std::string_view unit;
    Accepts accepts;
    /// The hint's wording of what to type ("a mass above 0"); empty where any number will do.
    std::string_view hint;
    /// Whether the hint names an empty box.
    bool emptyIsWrong;
    /// The fit's search range; angles (unit "degrees") are searched at any turn.
    FitRange fit;
};

/// Every quantity a user enters, star A's, star B's, then the orbit's.
std::span<const InputQuantity> inputQuantities();

/// The quantity of that name; nullptr for none.
const InputQuantity* inputNamed(std::string_view name);

/// The box of the quantity of that name in `c` (the name must be one of the table's).
TextBoxCtl& inputBox(Controls& c, std::string_view name);
const TextBoxCtl& inputBox(const Controls& c, std::string_view name);

/// The temperature box beside a star's magnitude (row 3), its caption and its hint.
TextBoxCtl Controls::*temperatureBesideMagnitude(char star);
LabelCtl Controls::*temperatureBesideMagnitudeCaption(char star);
inline constexpr std::string_view TemperatureBesideMagnitudeHint =
    "the star's temperature in K beside its magnitude";

} // namespace orvanta
