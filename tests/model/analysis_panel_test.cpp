// SPDX-License-Identifier: GPL-3.0-or-later
// What the analysis panel and the worksheet show, without a display: points thinned to a
// plot's pixels, the residuals of the observed points, the cursors' measurements against
// the model's own figures, the velocity curves, the worksheet's rows and the pictures at
// four phases that leave the window as it was.
#include "analysis/eclipse_measure.h"
#include "analysis/velocity_curve.h"
#include "core/projected_orbit.h"
#include "loaded_form.h"
#include "render/thin_points.h"
#include "ui/worksheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <set>

using namespace orvanta;
using namespace orvanta::analysis;
using orvanta::testing::loadedForm;

namespace {

// ---- thinToPixels -------------------------------------------------------------------------

TEST(ThinToPixels, KeepsTheFirstPointOfEachPixelAndLeavesOutWhatIsOutsideOrNotFinite) {
    const PixelBox box{0, 1, -1, 1, 10, 4};
    const std::vector<double> x = {0.01, 0.02, 0.15, 1.0, 0.5, NAN, 1.5, 0.5, 0.0};
    const std::vector<double> y = {0.9, 0.8, 0.9, -1.0, 0.0, 0.0, 0.0, INFINITY, 1.0};
    // 0 and 1 share the top-left pixel; 3 is on the far corner (the last pixel); 8 is the
    // top-left corner itself, already taken by 0.
    EXPECT_EQ(thinToPixels(x, y, box), (std::vector<std::size_t>{0, 2, 3, 4}));
}

TEST(ThinToPixels, AnEmptyOrDegenerateBoxKeepsNothing) {
    const std::vector<double> v = {0.5};
    EXPECT_TRUE(thinToPixels(v, v, PixelBox{0, 1, 0, 1, 0, 10}).empty());
    EXPECT_TRUE(thinToPixels(v, v, PixelBox{0, 0, 0, 1, 10, 10}).empty());
    EXPECT_TRUE(thinToPixels(v, v, PixelBox{0, 1, 1, 1, 10, 10}).empty());
}

class ThinSweep : public ::testing::TestWithParam<int> {};

// Every pixel that holds a point holds exactly one kept point, at any plot size.
TEST_P(ThinSweep, OnePointInEveryPixelThatHasAny) {
    const int w = GetParam(), h = GetParam() / 2 + 1;
    std::mt19937 random(static_cast<unsigned>(w));
    std::normal_distribution<double> noise(0, 0.1);
    std::uniform_real_distribution<double> phase(0, 1);
    std::vector<double> x(100'000), y(100'000);
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = phase(random);
        y[i] = noise(random);
    }
    const PixelBox box{0, 1, -0.3, 0.3, w, h};
    auto cell = [&](std::size_t i) {
        const int c = std::min(w - 1, static_cast<int>(x[i] * w));
        const int r = std::min(h - 1, static_cast<int>((0.3 - y[i]) / 0.6 * h));
        return r * w + c;
    };
    std::set<int> occupied;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (std::fabs(y[i]) <= 0.3) occupied.insert(cell(i));
    std::set<int> kept;
    for (std::size_t i : thinToPixels(x, y, box))
        EXPECT_TRUE(kept.insert(cell(i)).second) << i;
    EXPECT_EQ(kept, occupied);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ThinSweep, ::testing::Values(1, 7, 120, 400, 1000));

// ---- the residuals the overlay keeps ------------------------------------------------------

