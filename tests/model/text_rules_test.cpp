// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text_rules.h"
#include "physics/checked.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <utility>

using namespace orvanta;

class ValReads : public testing::TestWithParam<std::pair<const char*, double>> {};

TEST_P(ValReads, TheLeadingNumber) {
    const auto& [input, expected] = GetParam();
    EXPECT_EQ(Val(input), expected) << '"' << input << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ValReads,
    testing::Values(std::pair{"15", 15.0}, std::pair{"15 SunRad", 15.0}, std::pair{"", 0.0},
                    std::pair{"SunRad", 0.0}, std::pair{"1e-1", 0.1}, std::pair{"1 000", 1000.0},
                    std::pair{" \t\n-7.69", -7.69}, std::pair{"- 7 . 69", -7.69},
                    std::pair{"+3", 3.0}, std::pair{"3E-26", 3e-26}, std::pair{"2d3", 2000.0},
                    std::pair{"2D+3", 2000.0}, std::pair{"1.2.3", 1.2}, std::pair{".5", 0.5},
                    std::pair{"-.5", -0.5}, std::pair{".", 0.0}, std::pair{"1e", 1.0},
                    std::pair{"1e+", 1.0}, std::pair{"e5", 0.0}, std::pair{"--5", 0.0},
                    std::pair{"1,5", 1.0}, std::pair{"12abc", 12.0}, std::pair{"1e-400", 0.0},
                    std::pair{"0e400", 0.0}, std::pair{"&HFF", 255.0}, std::pair{"&HFFFF", -1.0},
                    std::pair{"&H10000", 65536.0}, std::pair{"&hffffffff", -1.0},
                    std::pair{"&O17", 15.0}, std::pair{"&Hxyz", 0.0}, std::pair{"&", 0.0},
                    std::pair{"1\r2", 1.0}, std::pair{"32538658.5511403", 32538658.5511403}));

TEST(Val, ReadsTheRadixPrefixesInEitherCase) {
    EXPECT_EQ(Val("&O17"), 15.0);
    EXPECT_EQ(Val("&o17"), 15.0);
    EXPECT_EQ(Val("&h1f"), 31.0);
    EXPECT_EQ(Val("&H1F"), 31.0);
}

TEST(Val, ReadsEveryHexadecimalDigitInEitherCase) {
    EXPECT_EQ(Val("&Ha"), 10.0);
    EXPECT_EQ(Val("&HA"), 10.0);
    EXPECT_EQ(Val("&Hf"), 15.0);
    EXPECT_EQ(Val("&H9"), 9.0);
    EXPECT_EQ(Val("&Hg"), 0.0);
}

// Blanks, tabs and line feeds are passed over wherever they stand, however many in a row.
TEST(Val, PassesOverRunsOfBlanksInsideTheNumber) {
    EXPECT_EQ(Val("1  2"), 12.0);
    EXPECT_EQ(Val("1 \t\n 2 .  5"), 12.5);
    EXPECT_EQ(Val("-  3e  2"), -300.0);
    EXPECT_EQ(Val("&H  F  F"), 255.0);
}

TEST(Val, BeyondTheDoubleRangeOverflows) {
    for (const char* t : {"1e400", "-1e400", "&H123456789", "1e99999999999999"}) {
        try {
            (void)Val(t);
            ADD_FAILURE() << t;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number, 6) << t;
        }
    }
}

TEST(Val, HundredsOfDigitsAreRead) {
    EXPECT_DOUBLE_EQ(Val(std::string(300, '1') + "e-299"), 1.1111111111111112);
}

TEST(Val, AMillionDigitsMeetAnExponentOfAMillion) {
    // 10^1000005 written out, times 10^-1000005; and the other way round.
    EXPECT_EQ(Val("1" + std::string(1000005, '0') + "e-1000005"), 1.0);
    EXPECT_EQ(Val("0." + std::string(1000004, '0') + "1e1000005"), 1.0);
    EXPECT_EQ(Val("0." + std::string(1000004, '0') + "1e+1000003"), 0.01);
}

class StrWrites : public testing::TestWithParam<std::pair<double, const char*>> {};

TEST_P(StrWrites, TheGeneralFormat) {
    const auto& [value, expected] = GetParam();
    EXPECT_EQ(Str(value), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, StrWrites,
    testing::Values(std::pair{0.0, "0"}, std::pair{-0.0, "0"}, std::pair{15.0, "15"},
                    std::pair{-7.69, "-7.69"}, std::pair{5.7e-8, "5.7E-08"},
                    std::pair{0.0001, "0.0001"}, std::pair{0.00009, "9E-05"},
                    std::pair{1e15, "1E+15"}, std::pair{999999999999999.0, "999999999999999"},
                    std::pair{9999999999999999.0, "1E+16"}, std::pair{0.1 + 0.2, "0.3"},
                    std::pair{1181952000.0, "1181952000"}, std::pair{1e300, "1E+300"},
                    std::pair{-1e-300, "-1E-300"}, std::pair{3.26e-24, "3.26E-24"},
                    std::pair{5.9676133771818e28, "5.9676133771818E+28"},
                    std::pair{2.0 / 3.0, "0.666666666666667"}, std::pair{100.0, "100"},
                    std::pair{-12.690000000000001, "-12.69"}));

TEST(Str, SpacedVariantLeadsWithABlankUnlessNegative) {
    EXPECT_EQ(StrSpaced(0), " 0");
    EXPECT_EQ(StrSpaced(50), " 50");
    EXPECT_EQ(StrSpaced(-0.0), " 0");
    EXPECT_EQ(StrSpaced(-3.5), "-3.5");
}

TEST(TextRules, IgnoreTheLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(Val("2.5"), 2.5);
    EXPECT_EQ(Str(2.5), "2.5");
    std::setlocale(LC_ALL, saved.c_str());
}

struct ValReach {
    const char* text;
    double value;
    std::size_t used;
};

void PrintTo(const ValReach& v, std::ostream* os) {
    *os << '"' << v.text << '"';
}

class ValTellsHowFarItRead : public ::testing::TestWithParam<ValReach> {};

TEST_P(ValTellsHowFarItRead, UpToTheEndOfTheNumber) {
    std::size_t used = 99;
    EXPECT_EQ(Val(GetParam().text, used), GetParam().value);
    EXPECT_EQ(used, GetParam().used);
}

INSTANTIATE_TEST_SUITE_P(Cases, ValTellsHowFarItRead,
                         ::testing::Values(ValReach{"3.59", 3.59, 4}, ValReach{"3,59", 3, 1},
                                           ValReach{" 2 kg", 2, 3}, ValReach{"1e3 ", 1000, 4},
                                           ValReach{"-.5E-1x", -0.05, 6}, ValReach{"&H1F", 31, 4},
                                           ValReach{"0", 0, 1}, ValReach{"", 0, 0},
                                           ValReach{"-", 0, 0}, ValReach{"abc", 0, 0}));
