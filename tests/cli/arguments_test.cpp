// SPDX-License-Identifier: GPL-3.0-or-later
// The reading of options that the commands taking the model's options share.
#include "cli/arguments.h"
#include "cli/curve_command.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace orvanta::cli {
namespace {

std::string usage(auto&& call) {
    try {
        call();
    } catch (const UsageError& e) {
        return e.message;
    }
    return "no error";
}

// A long option splits at its first '=', its value possibly empty or holding another '=';
// a short one, or a word, is all name.
TEST(Arguments, AnOptionAndItsValue) {
    EXPECT_EQ(splitOption("--period=2.5").name, "--period");
    EXPECT_EQ(splitOption("--period=2.5").value, "2.5");
    EXPECT_EQ(splitOption("--free=a=b").value, "a=b");
    EXPECT_EQ(splitOption("--output=").value, "");
    EXPECT_EQ(splitOption("-o=x").name, "-o=x");
    EXPECT_FALSE(splitOption("-o=x").value.has_value());
    EXPECT_EQ(splitOption("file=1.txt").name, "file=1.txt");

    const std::vector<std::string> args{"--period", "3", "--json"};
    std::size_t i = 0;
    EXPECT_EQ(optionValue(splitOption(args[0]), args, i), "3");
    EXPECT_EQ(i, 1u);
    i = 2;
    EXPECT_EQ(usage([&] { optionValue(splitOption(args[2]), args, i); }),
              "option '--json' needs a value");
    i = 0;
    EXPECT_EQ(optionValue(splitOption("--period=7"), args, i), "7");
    EXPECT_EQ(i, 0u); // given after '=': the next argument stays an argument
}

TEST(Arguments, HelpAndVersion) {
    EXPECT_EQ(helpOrVersion("-h"), CurveRequest::Action::Help);
    EXPECT_EQ(helpOrVersion("--help"), CurveRequest::Action::Help);
    EXPECT_EQ(helpOrVersion("--version"), CurveRequest::Action::Version);
    for (const char* other : {"--help=1", "-v", "--versions", "help"})
        EXPECT_FALSE(helpOrVersion(other).has_value()) << other;
}

TEST(Arguments, APeriodInDays) {
    EXPECT_EQ(periodDays("2.5"), 2.5);
    EXPECT_EQ(periodDays("1e-3"), 1e-3);
    for (const char* bad : {"0", "-1", "2.5d", "", "inf", "nan", "1e999", "2 "})
        EXPECT_EQ(usage([&] { periodDays(bad); }),
                  std::string("--period: '") + bad + "' is not a period in days")
            << bad;
}

TEST(Arguments, SwitchesOfTheCurveCommandAndNumbersInJson) {
    for (const char* name : {"--rv", "-h", "--help", "--version"})
        EXPECT_TRUE(curveSwitch(name)) << name;
    for (const char* name : {"--gamma", "--mass-a", "-o", "--json"})
        EXPECT_FALSE(curveSwitch(name)) << name;
    EXPECT_EQ(jsonNumber(0.1), "0.1");
    EXPECT_EQ(jsonNumber(-2.5e-300), "-2.5e-300");
    EXPECT_EQ(jsonNumber(HUGE_VAL), "null");
    EXPECT_EQ(jsonNumber(std::nan("")), "null");
}

} // namespace
} // namespace orvanta::cli