TEST(OverlayResiduals, AreObservedLessModelAtEachPointAndNameTheOutliers) {
    ObservedOverlay o;
    o.beginCurve();
    const double power[] = {1, 1, 0.5, 1, 1};
    for (int k = 0; k < 5; ++k)
        o.curveSample(0.25 * k, power[k]);
    o.endCurve();
    ObservedData d;
    d.name = "x";
    d.brightness = Brightness::Flux;
    d.period = 1;
    d.epoch = 0.5;
    // Two points in the eclipse, twenty out of it with a little scatter, one far out; in
    // time order, as the reader keeps them.
    d.time = {0.375, 0.625};
    d.value = {0.6, 0.8};
    for (int k = 0; k < 20; ++k) {
        d.time.push_back(0.9 + 0.01 * k);
        d.value.push_back(1 + (k % 2 == 0 ? 0.001 : -0.001));
    }
    d.time.push_back(1.15);
    d.value.push_back(1.5);
    o.show(prepareObserved(d));
    ObservedOverlay::Graph g{1, 1, 1, 326, 0.5, 360, 0};
    o.update(g);
    ASSERT_TRUE(o.figures());
    const std::vector<double>& r = o.residuals();
    ASSERT_EQ(r.size(), d.time.size());
    // Relative to the set's zero point, the model is 0.75 at phases 0.375 and 0.625, 1 out
    // of eclipse.
    const std::vector<double>& flux = o.set()->flux;
    EXPECT_NEAR(r[0], flux[0] - 0.75, 1e-12);
    EXPECT_NEAR(r[1], flux[1] - 0.75, 1e-12);
    EXPECT_NEAR(r[2], flux[2] - 1, 1e-12);
    std::size_t outliers = 0;
    for (bool b : o.outliers())
        outliers += b ? 1 : 0;
    EXPECT_EQ(outliers, o.figures()->outliers);
    EXPECT_TRUE(o.outliers()[22]);
    // The same figures from the residuals by the one rule.
    const RobustFigures again = robustFigures(r, {});
    EXPECT_EQ(again.outliers, o.figures()->outliers);
    EXPECT_NEAR(again.robustRms, o.figures()->robustRms, 1e-12);
    o.remove();
    EXPECT_TRUE(o.residuals().empty());
}

// ---- the measuring cursors ----------------------------------------------------------------

struct MeasureCase {
    const char* name;
    const char *radiusA, *radiusB, *fluxB, *tilt;
    bool total;
};

class Measuring : public ::testing::TestWithParam<MeasureCase> {};

