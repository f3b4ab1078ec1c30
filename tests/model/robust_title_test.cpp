// SPDX-License-Identifier: GPL-3.0-or-later
// The title's figure of fit: the rms of the points that are not outliers, the outliers
// counted, and the reduced chi-square where the file has errors.
#include "loaded_form.h"
#include "render/observed_fit.h"

#include <gtest/gtest.h>

#include <string>

namespace orvanta {
namespace {

using testing::loadedForm;

/// The teaching file made with three outliers and 0.012 mag of noise, at the inputs it was
/// made with: the outliers are counted, the rms of the rest is the noise, chi-square near 1.
TEST(RobustTitle, CountsTheOutliersOfTheTeachingFile) {
    auto f = loadedForm();
    f->observed.show(prepareObserved(
        readObserved(std::string(ORVANTA_SOURCE_DIR) + "/data/algol.txt", "algol.txt")));
    f->ListScrolled(f->List3, 1);
    f->Text7.Text = "3.59";
    f->Text8.Text = "0.8";
    f->Text9.Text = "2.88";
    f->Text10.Text = "3.0";
    f->Text11.Text = "1181952000";
    f->Text12.Text = "32538658.5511403";
    f->Text1.Text = "15";
    f->Text3.Text = "0";
    f->Text4.Text = "0";
    f->Text5.Text = "-4.5";
    f->Text6.Text = "0";
    f->Run([&] { f->Plot_Click(); });
    ASSERT_TRUE(f->observed.figures().has_value());
    const RobustFigures& r = *f->observed.figures();
    EXPECT_EQ(r.outliers, 3u);
    EXPECT_NEAR(r.robustRms, 0.012, 0.003);
    EXPECT_GT(*f->observed.rms(), r.robustRms);
    ASSERT_TRUE(r.chi2Reduced.has_value());
    EXPECT_NEAR(*r.chi2Reduced, 1, 0.3);
    const std::string title = f->windowTitle();
    EXPECT_NE(title.find("algol.txt: " + std::to_string(r.points) + " points, rms 0.01"),
              std::string::npos)
        << title;
    EXPECT_NE(title.find(" mag (3 outliers), \u03c7\u00b2\u1d63 "), std::string::npos) << title;
}

/// Without outliers and without errors the caption is the plain rms, as before.
TEST(RobustTitle, PlainCaptionWithoutOutliersOrErrors) {
    // A model curve of one year: full light 1 W but half at mid-period.
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
    d.error = {0.1, 0.1, 0.1, 0.1, 0.1, 0.1};
    o.show(prepareObserved(d));
    ObservedOverlay::Graph g;
    g.period = 1;
    g.maxPower = 1;
    g.maxShown = 1;
    g.graphMag = 326;
    g.graphBase = 0.5;
    g.axisY = 360;
    o.update(g);
    // Residuals -0.15 and 0.05 (the model 0.75 between them), 0 elsewhere: no scatter to
    // judge outliers by; chi-square (1.5^2 + 0.5^2) / 6.
    EXPECT_EQ(o.caption(), "x: 6 points, rms 0.065 relative flux, \u03c7\u00b2\u1d63 0.417");
}

} // namespace
} // namespace orvanta
