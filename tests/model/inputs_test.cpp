// SPDX-License-Identifier: GPL-3.0-or-later
// The table of the inputs: one row a quantity, and the hint and the plot reading its boxes.
#include "model_fixture.h"

#include "ui/inputs.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace orvanta::testing {
namespace {

TEST(Inputs, EveryQuantityOnceByAStableLowerCaseName) {
    std::set<std::string_view> names;
    for (const InputQuantity& q : inputQuantities()) {
        SCOPED_TRACE(std::string(q.name));
        EXPECT_TRUE(names.insert(q.name).second);
        EXPECT_TRUE(std::all_of(q.name.begin(), q.name.end(), [](char c) {
            return std::islower(static_cast<unsigned char>(c)) || std::isdigit(c) || c == '-';
        }));
        EXPECT_EQ(q.option, "--" + std::string(q.name));
        EXPECT_EQ(inputNamed(q.name), &q);
        // A star's light is read in the row of its selector; everything else has a caption.
        EXPECT_EQ(q.caption == nullptr, q.lightRow >= 0);
        EXPECT_EQ(q.hint.empty(), q.accepts == Accepts::Any);
    }
    for (const char* name :
         {"mass-a", "mass-b", "radius-a", "radius-b", "temperature-a", "temperature-b",
          "eccentricity", "incline1", "incline2", "incline3", "distance"})
        EXPECT_NE(inputNamed(name), nullptr) << name;
    EXPECT_EQ(inputNamed("radius"), nullptr);
}

class InputsRead : public ModelTest {};

// Each box of the table is the one the plot reads into its field, and the one the hint names
// with the caption beside it.
TEST_F(InputsRead, ThePlotAndTheHintReadTheTablesBoxes) {
    const struct {
        const char* name;
        Num SimState::*field;
    } fields[] = {{"mass-a", &SimState::MassA},          {"mass-b", &SimState::MassB},
                  {"radius-a", &SimState::RadiusA},      {"radius-b", &SimState::RadiusB},
                  {"distance", &SimState::MeanDistance}, {"eccentricity", &SimState::Eccen},
                  {"incline1", &SimState::Incline1},     {"incline2", &SimState::Incline2},
                  {"incline3", &SimState::Incline3}};
    for (const auto& [name, field] : fields) {
        SCOPED_TRACE(name);
        TextBoxCtl& box = inputBox(f, name);
        const std::string kept = box.Text;
        box.Text = "0.3125";
        read();
        EXPECT_EQ(f.*field, Num(0.3125));
        box.Text = kept;
    }
    const InputQuantity& massB = *inputNamed("mass-b");
    inputBox(f, "mass-b").Text = "-2";
    EXPECT_EQ(inputHint(f, err::InvalidCall),
              "MassB / SunMass is -2: type " + std::string(massB.hint) + ".");
    EXPECT_EQ((f.*(massB.caption)).Caption, "MassB / SunMass =");
}

} // namespace
} // namespace orvanta::testing
