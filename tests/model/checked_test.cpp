// SPDX-License-Identifier: GPL-3.0-or-later
#include "physics/checked.h"

#include <gtest/gtest.h>

#include <cfloat>

using namespace orvanta;

namespace {
int errorOf(auto&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number;
    }
    return 0;
}
} // namespace

TEST(Checked, FaultsRaiseTheirErrorNumbers) {
    EXPECT_EQ(errorOf([] { (void)(Num(1) / Num(0)); }), 11);
    EXPECT_EQ(errorOf([] { (void)(Num(-1) / Num(0)); }), 11);
    EXPECT_EQ(errorOf([] { (void)(Num(0) / Num(0)); }), 6);
    EXPECT_EQ(errorOf([] { (void)(Num(DBL_MAX) * Num(2)); }), 6);
    EXPECT_EQ(errorOf([] { (void)(Num(DBL_MAX) + Num(DBL_MAX)); }), 6);
    EXPECT_EQ(errorOf([] { (void)Sqr(Num(-1e-300)); }), 5);
    EXPECT_EQ(errorOf([] { (void)Log(Num(0)); }), 5);
    EXPECT_EQ(errorOf([] { (void)Log(Num(-2)); }), 5);
    EXPECT_EQ(errorOf([] { (void)Power(Num(-8), Num(1.0 / 3)); }), 5);
    EXPECT_EQ(errorOf([] { (void)Power(Num(0), Num(-1)); }), 5);
    EXPECT_EQ(errorOf([] { (void)Power(Num(10), Num(400)); }), 6);
    EXPECT_EQ(errorOf([] { (void)Single(Num(1e39)); }), 6);
    EXPECT_EQ(errorOf([] { (void)CInt(Num(32767.5)); }), 6);
    EXPECT_EQ(errorOf([] { (void)CInt(Num(-32769)); }), 6);
    EXPECT_EQ(errorOf([] { (void)CLng(Num(2147483648.0)); }), 6);
}

TEST(Checked, ValidOperationsGiveTheirValues) {
    EXPECT_EQ((Num(7) / Num(2)).value(), 3.5);
    EXPECT_EQ(Power(Num(-2), Num(3)).value(), -8);
    EXPECT_EQ(Power(Num(0), Num(0)).value(), 1);
    EXPECT_EQ(Power(Num(0), Num(0.25)).value(), 0);
    EXPECT_EQ(Sqr(Num(0)).value(), 0);
    EXPECT_EQ(Sqr(Num(-0.0)).value(), 0);
    EXPECT_EQ(Int(Num(-0.5)).value(), -1);
    EXPECT_EQ(Int(Num(2.999)).value(), 2);
    EXPECT_EQ(Single(Num(3.4e38)), 3.4e38f);
}

TEST(Checked, WholeNumberConversionsRoundHalfToEven) {
    EXPECT_EQ(CInt(Num(0.5)), 0);
    EXPECT_EQ(CInt(Num(1.5)), 2);
    EXPECT_EQ(CInt(Num(2.5)), 2);
    EXPECT_EQ(CInt(Num(-2.5)), -2);
    EXPECT_EQ(CInt(Num(32766.5)), 32766);
    EXPECT_EQ(CInt(Num(-32768.4)), -32768);
    EXPECT_EQ(CLng(Num(16777215.5)), 16777216);
    EXPECT_EQ(CLng(Num(12632256.5)), 12632256);
}
