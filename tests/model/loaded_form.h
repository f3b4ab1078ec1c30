// SPDX-License-Identifier: GPL-3.0-or-later
// A window after start-up from the design-time defaults, for the tests of the picture.
#pragma once

#include "form1.h"

#include <memory>

namespace orvanta::testing {

inline std::unique_ptr<Form1> loadedForm() {
    auto f = std::make_unique<Form1>();
    f->Form_Load();
    return f;
}

/// Pixels of the surface in the given colour.
inline int countColour(const Surface& s, std::uint32_t colour) {
    int n = 0;
    for (auto p : s.pixels())
        n += p == colour;
    return n;
}

} // namespace orvanta::testing
