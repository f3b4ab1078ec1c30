// SPDX-License-Identifier: GPL-3.0-or-later
// The observed points over the graph: zero point, minimum, folding and alignment against
// curves made by the model itself, the residual on a hand-computed case, the placement in
// both graph modes and after Hide Menu, and the layer's bounded drawing.
#include "loaded_form.h"
#include "render/curve_table.h"
#include "render/observed_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace orvanta;
using orvanta::testing::loadedForm;

namespace {

struct Sample {
    double time, power, mag;
};

/// One period sweep of the model as the graph samples it.
std::vector<Sample> sweep(Form1& g) {
    std::vector<Sample> s;
    const Num saved = g.Time;
    g.PeriodSweep([&] {
        s.push_back({g.Time.value(), g.PowerSum.value(), num(g.PowerToAll(g.PowerSum, 1)).value()});
    });
    g.Time = saved;
    return s;
}

/// An eccentric, tilted version of the start-up system, plotted.
std::unique_ptr<Form1> system() {
    auto f = loadedForm();
    f->Text3.Text = "0.2";
    f->Text4.Text = "4";
    f->Text10.Text = "3.1";
    f->Plot_Click();
    return f;
}

/// Observations of the model at the graph's sample phases over three cycles, in days from
/// 2459000.25, as apparent magnitudes 2.0 fainter than the absolute ones.
std::string observedFromModel(Form1& g, bool withHeader) {
    const std::vector<Sample> s = sweep(g);
    const double period = g.Period.value();
    const double days = period * 365.2425;
    std::vector<double> at, rel;
    for (const Sample& x : s) {
        at.push_back(x.time / period);
        rel.push_back(x.power / g.MaxPowerSum.value());
    }
    const double t0 = 2459000.25;
    char line[128];
    std::string text = "# synthetic, from the model\n";
    if (withHeader) {
        std::snprintf(line, sizeof line, "# period = %.17g d\n# epoch = %.17g\n", days,
                      t0 + minimumPhase(at, rel) * days);
        text += line;
        text += "HJD,V mag\n";
    }
    for (int n = 0; n < 3; ++n)
        for (std::size_t k = 0; k + 1 < s.size(); ++k) {
            std::snprintf(line, sizeof line, "%.17g,%.17g\n", t0 + (n + at[k]) * days,
                          s[k].mag + 2.0);
            text += line;
        }
    return text;
}

void showText(Form1& f, const std::string& text) {
    f.observed.show(prepareObserved(parseObserved(text, "model.csv")));
    f.refreshObserved();
}

TEST(ObservedZeroPoint, TheMedianOutOfEclipseIsMagnitudeZeroWhateverTheEclipsesAndOutliers) {
    ObservedData d;
    d.brightness = Brightness::Magnitude;
    for (int i = 0; i < 100; ++i) {
        d.time.push_back(i);
        // 70 points near 2.1, 25 in eclipse down to 3.3, 5 outliers both ways.
        d.value.push_back(i < 70   ? 2.1 + 0.001 * (i % 5 - 2)
                          : i < 95 ? 2.6 + 0.03 * (i - 70)
                                   : (i % 2 ? 0.5 : 4.0));
    }
    const ObservedSet s = prepareObserved(d);
    EXPECT_NEAR(s.mag[0], -0.002, 1e-12);
    EXPECT_NEAR(s.mag[2], 0.0, 1e-12);
    EXPECT_NEAR(s.flux[2], 1.0, 1e-12);
    EXPECT_NEAR(s.mag[80], 0.8, 1e-12);
    EXPECT_NEAR(s.flux[80], std::pow(10.0, -0.8 / 2.512), 1e-12);
}

TEST(ObservedZeroPoint, AnEvenCountTakesTheMeanOfTheMiddleTwo) {
    ObservedData d;
    d.brightness = Brightness::Magnitude;
    for (int i = 0; i < 4; ++i) {
        d.time.push_back(i);
        d.value.push_back(i < 2 ? 2.0 : 2.2);
    }
    const ObservedSet s = prepareObserved(d);
    EXPECT_NEAR(s.mag[0], -0.1, 1e-12);
    EXPECT_NEAR(s.mag[3], 0.1, 1e-12);
}

// The faint side is clipped again while that changes the points kept, for at most 30 rounds.
// Here each round can clip only one point more: a tail of 40 points, each just beyond the
// clipping limit of the set without the ones fainter than it. After 30 rounds the zero point
// is the median of the set with the 30 faintest left out.
TEST(ObservedZeroPoint, TheClippingStopsAfterThirtyRounds) {
    std::vector<double> base;
    for (int i = 0; i <= 1000; ++i)
        base.push_back(2.0 + 0.001 * (i - 500));
    auto limitWith = [&](int above) { // median + 3 sigma of base and `above` very faint points
        std::vector<double> v = base;
        v.insert(v.end(), static_cast<std::size_t>(above), 1e9);
        std::sort(v.begin(), v.end());
        auto medianOfSorted = [](const std::vector<double>& w) {
            const std::size_t m = w.size() / 2;
            return w.size() % 2 ? w[m] : w[m - 1] + (w[m] - w[m - 1]) / 2;
        };
        const double med = medianOfSorted(v);
        std::vector<double> dev;
        for (double x : v)
            dev.push_back(std::fabs(x - med));
        std::sort(dev.begin(), dev.end());
        return med + 3 * 1.4826 * medianOfSorted(dev);
    };
    ObservedData d;
    d.brightness = Brightness::Magnitude;
    for (double b : base) {
        d.time.push_back(static_cast<double>(d.time.size()));
        d.value.push_back(b);
    }
    for (int k = 1; k <= 40; ++k) {
        d.time.push_back(static_cast<double>(d.time.size()));
        d.value.push_back(limitWith(k) + 1e-6);
    }
    const ObservedSet s = prepareObserved(d);
    // Kept: the 1001 of the base and the 10 brightest of the tail; the median is the
    // base's 506th, 2.005.
    EXPECT_NEAR(s.mag[500], -0.005, 1e-12);
}

TEST(ObservedZeroPoint, FluxIsRelativeToItsOwnLevelAndErrorsBecomeBarsInBothUnits) {
    ObservedData d;
    d.brightness = Brightness::Power;
    for (int i = 0; i < 10; ++i) {
        d.time.push_back(i);
        d.value.push_back(i == 4 ? 2e28 : 4e28);
        d.error.push_back(i == 4 ? 4e26 : 0);
    }
    const ObservedSet s = prepareObserved(d);
    EXPECT_EQ(s.flux[0], 1.0);
    EXPECT_EQ(s.flux[4], 0.5);
    EXPECT_NEAR(s.fluxLow[4], 0.49, 1e-12);
    EXPECT_NEAR(s.fluxHigh[4], 0.51, 1e-12);
    EXPECT_NEAR(s.magLow[4], -2.512 * std::log10(0.51), 1e-12);
    EXPECT_NEAR(s.magHigh[4], -2.512 * std::log10(0.49), 1e-12);
}

TEST(ObservedZeroPoint, MagnitudeErrorsBecomeBarsWithTheFaintEndAsTheLowFlux) {
    ObservedData d;
    d.brightness = Brightness::Magnitude;
    for (int i = 0; i < 10; ++i) {
        d.time.push_back(i);
        d.value.push_back(i == 4 ? 2.5 : 2.0);
        d.error.push_back(i == 4 ? 0.1 : 0);
    }
    const ObservedSet s = prepareObserved(d);
    EXPECT_NEAR(s.mag[4], 0.5, 1e-12);
    EXPECT_NEAR(s.magLow[4], 0.4, 1e-12);
    EXPECT_NEAR(s.magHigh[4], 0.6, 1e-12);
    EXPECT_NEAR(s.fluxLow[4], std::pow(10.0, -0.6 / 2.512), 1e-12);
    EXPECT_NEAR(s.fluxHigh[4], std::pow(10.0, -0.4 / 2.512), 1e-12);
}

struct Dip {
    double centre, width;
};

class ObservedMinimum : public ::testing::TestWithParam<Dip> {};

TEST_P(ObservedMinimum, IsTheCentreOfTheDeepestDipWithAShallowerOneHalfAPeriodOn) {
    const Dip dip = GetParam();
    std::vector<double> at, flux;
    for (int i = 0; i < 2000; ++i) {
        const double p = (i + 0.37) / 2000;
        auto depth = [&](double c, double d) {
            const double u = std::fabs(p - c - std::round(p - c));
            return u < dip.width ? d * (1 - u / dip.width) : 0.0;
        };
        at.push_back(p);
        flux.push_back(1 - depth(dip.centre, 0.8) - depth(dip.centre + 0.5, 0.2));
    }
    const double found = minimumPhase(at, flux);
    EXPECT_NEAR(found - std::round(found - dip.centre), dip.centre, 2e-4);
}

INSTANTIATE_TEST_SUITE_P(Observed, ObservedMinimum,
                         ::testing::Values(Dip{0.3, 0.05}, Dip{0.0, 0.04}, Dip{0.999, 0.02},
                                           Dip{0.5, 0.2}, Dip{0.72, 0.01}));

// Of two dips of the same depth, the one at the lower phase is the minimum, in whatever order
// the samples come. The second dip is the first moved by 53 bins of 20 samples, so their bins
// hold the same values.
TEST(ObservedMinimum, OfTwoEqualDipsIsTheFirst) {
    constexpr int n = 2000;
    for (int first : {229, 600, 40}) {
        std::vector<double> at, flux;
        auto depth = [](int k) {
            k = std::abs(k);
            k = std::min(k, n - k);
            return k < 60 ? 0.5 * (60 - k) / 60 : 0.0;
        };
        for (int i = 0; i < n; ++i) {
            at.push_back((i + 0.37) / n);
            flux.push_back(1 - depth(i - first) - depth(i - first - 1060));
        }
        const double expected = (first + 0.37) / n;
        EXPECT_NEAR(minimumPhase(at, flux), expected, 1e-3) << first;
        std::rotate(at.begin(), at.begin() + 1000, at.end());
        std::rotate(flux.begin(), flux.begin() + 1000, flux.end());
        EXPECT_NEAR(minimumPhase(at, flux), expected, 1e-3) << first;
    }
}

// The dip's centre is weighed over the run of bins below half depth around the deepest bin
// (0.2 deep here, so half depth is 0.6), one bin more on each side, and nothing beyond: a
// point below half depth two bins off, past a bin above it, does not pull it.
TEST(ObservedMinimum, WeighsOnlyTheRunBelowHalfDepthAroundTheDeepestBin) {
    const double centre = 50.5 / 100;
    for (int side : {-1, 1}) {
        std::vector<double> at, flux;
        for (int b = 0; b < 100; ++b) {
            at.push_back((b + 0.5) / 100);
            flux.push_back(b == 50 ? 0.2 : b == 50 + side ? 0.9 : b == 50 + 2 * side ? 0.5 : 1);
        }
        EXPECT_NEAR(minimumPhase(at, flux), centre, 1e-12) << side;
    }
}

// A curve with no point out of eclipse (every bin below half depth or empty) is weighed
// whole, before and after the deepest bin alike: a point 0.02 on at a tenth of the
// deepest's weight moves the centre by 0.004 either way.
TEST(ObservedMinimum, OfACurveWhollyInEclipseWeighsEveryPoint) {
    const double centre = 50.5 / 100;
    for (int side : {-1, 1}) {
        const std::vector<double> at{centre, centre + side * 0.02}, flux{0.2, 0.5};
        EXPECT_NEAR(minimumPhase(at, flux), centre + side * 0.004, 1e-12) << side;
    }
}

// The points go over the picture beneath them: where the layer holds no point the picture
// stays as it is, and a picture smaller than the window takes only its own part.
TEST(ComposeObserved, PaintsOnlyThePoints) {
    auto g = system();
    auto f = system();
    showText(*f, observedFromModel(*g, true));
    const std::vector<std::uint32_t>& layer = f->observed.pixels();
    constexpr std::uint32_t paper = 0xFF102030;
    std::vector<std::uint32_t> picture(layer.size(), paper);
    composeObserved(f->observed, {picture.data(), Surface::W, Surface::H, Surface::W});
    std::size_t points = 0;
    for (std::size_t k = 0; k < layer.size(); ++k) {
        const bool point = layer[k] != ObservedOverlay::Undrawn;
        points += point;
        ASSERT_EQ(picture[k], point ? screenPixel(layer[k]) : paper) << k;
    }
    EXPECT_GT(points, 100u);

    std::vector<std::uint32_t> small(100 * 50 + 1, paper); // one pixel more, never written
    composeObserved(f->observed, {small.data(), 100, 50, 100});
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            const std::uint32_t v = layer[static_cast<std::size_t>(y * Surface::W + x)];
            ASSERT_EQ(small[static_cast<std::size_t>(y * 100 + x)],
                      v != ObservedOverlay::Undrawn ? screenPixel(v) : paper);
        }
    EXPECT_EQ(small.back(), paper);
}

