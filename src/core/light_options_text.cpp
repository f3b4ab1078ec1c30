// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/light_options_text.h"

#include "core/text_rules.h"

namespace orvanta {

std::string lightOptionsCaption(const physics::LightOptions& o) {
    std::string caption;
    const bool a = !o.limbA.uniform(), b = !o.limbB.uniform();
    if (a || b) caption = std::string("limb darkening ") + (a && b ? "A, B" : a ? "A" : "B");
    if (o.thirdLight != 0) {
        if (!caption.empty()) caption += "; ";
        caption += "third light " + Str(o.thirdLight * 100) + " %";
    }
    return caption;
}

} // namespace orvanta
