// SPDX-License-Identifier: GPL-3.0-or-later
// The window's command line.
#include "ui/command_line.h"

#include "core/version.h"

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

TEST(WindowCommandLine, ControlCharactersAreShownAsEscapes) {
    EXPECT_EQ(printable("plain \xC3\xA9toile.csv"), "plain \xC3\xA9toile.csv");
    EXPECT_EQ(printable(std::string("a\nb\tc\rd\x1b[0m\x7f\x01", 13)),
              "a\\nb\\tc\\rd\\e[0m\\x7f\\x01");
    EXPECT_EQ(printable(std::string("\0", 1)), "\\x00");
}

TEST(WindowCommandLine, VersionNamesTheCopyrightAndTheLicence) {
    const std::string v = versionText();
    EXPECT_EQ(v.rfind("orvanta " + std::string(Version) + "\nCopyright (C) 20", 0), 0u);
    EXPECT_NE(v.find("\nLicense GPLv3+: GNU GPL version 3 or later"), std::string::npos);
    EXPECT_NE(v.find("\nThere is NO WARRANTY, to the extent permitted by law.\n"),
              std::string::npos);
}

TEST(WindowPlatform, WaylandWhereItsPluginIsElseX11ElseOneSentence) {
    auto choose = [](bool chosen, bool x11, bool wayland, bool plugin) {
        return choosePlatform({chosen, x11, wayland, plugin});
    };
    EXPECT_EQ(choose(false, true, true, true).platforms, "wayland;xcb");
    EXPECT_EQ(choose(false, false, true, true).platforms, "wayland");
    EXPECT_EQ(choose(false, true, true, false).platforms, "xcb"); // Xwayland serves
    EXPECT_EQ(choose(false, true, false, false).platforms, "xcb");
    // What the user asked for is left to Qt, display or not (offscreen needs none).
    const PlatformChoice asked = choose(true, false, false, false);
    EXPECT_EQ(asked.platforms, "");
    EXPECT_EQ(asked.whyNot, "");

    const PlatformChoice none = choose(false, false, false, true);
    EXPECT_EQ(none.platforms, "");
    EXPECT_EQ(none.whyNot, "orvanta: no display found; on a machine without one run it as: "
                           "xvfb-run -s '-screen 0 1024x768x24' orvanta");
    const PlatformChoice noPlugin = choose(false, false, true, false);
    EXPECT_NE(noPlugin.whyNot.find("install qt6-wayland"), std::string::npos);
    EXPECT_EQ(noPlugin.whyNot.find('\n'), std::string::npos);
}

} // namespace
