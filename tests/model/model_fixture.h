// SPDX-License-Identifier: GPL-3.0-or-later
// A window in its design-time state with the parameters read, for the model's tests.
#pragma once

#include "form1.h"

#include <gtest/gtest.h>

#include <memory>

namespace orvanta::testing {

/// The run-time error number raised by f, or 0 when it raises none.
template <class F> int errorOf(F&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number;
    }
    return 0;
}

class ModelTest : public ::testing::Test {
protected:
    ModelTest() : form(std::make_unique<Form1>()), f(*form) {
        f.Pi = PiLiteral;
        f.CentreY = 240;
    }
    /// Reads the boxes as a plot would.
    void read() { f.DataInput(); }
    /// Evaluates the system at the given time in years.
    void at(double time) {
        f.Time = time;
        f.Main();
    }
    std::unique_ptr<Form1> form;
    Form1& f;
};

} // namespace orvanta::testing
