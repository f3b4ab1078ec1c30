// SPDX-License-Identifier: GPL-3.0-or-later
// The inputs a fit may free, by their lower-case names: the rows of the table of the inputs
// (ui/inputs.h) that have a fit range, with the box each is typed into, its unit and the
// range the fit keeps it in; then the options of real stars (limb darkening and third
// light), which have no box.
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
namespace physics {
struct LightOptions;
}
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
    /// Its row in the table of the inputs (ui/inputs.h); nullptr for an option of the light.
    const InputQuantity* input;
};

/// The options of real stars a fit may free: the linear coefficient u1 of a star's limb
/// darkening (u2 held), and the third light.
inline constexpr std::string_view LimbA = "limb-a", LimbB = "limb-b", ThirdLight = "third-light";

/// Every parameter a fit can free, in the order of the table of the inputs, then the
/// options of the light.
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

/// The parameter's value as its box shows it (after prepareBoxes). An option of the light
/// has no box: raises FitError.
double readParameter(const Controls& boxes, const FitParameter& p);
/// Types the value into the parameter's box (after prepareBoxes); raises FitError for an
/// option of the light.
void writeParameter(Controls& boxes, const FitParameter& p, double value);

/// The value of an option of the light.
double readOption(const physics::LightOptions& light, const FitParameter& p);
/// Sets an option of the light.
void writeOption(physics::LightOptions& light, const FitParameter& p, double value);
/// Why the options cannot describe the stars (a law with a negative intensity, a third light
/// outside 0 up to 1), or empty when they can.
std::string optionsProblem(const physics::LightOptions& light);

/// An angle in degrees within (-180, 180]; other values as they are.
double reported(const FitParameter& p, double value);

} // namespace orvanta::fit