TEST(ObservedFit, ACurveMadeByTheModelFitsToAMillionthOfAMagnitudeInBothModes) {
    auto g = system();
    auto f = system();
    showText(*f, observedFromModel(*g, true));
    ASSERT_TRUE(f->observed.rms());
    EXPECT_LT(*f->observed.rms(), 1e-6);
    f->ListScrolled(f->List3, 1); // magnitudes; the handler refreshes the points
    ASSERT_TRUE(f->observed.rms());
    EXPECT_LT(*f->observed.rms(), 1e-6);
    EXPECT_NE(f->windowTitle().find(" points, rms "), std::string::npos);
    EXPECT_NE(f->windowTitle().find(" mag"), std::string::npos);
}

TEST(ObservedFit, TheExportedTableReadsBackAsAPerfectFitInBothModes) {
    auto f = system();
    showText(*f, CurveCsv(LightCurveTable(*f)));
    ASSERT_TRUE(f->observed.set()->phased);
    ASSERT_TRUE(f->observed.rms());
    EXPECT_LT(*f->observed.rms(), 1e-12);
    f->ListScrolled(f->List3, 1);
    ASSERT_TRUE(f->observed.rms());
    EXPECT_LT(*f->observed.rms(), 1e-12);
    EXPECT_NEAR(f->observed.phaseShift(), 0, 1e-12);
}