// With the cursors at the model's own contacts, the textbook relations give back the
// model's sizes to within the sweep's sampling, and the depth ratio its surface fluxes.
TEST_P(Measuring, CursorsAtTheModelsContactsGiveBackItsFigures) {
    const MeasureCase& c = GetParam();
    auto f = loadedForm();
    f->Text9.Text = c.radiusA;
    f->Text10.Text = c.radiusB;
    f->Text12.Text = c.fluxB;
    f->Text5.Text = c.tilt;
    f->Plot_Click();
    const Parameters p = parametersOf(*f);
    const LightCurve curve = lightCurveOf(p);
    ASSERT_EQ(curve.phase.size(), 793u);
    const ModelFigures model = modelFigures(p);
    const ModelContacts contacts = contactsOf(curve);
    ASSERT_TRUE(contacts.primary && contacts.secondary);
    EXPECT_EQ(contacts.primary->second.has_value(), c.total);
    const Measurement m =
        measure({*contacts.primary, *contacts.secondary}, curve, model.inclinationDeg);
    // A contact is within half a sample, the duration within one: the sum within the
    // slope of the relation over one sample.
    const double sample = 1.0 / 793;
    EXPECT_NEAR(m.sumOfRadii, model.sumOfRadii, std::numbers::pi * sample);
    EXPECT_NEAR(m.primary.duration, m.secondary.duration, 2 * sample); // a circular orbit
    EXPECT_NEAR(m.primary.durationDays, m.primary.duration * curve.periodDays, 1e-12);
    ASSERT_EQ(m.differenceOfRadii.has_value(), c.total);
    if (c.total) {
        EXPECT_NEAR(*m.differenceOfRadii, model.differenceOfRadii, std::numbers::pi * sample);
    }
    ASSERT_TRUE(m.surfaceFluxRatio && model.surfaceFluxRatio);
    if (c.total) {
        EXPECT_NEAR(*m.surfaceFluxRatio, *model.surfaceFluxRatio, 1e-6 * *model.surfaceFluxRatio);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Systems, Measuring,
    ::testing::Values(MeasureCase{"EdgeOnIsTotal", "2.88", "3.54", "32538658.5511403", "0", true},
                      MeasureCase{"EdgeOnTotal", "1", "4", "32538658.5511403", "0", true},
                      MeasureCase{"TiltedTotal", "1", "4", "300000000", "-3", true},
                      // The deeper eclipse with A in front: B, the hotter, hidden whole.
                      MeasureCase{"HotterBHiddenByA", "4", "1", "3000000000", "0", true},
                      MeasureCase{"TiltedPartial", "2.88", "3.54", "32538658.5511403", "-7.69",
                                  false}),
    [](const auto& p) { return std::string(p.param.name); });

// Each contact lies half-way between the sample in full light and the first (or last)
// below it; a flat bottom is every sample within 1e-9 of the faintest, its edge included.
TEST(Measuring, ContactsAreHalfASampleOutsideTheDimmedSamples) {
    LightCurve curve;
    curve.periodDays = 1;
    const double bottom = 0.2, edge = bottom + 1e-9;
    for (int k = 0; k < 793; ++k) {
        curve.phase.push_back(k / 793.0);
        double f = 1;
        if (k == 100 || k == 110) f = 0.6;
        if (k == 101 || k == 109) f = 0.3;
        if (k >= 102 && k <= 108) f = k == 102 || k == 108 ? edge : bottom;
        if (k == 500 || k == 502) f = 0.95;
        if (k == 501) f = 0.9;
        curve.flux.push_back(f);
    }
    const ModelContacts c = contactsOf(curve);
    const double half = 0.5 / 793;
    ASSERT_TRUE(c.primary && c.secondary);
    EXPECT_NEAR(c.primary->first, 100 / 793.0 - half, 1e-15);
    EXPECT_NEAR(c.primary->last, 110 / 793.0 + half, 1e-15);
    ASSERT_TRUE(c.primary->second && c.primary->third);
    EXPECT_NEAR(*c.primary->second, 102 / 793.0 - half, 1e-15);
    EXPECT_NEAR(*c.primary->third, 108 / 793.0 + half, 1e-15);
    EXPECT_NEAR(c.secondary->first, 500 / 793.0 - half, 1e-15);
    EXPECT_NEAR(c.secondary->last, 502 / 793.0 + half, 1e-15);
    EXPECT_FALSE(c.secondary->second); // one sample at the bottom: not flat
}

TEST(Measuring, TheInclinationIsTheBoxesAndEdgeOnIsNinety) {
    auto f = loadedForm();
    f->Text5.Text = "0";
    f->Plot_Click();
    EXPECT_NEAR(modelFigures(parametersOf(*f)).inclinationDeg, 90, 1e-9);
    f->Text5.Text = "-7.69";
    f->Plot_Click();
    EXPECT_NEAR(modelFigures(parametersOf(*f)).inclinationDeg, 90 - 7.69, 1e-9);
}

TEST(Measuring, CursorsReadAcrossPhaseZeroAndTheDepthBetweenThem) {
    LightCurve curve;
    curve.periodDays = 2;
    for (int k = 0; k < 100; ++k) {
        curve.phase.push_back(k / 100.0);
        const double d = std::min(k, 100 - k) / 100.0; // phase from 0
        curve.flux.push_back(d < 0.05 ? 0.5 + 10 * d : 1.0);
    }
    Cursors c;
    c.primary = {0.95, 0.05, std::nullopt, std::nullopt};
    c.secondary = {0.45, 0.55, std::nullopt, std::nullopt};
    const Measurement m = measure(c, curve, 90);
    EXPECT_NEAR(m.primary.duration, 0.1, 1e-12);
    EXPECT_NEAR(m.primary.durationDays, 0.2, 1e-12);
    EXPECT_NEAR(m.primary.depth, 0.5, 1e-12);
    EXPECT_EQ(m.secondary.depth, 0); // no eclipse there
    EXPECT_FALSE(m.surfaceFluxRatio);
    EXPECT_NEAR(m.sumOfRadii, std::sin(std::numbers::pi * 0.1), 1e-12);
    // At 60 degrees the separation keeps the cosine's share.
    EXPECT_NEAR(measure(c, curve, 60).sumOfRadii,
                std::sqrt(std::pow(std::sin(0.1 * std::numbers::pi), 2) +
                          0.25 * std::pow(std::cos(0.1 * std::numbers::pi), 2)),
                1e-12);
}

// ---- the velocity curves ------------------------------------------------------------------

TEST(VelocityCurves, SpanTwiceTheAmplitudesAndKeepTheCentreOfMassAtRest) {
    auto f = loadedForm();
    f->Text3.Text = "0.3";
    f->Plot_Click();
    const Parameters p = parametersOf(*f);
    const VelocityCurve v = velocityCurveOf(p);
    ASSERT_GE(v.phase.size(), 793u); // 794, or 793 where the rounding overshoots
    Evaluator ev(p);
    ev.at(0);
    const physics::StarVelocities k = physics::amplitudes(projectedOrbitOf(ev.state()));
    const auto [lowA, highA] = std::minmax_element(v.a.begin(), v.a.end());
    EXPECT_NEAR((*highA - *lowA) / 2, k.a, 1e-3 * k.a);
    for (std::size_t i = 0; i < v.a.size(); i += 50)
        EXPECT_NEAR(p.massA * v.a[i] + p.massB * v.b[i], 0, 1e-9 * k.a);
}

// ---- the worksheet ------------------------------------------------------------------------

TEST(Worksheet, FiguresHaveSixDigitsAndAPointWhateverTheLocale) {
    EXPECT_EQ(figure(0.1), "0.1");
    EXPECT_EQ(figure(1234567.0), "1.23457e+06");
    EXPECT_EQ(figure(-0.000123456789), "-0.000123457");
    EXPECT_EQ(figure(NAN), "-");
}

TEST(Worksheet, TheInputsAreTheBoxesWithTheLightInTheSelectorsQuantity) {
    auto f = loadedForm();
    const std::vector<WorksheetRow> rows = inputRows(*f);
    ASSERT_FALSE(rows.empty());
    int masses = 0, lights = 0;
    for (const WorksheetRow& r : rows) {
        EXPECT_EQ(r.section, "Inputs");
        if (r.value == f->Text7.Text || r.value == f->Text8.Text) ++masses;
        if (r.value == f->Text11.Text || r.value == f->Text12.Text) ++lights;
    }
    EXPECT_EQ(masses, 2);
    EXPECT_EQ(lights, 2); // one light row a star, the one its selector shows
    // A star's quantities carry its letter; the pair's do not.
    EXPECT_EQ(rows.front().quantity, "MassA / SunMass = (A)");
    EXPECT_EQ(rows.back().quantity, "IterationNo =");
}

TEST(Worksheet, CsvQuotesWhatNeedsIt) {
    const std::string csv = worksheetCsv({{"Fit", "a, b", "1", "say \"no\"", "", "mag"}});
    EXPECT_EQ(csv,
              "section,quantity,value,error,model,unit\nFit,\"a, b\",1,\"say \"\"no\"\"\",,mag\n");
}

TEST(Worksheet, MeasurementRowsSitBesideTheModels) {
    Measurement m;
    m.sumOfRadii = 0.4;
    m.surfaceFluxRatio = 2;
    ModelFigures model;
    model.sumOfRadii = 0.42;
    model.surfaceFluxRatio = 2.5;
    model.inclinationDeg = 88;
    const std::vector<WorksheetRow> rows = measurementRows(m, model);
    bool sum = false, ratio = false;
    for (const WorksheetRow& r : rows) {
        if (r.quantity == "(R_A + R_B) / a") sum = r.value == "0.4" && r.model == "0.42";
        if (r.quantity.starts_with("surface flux ratio"))
            ratio = r.value == "2" && r.model == "2.5";
        EXPECT_NE(r.quantity, "|R_A - R_B| / a"); // no inner contacts
    }
    EXPECT_TRUE(sum);
    EXPECT_TRUE(ratio);
}

TEST(Worksheet, PicturesAtFourPhasesLeaveTheWindowAsItWas) {
    auto f = loadedForm();
    f->Plot_Click();
    f->Timer1_Timer();
    f->Timer1_Timer();
    const double time = f->Time.value();
    const double step = f->StepNo.value();
    const std::vector<std::uint32_t> pixels = f->pixels();
    const std::uint64_t revision = f->revision();
    std::vector<double> times;
    const std::vector<double> phases = {0, 0.25, 0.5, 0.75};
    EXPECT_TRUE(atPhases(*f, phases, [&](double) { times.push_back(f->Time.value()); }));
    ASSERT_EQ(times.size(), 4u);
    EXPECT_NEAR(times[2], 0.5 * f->Period.value(), 1e-15);
    EXPECT_EQ(f->Time.value(), time);
    EXPECT_EQ(f->StepNo.value(), step);
    EXPECT_EQ(f->pixels(), pixels);
    EXPECT_EQ(f->revision(), revision);
}

} // namespace
