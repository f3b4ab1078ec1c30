// SPDX-License-Identifier: GPL-3.0-or-later
// Points thinned to what a plot can show: one point for each pixel of its plot area.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace orvanta {

/// A plot area: the ranges of its axes and its size in pixels.
struct PixelBox {
    double xMin = 0, xMax = 1, yMin = 0, yMax = 1;
    int width = 0, height = 0; ///< pixels
};

/// The indices, in order, of the points to draw in `box`: the first point that falls in each
/// pixel column and row of the plot area (more in one pixel would not show apart). Points
/// outside the ranges, or not finite, are left out. `x` and `y` have one value per point.
std::vector<std::size_t> thinToPixels(std::span<const double> x, std::span<const double> y,
                                      const PixelBox& box);

} // namespace orvanta