TEST(ObservedFit, WithoutPeriodOrEpochTheModelPeriodAndTheFirstMinimumServe) {
    auto g = system();
    auto f = system();
    showText(*f, observedFromModel(*g, false));
    ASSERT_TRUE(f->observed.rms());
    EXPECT_LT(*f->observed.rms(), 1e-6);
}

TEST(ObservedFit, AnotherModelFitsWorseAndTheFitFollowsEveryPlot) {
    auto g = system();
    auto f = system();
    showText(*f, observedFromModel(*g, true));
    const double perfect = *f->observed.rms();
    f->Text10.Text = "2.5";
    f->Load(); // any handler; Plot through the boundary:
    f->Run([&] { f->Plot_Click(); });
    EXPECT_GT(*f->observed.rms(), 100 * perfect + 1e-3);
    f->Text10.Text = "3.1";
    f->Run([&] { f->Plot_Click(); });
    EXPECT_LT(*f->observed.rms(), 1e-6);
}

TEST(ObservedFit, TheResidualOfAHandComputedCase) {
    // A model curve of one year: full light 1 W but half at mid-period, linear between
    // quarter samples; observations with period 1 d and their primary minimum at 0.5 d.
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
    d.time = {0.125, 0.375, 0.625, 0.9, 1.1, 1.2};
    d.value = {1, 0.6, 0.8, 1, 1, 1};
    o.show(prepareObserved(d));
    ObservedOverlay::Graph g;
    g.period = 1;
    g.maxPower = 1;
    g.maxShown = 1;
    g.graphMag = 326;
    g.graphBase = 0.5;
    g.axisY = 360;
    o.update(g);
    ASSERT_TRUE(o.rms());
    // Model at 0.375 and 0.625: 0.75; residuals -0.15 and 0.05, the others 0.
    EXPECT_NEAR(*o.rms(), std::sqrt((0.15 * 0.15 + 0.05 * 0.05) / 6), 1e-12);
    EXPECT_NEAR(o.phaseShift(), 0.5, 1e-12);
    // The point at phase 0.375, flux 0.6: column 297.4 -> 297, row 360 - 326 * 0.1 -> 327.
    EXPECT_EQ(o.pixel(297, 327), ObservedOverlay::PointColour);
    EXPECT_EQ(o.pixel(298, 328), ObservedOverlay::PointColour);
    EXPECT_EQ(o.pixel(300, 327), ObservedOverlay::Undrawn);
    EXPECT_EQ(o.caption(), "x: 6 points, rms 0.065 relative flux");
}

