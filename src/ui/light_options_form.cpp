// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/light_options_form.h"

#include "core/text_rules.h"
#include "physics/checked.h"

#include <algorithm>

namespace orvanta {

namespace {

/// Blank, or one number and nothing else.
bool readBox(const std::string& text, double& value) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; })) {
        value = 0;
        return true;
    }
    std::size_t used = 0;
    try {
        value = Val(text, used);
    } catch (const RuntimeError&) {
        return false;
    }
    if (used == 0) return false;
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(used), text.end(),
                       [](char c) { return c == ' ' || c == '\t'; });
}

} // namespace

LightOptionTexts textsOf(const physics::LightOptions& o) {
    return {Str(o.limbA.u1), Str(o.limbA.u2), Str(o.limbB.u1), Str(o.limbB.u2), Str(o.thirdLight)};
}

std::variant<physics::LightOptions, std::string> readLightOptions(const LightOptionTexts& t) {
    physics::LightOptions o;
    struct Box {
        const std::string& text;
        double& value;
        const char* name;
    };
    const Box boxes[] = {{t.u1A, o.limbA.u1, "u1 of star A"},
                         {t.u2A, o.limbA.u2, "u2 of star A"},
                         {t.u1B, o.limbB.u1, "u1 of star B"},
                         {t.u2B, o.limbB.u2, "u2 of star B"},
                         {t.thirdLight, o.thirdLight, "the third light"}};
    for (const Box& b : boxes)
        if (!readBox(b.text, b.value))
            return std::string("The box of ") + b.name + " does not hold one number.";
    if (auto why = physics::limbDarkeningProblem(o.limbA); !why.empty())
        return "Star A: " + why + ".";
    if (auto why = physics::limbDarkeningProblem(o.limbB); !why.empty())
        return "Star B: " + why + ".";
    if (auto why = physics::thirdLightProblem(o.thirdLight); !why.empty()) {
        why[0] = 'T';
        return why + ".";
    }
    return o;
}

} // namespace orvanta
