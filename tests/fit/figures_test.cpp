// SPDX-License-Identifier: GPL-3.0-or-later
// A fit's numbers as text: the value to the digits its error supports.
#include "fit/figures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvanta::fit {
namespace {

TEST(Figures, AValueKeepsTheDigitsOfItsErrorsTwoSignificantOnes) {
    EXPECT_EQ(withError(2.42391, 0.0904, "+-"), "2.424 +- 0.090");
    EXPECT_EQ(withError(2.42391, 0.0904, "\u00b1"), "2.424 \u00b1 0.090");
    EXPECT_EQ(withError(1234.5, 27, "+-"), "1234 +- 27");
    EXPECT_EQ(withError(1234.5, 270, "+-"), "1234 +- 270"); // no rounding to tens
    // Without an error, six significant digits; a huge value is written whole.
    EXPECT_EQ(withError(3.14159265, 0, "+-"), "3.14159");
    EXPECT_EQ(withError(3.14159265, NAN, "+-"), "3.14159");
    EXPECT_EQ(withError(1e300, 1e299, "+-").size(), 301u + 4 + 300u);
    EXPECT_EQ(digits(0.000123456, 3), "0.000123");
}

} // namespace
} // namespace orvanta::fit