/// Whether every observed point is drawn where the graph's mapping puts it now.
::testing::AssertionResult pointsWhereTheGraphPutsThem(Form1& f) {
    const ObservedSet& s = *f.observed.set();
    const bool power = f.List3.TopIndex == 0;
    const double maxShown = num(f.PowerToAll(f.MaxPowerSum, f.List3.TopIndex)).value();
    for (std::size_t i = 0; i < s.time.size(); i += 97) {
        const double q = power ? s.flux[i] * f.MaxPowerSum.value() : s.mag[i] + maxShown;
        const double y = f.AxisY.value() - f.GraphMag.value() * (q - f.GraphBase.value());
        const int px = static_cast<int>(std::floor(793 * f.observed.alignedPhase()[i] + 0.5));
        const int py = static_cast<int>(std::floor(y + 0.5));
        if (py < 0 || py >= Surface::H) continue;
        if (f.observed.pixel(px, py) != ObservedOverlay::PointColour)
            return ::testing::AssertionFailure() << "point " << i << " not at " << px << "," << py;
    }
    return ::testing::AssertionSuccess();
}

TEST(ObservedPlacement, FollowsBothModesHideMenuClearAndTheDragPreview) {
    auto g = system();
    auto f = system();
    showText(*f, observedFromModel(*g, true));
    EXPECT_TRUE(pointsWhereTheGraphPutsThem(*f));
    f->ListScrolled(f->List3, 1);
    EXPECT_TRUE(pointsWhereTheGraphPutsThem(*f));
    f->Run([&] { f->HideMenu_Click(); });
    EXPECT_EQ(f->GraphBottom, 560);
    EXPECT_TRUE(pointsWhereTheGraphPutsThem(*f));
    const auto before = f->observed.revision();
    f->Run([&] { f->Clear_Click(); });
    EXPECT_EQ(f->observed.revision(), before);
    EXPECT_TRUE(f->observed.shown());
    // An Alt drag changes the eccentricity: the fit worsens on every move, live.
    const double fitted = *f->observed.rms();
    f->MouseDown(mouse::Left, mouse::Alt, 100, 100);
    f->MouseMove(mouse::Left, mouse::Alt, 160, 100);
    ASSERT_TRUE(f->observed.rms());
    EXPECT_GT(*f->observed.rms(), fitted + 0.01);
    EXPECT_TRUE(pointsWhereTheGraphPutsThem(*f));
    f->MouseMove(mouse::Left, mouse::Alt, 100, 100);
    f->MouseUp(mouse::Left, mouse::Alt, 100, 100);
    EXPECT_LT(*f->observed.rms(), 1e-6);
}

