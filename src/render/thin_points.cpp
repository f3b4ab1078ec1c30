// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/thin_points.h"

#include "render/observed_thinning.h"

#include <cmath>

namespace orvanta {

std::vector<std::size_t> thinToPixels(std::span<const double> x, std::span<const double> y,
                                      const PixelBox& box) {
    std::vector<std::size_t> kept;
    const double spanX = box.xMax - box.xMin;
    const double spanY = box.yMax - box.yMin;
    if (box.width <= 0 || box.height <= 0 || !(spanX > 0) || !(spanY > 0) ||
        !std::isfinite(spanX) || !std::isfinite(spanY))
        return kept;
    // The first point in a pixel takes it, as the graph's own thinning does.
    PixelCells taken(box.width, box.height);
    const double perX = box.width / spanX;
    const double perY = box.height / spanY;
    const std::size_t n = x.size() < y.size() ? x.size() : y.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double u = (x[i] - box.xMin) * perX;
        const double v = (box.yMax - y[i]) * perY; // rows from the top
        // Also false for NaN; the far edge belongs to the last pixel.
        if (!(u >= 0 && u <= box.width && v >= 0 && v <= box.height)) continue;
        const int col = u < box.width ? static_cast<int>(u) : box.width - 1;
        const int row = v < box.height ? static_cast<int>(v) : box.height - 1;
        if (taken.take(col, row)) kept.push_back(i);
    }
    return kept;
}

} // namespace orvanta
