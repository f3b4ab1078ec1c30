// SPDX-License-Identifier: GPL-3.0-or-later
// The window's automatic fit without a display: the fit of the points shown from the
// boxes, the values written back as typing and Plot would, and the one level of undo.
#include "fit/observations.h"
#include "fit/window_fit.h"
#include "form1.h"
#include "render/observed_set.h"
#include "ui/inputs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

namespace orvanta::fit {
namespace {

namespace fs = std::filesystem;

/// The design-time system with radius A 1.1 times and radius B 0.9 times the default, in
/// phase, magnitudes with 0.004 mag of noise, shown over a loaded window's graph.
void showCurve(Form1& f) {
    auto truth = std::make_unique<Form1>();
    truth->Text9.Text = Str(Val(truth->Text9.Text) * 1.1);
    truth->Text10.Text = Str(Val(truth->Text10.Text) * 0.9);
    BoxModel model(*truth, {});
    std::vector<double> phase, flux;
    for (int i = 0; i < 300; ++i)
        phase.push_back(i / 300.0);
    ASSERT_TRUE(model.flux({}, phase, flux));
    const fs::path path =
        fs::temp_directory_path() / ("orvanta-window-fit-" + std::to_string(getpid()) + ".txt");
    {
        std::mt19937_64 rng(4);
        std::normal_distribution<double> noise(0, 0.004);
        std::ofstream out(path);
        out << "phase magnitude error\n";
        for (std::size_t i = 0; i < phase.size(); ++i)
            out << phase[i] << ' ' << -2.512 * std::log10(flux[i]) + noise(rng) << " 0.004\n";
    }
    ObservedData data = readObserved(path.string(), "made.txt");
    fs::remove(path);
    f.observed.show(prepareObserved(std::move(data)));
    f.refreshObserved();
}

TEST(WindowFit, NeedsObservedPointsAndATick) {
    Form1 f;
    f.Load();
    EXPECT_NE(cannotFitWhy(f).find("open one first (Ctrl+O)"), std::string::npos);
    EXPECT_THROW(windowFit(f, defaultWindowFree()), FitError);
    showCurve(f);
    EXPECT_EQ(cannotFitWhy(f), "");
    EXPECT_THROW(windowFit(f, {}), FitError);
    for (const std::string& name : defaultWindowFree())
        EXPECT_NE(findFitParameter(name), nullptr) << name;
    EXPECT_EQ(defaultWindowFree(),
              (std::vector<std::string>{"radius-a", "radius-b", "temperature-b", "incline2"}));
}

/// The fitted values go into their boxes (star B's selector on the temperature row, as its
/// temperature was fitted), the window plots them, and undo puts every box, the selector and
/// its caption back.
// Times fold only with a period above 0: none, 0 or one that is not a number is refused.
TEST(WindowFit, TimesNeedAPeriodAboveZero) {
    ObservedData d;
    d.name = "times.csv";
    for (int i = 0; i < 20; ++i) {
        d.time.push_back(2459000 + 0.1 * i);
        d.value.push_back(9 + 0.01 * (i % 3));
    }
    for (const std::optional<double> period :
         {std::optional<double>{}, std::optional<double>{0.0}, std::optional<double>{-1.0},
          std::optional<double>{NAN}}) {
        try {
            (void)observationsFrom(d, period);
            ADD_FAILURE() << "folded with " << period.value_or(-2);
        } catch (const FitError& e) {
            EXPECT_STREQ(e.what(),
                         "times.csv gives times without a period: give one with --period");
        }
    }
    EXPECT_EQ(observationsFrom(d, 1.5).periodDays, 1.5);
}

TEST(WindowFit, WritesTheValuesAndUndoesThem) {
    Form1 f;
    f.Load();
    showCurve(f);
    const std::string radiusA = f.Text9.Text, radiusB = f.Text10.Text, lightB = f.Text12.Text;
    const int rowB = f.List2.TopIndex;
    const std::string captionB = f.Label3.Caption;
    WindowFit job = windowFit(f, {"radius-a", "radius-b", "temperature-b"});
    EXPECT_FALSE(job.data.magnitudes); // the graph shows power: relative flux
    EXPECT_EQ(job.data.phase.size(), 300u);
    FitOptions options;
    options.tryTurns = false;
    const FitResult r = fitCurve(job.model, job.start, job.data, options);
    ASSERT_FALSE(r.cancelled);
    const unsigned errors = f.ErrorCount;
    const BoxesBefore before = applyFit(f, job, r);
    EXPECT_EQ(f.ErrorCount, errors);
    EXPECT_EQ(f.List2.TopIndex, 2);
    for (std::size_t j = 0; j < 2; ++j) {
        ASSERT_TRUE(r.parameters[j].error) << r.parameters[j].note;
        const double truth = Val((j == 0 ? radiusA : radiusB)) * (j == 0 ? 1.1 : 0.9);
        EXPECT_NEAR(r.parameters[j].value, truth, 3 * *r.parameters[j].error);
    }
    EXPECT_EQ(f.Text9.Text, Str(r.parameters[0].value));
    EXPECT_EQ(f.Text12.Text, Str(r.parameters[2].value));
    // The window plotted the fitted values: its period read-out is the boxes'.
    EXPECT_EQ(f.RadiusA.value(), Val(f.Text9.Text));
    const std::string summary = fitSummary(job, r);
    EXPECT_NE(summary.find("made.txt: \u03c7\u00b2\u1d63 "), std::string::npos) << summary;
    EXPECT_NE(summary.find("radius-a = "), std::string::npos) << summary;
    EXPECT_NE(summary.find("Ctrl+Z"), std::string::npos) << summary;

    undoFit(f, before);
    EXPECT_EQ(f.Text9.Text, radiusA);
    EXPECT_EQ(f.Text10.Text, radiusB);
    EXPECT_EQ(f.Text12.Text, lightB);
    EXPECT_EQ(f.List2.TopIndex, rowB);
    EXPECT_EQ(f.Label3.Caption, captionB);
    EXPECT_EQ(f.RadiusA.value(), Val(radiusA));
    EXPECT_EQ(f.ErrorCount, errors);
}

/// A fitted option of the light goes into the window's options; a fitted distance carries
/// the masses with it, so the period stays the data's.
TEST(WindowFit, WritesTheOptionsAndKeepsThePeriod) {
    Form1 f;
    f.Load();
    showCurve(f);
    const double period = f.Period.value();
    WindowFit job = windowFit(f, {"third-light", "distance"});
    FitResult r;
    r.parameters = {{"third-light", 0.05, 0.01, ""},
                    {"distance", 1.2 * Val(f.Text1.Text), {}, "x"}};
    applyFit(f, job, r);
    EXPECT_EQ(f.LightOptions.thirdLight, 0.05);
    EXPECT_NEAR(f.Period.value() / period, 1, 1e-12);
}

} // namespace
} // namespace orvanta::fit