TEST(ObservedPlacement, RemovingClearsTheLayerAndTheTitle) {
    auto g = system();
    auto f = system();
    showText(*f, observedFromModel(*g, true));
    EXPECT_NE(f->windowTitle(), "Orvanta");
    f->observed.remove();
    f->refreshObserved();
    EXPECT_EQ(f->windowTitle(), "Orvanta");
    for (auto p : f->observed.pixels())
        ASSERT_EQ(p, ObservedOverlay::Undrawn);
}

TEST(ObservedPlacement, AGraphWithNoLightHidesThePointsWithoutAnError) {
    auto g = system();
    auto f = system();
    showText(*f, observedFromModel(*g, true));
    f->MaxPowerSum = 0;
    f->refreshObserved();
    EXPECT_FALSE(f->observed.rms());
    EXPECT_EQ(f->ErrorCount, 0u);
    EXPECT_EQ(f->windowTitle(), "Orvanta \u2014 model.csv: " +
                                    std::to_string(f->observed.set()->time.size()) + " points");
}

/// A flat model curve of light 1 under the layer.
void showFlatModel(ObservedOverlay& o) {
    o.beginCurve();
    o.curveSample(0, 1);
    o.curveSample(1, 1);
    o.endCurve();
}

int pointPixels(const ObservedOverlay& o) {
    int drawn = 0;
    for (auto p : o.pixels())
        drawn += p == ObservedOverlay::PointColour;
    return drawn;
}

