// SPDX-License-Identifier: GPL-3.0-or-later
// The kinds of eclipsing binary a class meets, as inputs to the model: the period search
// is checked on their light curves.
#pragma once

#include "synthetic_binary.h"

#include <array>

namespace orvanta::testing {

/// Whether the two eclipses are alike, so that the deeper one is a matter of noise.
struct SystemCase {
    BinaryInputs inputs;
    bool equalEclipses;
};

// Periods and depths as the model gives them: short 0.35 d, eclipses 0.65 and 0.48 mag;
// algol-short 0.82 d, 1.12 and 0.048 mag; twins 1.16 d, 0.55 and 0.51 mag; grazing 1.16 d,
// 0.046 and 0.044 mag; eccentric-short 2.19 d, secondary 0.28 of a period after the
// primary; algol 3.21 d, 1.53 and 0.023 mag; eccentric 5.77 d; long 25.4 d, 0.44 and
// 0.31 mag.
inline const std::array<SystemCase, 8> Systems = {{
    {{"short", "1.0", "0.9", "0.8", "0.75", "63000000", "50000000", "2.6", "0", "0", "-5", "0"},
     false},
    {{"algol-short", "2.0", "0.5", "1.6", "1.4", "300000000", "20000000", "5", "0", "0", "-6", "0"},
     false},
    {{"twins", "1.1", "1.05", "1.2", "1.15", "70000000", "66000000", "6", "0", "0", "-4", "0"},
     true},
    {{"grazing", "1.1", "1.05", "1.2", "1.15", "70000000", "66000000", "6", "0", "0", "-19", "0"},
     true},
    {{"eccentric-short", "1.5", "1.3", "1.4", "1.2", "100000000", "80000000", "10", "0.4", "0",
      "-3", "30"},
     false},
    {{"algol", "3.59", "0.8", "2.88", "3.0", "1181952000", "32538658.5511403", "15", "0", "0",
      "-4.5", "0"},
     false},
    {{"eccentric", "2.5", "1.8", "1.9", "1.6", "400000000", "180000000", "22", "0.3", "0", "-2.5",
      "60"},
     false},
    {{"long", "2.5", "2.0", "6", "4", "40000000", "30000000", "60", "0", "0", "-2", "0"}, false},
}};

} // namespace orvanta::testing
