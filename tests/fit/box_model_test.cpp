// SPDX-License-Identifier: GPL-3.0-or-later
// The fit's model on the evaluator: the same digits as the window's own Plot and Main on the
// same boxes, in every row a star's light can be entered in, with no window object.
#include "fit/curve_model.h"
#include "form1.h"
#include "synthetic.h"
#include "ui/inputs.h"

#include <gtest/gtest.h>

#include <thread>

namespace orvanta::fit {
namespace {

/// The light at each phase as a window computes it once the values are typed into its
/// boxes: DataInput, then Main at each phase from a fresh warm start.
std::vector<double> windowCurve(const Controls& boxes, const std::vector<std::string>& free,
                                const std::vector<double>& values,
                                const std::vector<double>& phases) {
    Form1 f;
    f.copyValuesFrom(boxes);
    f.PrevQuantityA = f.List1.TopIndex;
    f.PrevQuantityB = f.List2.TopIndex;
    f.Pi = PiLiteral;
    prepareBoxes(f, free);
    const double distance0 = Val(f.Text1.Text), massA0 = Val(f.Text7.Text),
                 massB0 = Val(f.Text8.Text);
    for (std::size_t j = 0; j < free.size(); ++j)
        writeParameter(f, *findFitParameter(free[j]), values[j]);
    // A free distance carries the masses with it, keeping the period.
    const double r = Val(f.Text1.Text) / distance0;
    if (r != 1) {
        f.Text7.Text = Str(massA0 * r * r * r);
        f.Text8.Text = Str(massB0 * r * r * r);
    }
    f.DataInput();
    const Num full = f.MaxPowerSum;
    std::vector<double> out;
    for (const double phase : phases) {
        f.Time = Num(phase) * f.Period;
        f.Main();
        out.push_back((f.PowerSum / full).value());
    }
    return out;
}

struct Case {
    const char* what;
    int rowA, rowB;
    const char *lightA, *lightB;
    std::vector<std::string> free;
    std::vector<double> values;
};

class BoxModelDigits : public ::testing::TestWithParam<Case> {};

TEST_P(BoxModelDigits, AreTheWindowsForEveryRowOfTheLight) {
    const Case& c = GetParam();
    const auto boxes = fittest::hiddenSystem();
    boxes->List1.TopIndex = c.rowA;
    boxes->List2.TopIndex = c.rowB;
    boxes->Text11.Text = c.lightA;
    boxes->Text12.Text = c.lightB;
    if (c.rowA == 3) boxes->Text16.Text = "9500";
    if (c.rowB == 3) boxes->Text17.Text = "4800";
    std::vector<double> phases;
    for (int i = 0; i < 200; ++i)
        phases.push_back(i / 200.0 + 0.0013);
    BoxModel model(*boxes, c.free);
    std::vector<double> got;
    ASSERT_TRUE(model.flux(c.values, phases, got));
    const std::vector<double> want = windowCurve(*boxes, c.free, c.values, phases);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        ASSERT_EQ(got[i], want[i]) << c.what << " at phase " << phases[i];
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BoxModelDigits,
    ::testing::Values(Case{"temperatures",
                           2,
                           2,
                           "9500",
                           "4800",
                           {"radius-a", "temperature-b", "incline2", "eccentricity"},
                           {2.71234567890123456, 4712.3456789, -4.3333333333333, 0.1234567890123}},
                      Case{"fluxes, a temperature freed",
                           0,
                           0,
                           "461710000",
                           "30264000",
                           {"radius-b", "temperature-a", "incline3"},
                           {3.05, 9612.25, 31.5}},
                      Case{"luminosity with its radius free",
                           1,
                           0,
                           "1.5E+28",
                           "30264000",
                           {"radius-a", "incline2"},
                           {2.55, -4.1}},
                      Case{"magnitude with its temperature free",
                           2,
                           3,
                           "9500",
                           "3.1",
                           {"radius-a", "temperature-b", "distance"},
                           {2.62, 4850, 15.3}},
                      Case{"masses and every angle",
                           2,
                           2,
                           "9500",
                           "4800",
                           {"mass-a", "mass-b", "incline1", "incline2", "incline3"},
                           {3.3, 0.9, 10.5, -4.2, 29.75}}));

/// No window object: two models fit curves on two threads at once and get the digits of one.
TEST(BoxModel, EvaluatesOnAnyThread) {
    const auto boxes = fittest::hiddenSystem();
    const BoxModel model(*boxes, {"radius-a", "incline2"});
    const std::vector<double> phases{0.0, 0.1, 0.25, 0.5, 0.75};
    std::vector<double> alone;
    ASSERT_TRUE(model.clone()->flux({2.7, -4.5}, phases, alone));
    std::vector<double> one, two;
    std::thread a([&] { model.clone()->flux({2.7, -4.5}, phases, one); });
    std::thread b([&] { model.clone()->flux({2.7, -4.5}, phases, two); });
    a.join();
    b.join();
    EXPECT_EQ(one, alone);
    EXPECT_EQ(two, alone);
}

/// The fittable parameters are the rows of the table of the inputs with a fit range, with
/// the table's unit; the lights entered as anything but a temperature are not among them.
TEST(FitParameters, ComeFromTheTableOfTheInputs) {
    std::size_t fittable = 0;
    for (const InputQuantity& q : inputQuantities()) {
        const FitParameter* p = findFitParameter(q.name);
        if (!q.fit.fittable()) {
            EXPECT_EQ(p, nullptr) << q.name;
            continue;
        }
        ++fittable;
        ASSERT_NE(p, nullptr) << q.name;
        EXPECT_EQ(p->unit, q.unit);
        EXPECT_EQ(p->input, &q);
        EXPECT_LT(p->lower, p->upper);
    }
    EXPECT_EQ(fittable, 11u);
    for (const char* name : {"flux-a", "luminosity-b", "magnitude-a", "steps"})
        EXPECT_EQ(findFitParameter(name), nullptr) << name;
    EXPECT_TRUE(findFitParameter("incline1")->angle);
    EXPECT_FALSE(findFitParameter("eccentricity")->angle);
}

} // namespace
} // namespace orvanta::fit