TEST(ObservedPlacement, AHundredThousandPointsOnOnePixelDrawOneSquare) {
    ObservedOverlay o;
    showFlatModel(o);
    ObservedData d;
    d.phased = true;
    d.brightness = Brightness::Flux;
    for (int i = 0; i < 100000; ++i) {
        d.time.push_back(0.5);
        d.value.push_back(1);
        d.error.push_back(0.05);
    }
    o.show(prepareObserved(d));
    o.update({1, 1, 1, 100, 0, 300, 0});
    // Two flat curves line up at phase 0, the left edge: the square's right two columns
    // and its bar, 5 px above and below.
    EXPECT_EQ(pointPixels(o), 6 + 8);
    EXPECT_EQ(o.pixel(0, 195), ObservedOverlay::PointColour);
}

TEST(ObservedPlacement, APointOnTheBottomRowKeepsItsSquareAndItsBarInItsOwnColumn) {
    ObservedOverlay o;
    showFlatModel(o);
    ObservedData d;
    d.phased = true;
    d.brightness = Brightness::Flux;
    auto add = [&](double phase, double flux, int copies) {
        for (int i = 0; i < copies; ++i) {
            d.time.push_back(phase);
            d.value.push_back(flux);
            d.error.push_back(0.05);
        }
    };
    // The dip goes onto the flat model's minimum, the middle of its first bin, 0.005 (and
    // below the raster); light 1 at phase 0.3 + 0.005, on the bottom row, in column
    // Int(793 * 0.305 + 0.5) = 242.
    add(0.0, 0.5, 2);
    add(0.3, 1, 9);
    o.show(prepareObserved(d));
    o.update({1, 1, 1, 100, 0, 667, 0});
    const auto P = ObservedOverlay::PointColour, U = ObservedOverlay::Undrawn;
    for (int x = 241; x <= 243; ++x) {
        EXPECT_EQ(o.pixel(x, 566), P) << x;
        EXPECT_EQ(o.pixel(x, 567), P) << x;
    }
    // The bar runs from light 1.05 (row 562) down to the raster's edge, in column 242 only.
    for (int y = 562; y <= 567; ++y)
        EXPECT_EQ(o.pixel(242, y), P) << y;
    EXPECT_EQ(o.pixel(242, 561), U);
    EXPECT_EQ(pointPixels(o), 6 + 4);
}

