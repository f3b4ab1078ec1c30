// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/inputs.h"
#include "core/list_rows.h"

#include <array>
#include <stdexcept>

namespace orvanta {

namespace {

using C = Controls;

// clang-format off
const std::array<InputQuantity, 18> Table = {{
    {"mass-a", 'a', -1, &C::Text7, &C::Label8, "--mass-a", "M", "mass, solar masses",
     "solar masses", Accepts::Positive, "a mass above 0", true, {1e-3, 1e4, 0.1}},
    {"radius-a", 'a', -1, &C::Text9, &C::Label12, "--radius-a", "R", "radius, solar radii",
     "solar radii", Accepts::Positive, "a radius above 0", true, {1e-3, 1e4, 0.1}},
    {"flux-a", 'a', LightRow::Flux,
     &C::Text11, nullptr, "--flux-a", "F", "light flux at the surface, W/m^2",
     "W/m^2", Accepts::NonNegative, "a flux of 0 or more", true, {}},
    {"luminosity-a", 'a', LightRow::Luminosity,
     &C::Text11, nullptr, "--luminosity-a", "L", "luminosity, W", "W",
     Accepts::NonNegative, "a luminosity of 0 or more", true, {}},
    {"temperature-a", 'a', LightRow::Temperature,
     &C::Text11, nullptr, "--temperature-a", "T",
     "surface temperature, K", "K", Accepts::Positive, "a temperature above 0", true, {500, 1e6, 100}},
    {"magnitude-a", 'a', LightRow::Magnitude,
     &C::Text11, nullptr, "--magnitude-a", "MV",
     "absolute visual magnitude (with the temperature option)", "", Accepts::Any, "", false, {}},
    {"mass-b", 'b', -1, &C::Text8, &C::Label10, "--mass-b", "M", "mass, solar masses",
     "solar masses", Accepts::Positive, "a mass above 0", true, {1e-3, 1e4, 0.1}},
    {"radius-b", 'b', -1, &C::Text10, &C::Label26, "--radius-b", "R", "radius, solar radii",
     "solar radii", Accepts::Positive, "a radius above 0", true, {1e-3, 1e4, 0.1}},
    {"flux-b", 'b', LightRow::Flux,
     &C::Text12, nullptr, "--flux-b", "F", "light flux at the surface, W/m^2",
     "W/m^2", Accepts::NonNegative, "a flux of 0 or more", true, {}},
    {"luminosity-b", 'b', LightRow::Luminosity,
     &C::Text12, nullptr, "--luminosity-b", "L", "luminosity, W", "W",
     Accepts::NonNegative, "a luminosity of 0 or more", true, {}},
    {"temperature-b", 'b', LightRow::Temperature,
     &C::Text12, nullptr, "--temperature-b", "T",
     "surface temperature, K", "K", Accepts::Positive, "a temperature above 0", true, {500, 1e6, 100}},
    {"magnitude-b", 'b', LightRow::Magnitude,
     &C::Text12, nullptr, "--magnitude-b", "MV",
     "absolute visual magnitude (with the temperature option)", "", Accepts::Any, "", false, {}},
    {"distance", 0, -1, &C::Text1, &C::Label19, "--distance", "D",
     "mean distance between the centres, solar radii", "solar radii", Accepts::Positive,
     "a distance above 0", true, {1e-3, 1e6, 0.1}},
    {"eccentricity", 0, -1, &C::Text3, &C::Label15, "--eccentricity", "E",
     "eccentricity of the relative orbit, -1 < E < 1", "", Accepts::OpenUnit,
     "a number above -1 and below 1", false, {0, 0.95, 0.1}},
    {"incline1", 0, -1, &C::Text4, &C::Label13, "--incline1", "DEG",
     "turn about the vertical view axis, degrees", "degrees", Accepts::Any, "", false, {-1e4, 1e4, 10}},
    {"incline2", 0, -1, &C::Text5, &C::Label14, "--incline2", "DEG",
     "tilt about the horizontal view axis, degrees", "degrees", Accepts::Any, "", false, {-1e4, 1e4, 10}},
    {"incline3", 0, -1, &C::Text6, &C::Label16, "--incline3", "DEG",
     "turn within the orbital plane, degrees", "degrees", Accepts::Any, "", false, {-1e4, 1e4, 10}},
    {"steps", 0, -1, &C::Text2, &C::Label17, "--steps", "N",
     "steps per period of the window's animation (in the header)", "", Accepts::Steps,
     "a number of steps from 1 to 32766", true, {}},
}};
// clang-format on

} // namespace

std::span<const InputQuantity> inputQuantities() {
    return Table;
}

const InputQuantity* inputNamed(std::string_view name) {
    for (const InputQuantity& q : Table)
        if (q.name == name) return &q;
    return nullptr;
}

TextBoxCtl& inputBox(Controls& c, std::string_view name) {
    const InputQuantity* q = inputNamed(name);
    if (q == nullptr) throw std::invalid_argument("no input named " + std::string(name));
    return c.*(q->box);
}

const TextBoxCtl& inputBox(const Controls& c, std::string_view name) {
    return inputBox(const_cast<Controls&>(c), name); // NOLINT: the same box, read only
}

TextBoxCtl Controls::*temperatureBesideMagnitude(char star) {
    return star == 'a' ? &Controls::Text16 : &Controls::Text17;
}

LabelCtl Controls::*temperatureBesideMagnitudeCaption(char star) {
    return star == 'a' ? &Controls::Label41 : &Controls::Label42;
}

} // namespace orvanta
