// SPDX-License-Identifier: GPL-3.0-or-later
// The projector view: thick curves, traces and time cursor, and a colour of its own for each
// plot's curve; off, every pixel as without it.
#include "loaded_form.h"
#include "ui/keyboard.h"
#include "ui/marks.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace orvanta;
using orvanta::testing::countColour;
using orvanta::testing::loadedForm;

namespace {

/// The rows of column x drawn in a colour.
std::vector<int> rowsIn(const Surface& s, int x, std::uint32_t colour) {
    std::vector<int> rows;
    for (int y = 0; y < Surface::H; ++y)
        if (s.pixel(x, y) == colour) rows.push_back(y);
    return rows;
}

} // namespace

TEST(ProjectorView, IsOffAtStartAndItsKeyTurnsItOnAndOff) {
    auto f = loadedForm();
    EXPECT_FALSE(f->ProjectorView);
    EXPECT_EQ(f->PenWidth, 1);
    EXPECT_EQ(f->Line2.BorderWidth, 1);
    ASSERT_EQ(commandForKey("Ctrl+B"), Command::ProjectorView);
    runCommand(*f, Command::ProjectorView);
    EXPECT_TRUE(f->ProjectorView);
    EXPECT_EQ(f->PenWidth, 3);
    EXPECT_EQ(f->Line2.BorderWidth, 3);
    runCommand(*f, Command::ProjectorView);
    EXPECT_FALSE(f->ProjectorView);
    EXPECT_EQ(f->PenWidth, 1);
    EXPECT_EQ(f->Line2.BorderWidth, 1);
}

TEST(ProjectorView, EachPlotsCurveIsThreePixelsThickInTheNextColour) {
    auto f = loadedForm();
    const int column = 100; // out of eclipse: the curve runs level here
    ASSERT_EQ(rowsIn(*f, column, White).size(), 1u);
    f->ToggleProjectorView();
    for (int plot = 0; plot < 4; ++plot) {
        f->Clear_Click();
        f->Plot_Click();
        const std::uint32_t colour = ProjectorCurveColours[static_cast<size_t>(plot % 3)];
        const std::vector<int> rows = rowsIn(*f, column, colour);
        ASSERT_EQ(rows.size(), 3u) << plot;
        EXPECT_EQ(rows[2] - rows[0], 2);
        EXPECT_EQ(countColour(*f, White), 0) << plot;
    }
    // The traces are three pixels wide too: star A's trace colour covers far more pixels.
    const auto traceA = static_cast<std::uint32_t>(f->Colour(f->FluxA).value());
    auto thin = loadedForm();
    EXPECT_GT(countColour(*f, traceA), 2 * countColour(*thin, traceA));
    // Off again: the next plot is white and thin, as at start.
    f->ToggleProjectorView();
    f->Clear_Click();
    f->Plot_Click();
    EXPECT_EQ(f->pixels(), thin->pixels());
}

TEST(ProjectorView, TheTimeCursorIsThreePixelsWide) {
    auto f = loadedForm();
    f->ToggleProjectorView();
    f->Simulate_Click();
    std::vector<std::uint32_t> pixels(Surface::W * Surface::H, 0);
    const PixelGrid grid{pixels.data(), Surface::W, Surface::H, Surface::W};
    for (const Mark& m : marksIn(*f))
        if (m.kind == Kind::LineMark && m.X1 == f->Line2.X1 && m.Y2 == f->Line2.Y2)
            paintPixels(grid, m);
    const int x = static_cast<int>(f->Line2.X1);
    const int row = 100;
    EXPECT_NE(pixels[row * Surface::W + x - 1], 0u);
    EXPECT_NE(pixels[row * Surface::W + x], 0u);
    EXPECT_NE(pixels[row * Surface::W + x + 1], 0u);
    EXPECT_EQ(pixels[row * Surface::W + x + 2], 0u);
    EXPECT_EQ(pixels[row * Surface::W + x - 2], 0u);
}

TEST(ProjectorView, TheCurveColoursAreNoStarsPointsOrMarksColours) {
    auto f = loadedForm();
    std::set<std::uint32_t> taken = {ObservedOverlay::PointColour, Green, Red, White};
    for (double flux = 1; flux < 1e12; flux *= 1.05)
        taken.insert(static_cast<std::uint32_t>(f->Colour(flux).value()));
    std::set<std::uint32_t> palette;
    for (const Colour32 c : ProjectorCurveColours) {
        EXPECT_EQ(taken.count(c), 0u) << std::hex << c;
        palette.insert(c);
    }
    EXPECT_EQ(palette.size(), ProjectorCurveColours.size());
}