// The weights of the points (one over half the error bar) follow a new set, and the graph's
// unit: the figures are those of a layer that showed only this set in this mode.
TEST(ObservedPlacement, TheWeightsFollowANewSetAndTheGraphsUnit) {
    auto set = [](double error) {
        ObservedData d;
        d.phased = true;
        d.brightness = Brightness::Flux;
        for (int i = 0; i < 200; ++i) {
            d.time.push_back(i / 200.0);
            d.value.push_back(1 + 0.02 * std::sin(7.0 * i));
            d.error.push_back(error * (1 + i % 3));
        }
        return prepareObserved(d);
    };
    const ObservedOverlay::Graph power{1, 1, 1, 100, 0, 300, 0};
    const ObservedOverlay::Graph magnitude{1, 1, 0, -100, 0.1, 300, 1};
    auto chi2 = [](const ObservedOverlay& o) {
        return o.figures() ? o.figures()->chi2Reduced.value_or(-1) : -2.0;
    };
    auto alone = [&](double error, const ObservedOverlay::Graph& g) {
        ObservedOverlay o;
        showFlatModel(o);
        o.show(set(error));
        o.update(g);
        return chi2(o);
    };
    ObservedOverlay o;
    showFlatModel(o);
    o.show(set(0.01));
    o.update(power);
    EXPECT_EQ(chi2(o), alone(0.01, power));
    o.show(set(0.05));
    o.update(power);
    EXPECT_EQ(chi2(o), alone(0.05, power));
    o.update(magnitude);
    EXPECT_EQ(chi2(o), alone(0.05, magnitude));
    EXPECT_NE(alone(0.05, power), alone(0.05, magnitude));
    EXPECT_GT(alone(0.05, power), 0);
}

struct Teaching {
    const char* file;
    const char *massA, *massB, *radiusA, *radiusB, *fluxA, *fluxB, *distance, *eccen;
    const char *incline1, *incline2, *incline3;
};

void PrintTo(const Teaching& t, std::ostream* os) {
    *os << t.file;
}

class TeachingData : public ::testing::TestWithParam<Teaching> {};

TEST_P(TeachingData, FitsTheInputsItWasMadeWithFarBetterThanTheStartUpSystem) {
    const Teaching& t = GetParam();
    auto f = loadedForm();
    f->observed.show(
        prepareObserved(readObserved(std::string(ORVANTA_SOURCE_DIR) + "/data/" + t.file, t.file)));
    f->ListScrolled(f->List3, 1);
    const double atStart = *f->observed.rms();
    f->Text7.Text = t.massA;
    f->Text8.Text = t.massB;
    f->Text9.Text = t.radiusA;
    f->Text10.Text = t.radiusB;
    f->Text11.Text = t.fluxA;
    f->Text12.Text = t.fluxB;
    f->Text1.Text = t.distance;
    f->Text3.Text = t.eccen;
    f->Text4.Text = t.incline1;
    f->Text5.Text = t.incline2;
    f->Text6.Text = t.incline3;
    f->Run([&] { f->Plot_Click(); });
    const double fitted = *f->observed.rms();
    // Noise of about 0.01 mag and three outliers of a few tenths.
    EXPECT_LT(fitted, 0.03);
    EXPECT_LT(fitted, atStart * 0.75);
}

INSTANTIATE_TEST_SUITE_P(
    Observed, TeachingData,
    ::testing::Values(Teaching{"algol.txt", "3.59", "0.8", "2.88", "3.0", "1181952000",
                               "32538658.5511403", "15", "0", "0", "-4.5", "0"},
                      Teaching{"twins.csv", "1.1", "1.05", "1.2", "1.15", "70000000", "66000000",
                               "6", "0", "0", "-4", "0"},
                      Teaching{"eccentric.txt", "2.5", "1.8", "1.9", "1.6", "400000000",
                               "180000000", "22", "0.3", "0", "-2.5", "60"}));

TEST(ObservedMessages, SkippedRowsAreCountedWithTheirLines) {
    ObservedSet s;
    s.name = "algol.txt";
    EXPECT_EQ(observedSkippedText(s), "");
    s.skipped = 1;
    s.skippedLines = {17};
    EXPECT_EQ(observedSkippedText(s),
              "algol.txt: 1 row could not be read and was skipped (line 17).");
    s.skipped = 3;
    s.skippedLines = {17, 18, 40};
    EXPECT_EQ(observedSkippedText(s),
              "algol.txt: 3 rows could not be read and were skipped (lines 17, 18 and 40).");
    s.skipped = 9;
    s.skippedLines = {1, 2, 3, 4, 5};
    EXPECT_EQ(observedSkippedText(s),
              "algol.txt: 9 rows could not be read and were skipped (lines 1, 2, 3, 4, 5, ...).");
    EXPECT_EQ(observedErrorText("a.txt", "line 3: x"), "Cannot use a.txt:\nline 3: x");
}

} // namespace
