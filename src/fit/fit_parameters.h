// SPDX-License-Identifier: GPL-3.0-or-later
// The inputs a fit may free, by their lower-case names: the rows of the table of the inputs
// (ui/inputs.h) that have a fit range, with the box each is typed into, its unit and the
// range the fit keeps it in.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta {
class Form1;
struct Controls;
struct SimState;
struct InputQuantity;
} // namespace orvanta

namespace orvanta::fit {

/// A request the fit cannot follow (an unknown name, a parameter the boxes derive, data
/// without a period); the message is one line.
struct FitError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct FitParameter {
    std::string_view name; ///< "radius-a"
    std::string_view unit; ///< "solar radii"
    double lower, upper;   ///< the range the fit searches
    bool angle;            ///< degrees, any turn: reported within (-180, 180]
    double typical;        ///< a change of this size matters (sets the difference step)
    /// Its row in the table of the inputs (ui/inputs.h).
    const InputQuantity* input;
};

/// Every parameter a fit can free, in the order of the table of the inputs.
const std::vector<FitParameter>& fitParameters();
/// The parameter of this name, or nullptr.
const FitParameter* findFitParameter(std::string_view name);
/// "mass-a, radius-a, ...".
std::string fitParameterNames();

/// Makes the boxes hold every parameter in `names` as a number of its own: a star whose
/// temperature is free and whose light is entered as a flux or luminosity has its selector
/// moved to the temperature row (converting the value as a user's scroll does). Raises
/// FitError for a radius the magnitude row derives, or an unknown name, and the run-time
/// error of the conversion, should there be one.
void prepareBoxes(SimState& s, Controls& c, const std::vector<std::string>& names);
void prepareBoxes(Form1& f, const std::vector<std::string>& names);

/// The parameter's value as its box shows it (after prepareBoxes).
double readParameter(const Controls& boxes, const FitParameter& p);
/// Types the value into the parameter's box (after prepareBoxes).
void writeParameter(Controls& boxes, const FitParameter& p, double value);

/// An angle in degrees within (-180, 180]; other values as they are.
double reported(const FitParameter& p, double value);

} // namespace orvanta::fit
