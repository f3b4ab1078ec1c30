// SPDX-License-Identifier: GPL-3.0-or-later
// The window's command line.
#include "ui/command_line.h"

#include <gtest/gtest.h>

using namespace orvanta;

namespace {

TEST(WindowCommandLine, TheFirstArgumentThatIsNoOptionIsTheFile) {
    EXPECT_FALSE(readWindowCommand({}).file);
    EXPECT_EQ(readWindowCommand({"algol.txt"}).file, "algol.txt");
    EXPECT_EQ(readWindowCommand({"--reverse", "\xC3\xA9toile.csv", "b.txt"}).file,
              "\xC3\xA9toile.csv");
    EXPECT_FALSE(readWindowCommand({"algol.txt"}).help);
}

TEST(WindowCommandLine, HelpAndVersionAreAskedAnywhere) {
    EXPECT_TRUE(readWindowCommand({"-h"}).help);
    EXPECT_TRUE(readWindowCommand({"a.txt", "--help"}).help);
    EXPECT_TRUE(readWindowCommand({"--version"}).version);
    EXPECT_EQ(windowHelp().rfind("Usage: orvanta [FILE]\n", 0), 0u);
}

} // namespace
