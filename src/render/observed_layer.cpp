// SPDX-License-Identifier: GPL-3.0-or-later
// The observed points' layer: small squares and error bars where the graph puts them, and
// the layer painted over the window's picture.
#include "render/layout.h"
#include "render/observed_overlay.h"
#include "render/raster.h"

#include <algorithm>
#include <cmath>

namespace orvanta {

namespace {

constexpr int W = Surface::W;
constexpr int H = Surface::H;

} // namespace

void ObservedOverlay::draw(const Graph& g) {
    std::fill(pixels_.begin(), pixels_.end(), Undrawn);
    centres_.clear();
    blank_ = false;
    ++revision_;
    const ObservedSet& s = *set_;
    const bool power = g.mode == 0;
    auto row = [&](double v) { return graphRow(g, v); };
    auto pixel = [](double v) { return std::floor(v + 0.5); };
    const std::vector<double>& obs = power ? s.flux : s.mag;
    const bool bars = !s.fluxLow.empty();
    for (std::size_t k = 0; k < phase_.size(); ++k) {
        const std::size_t i = used_[k];
        // The whole pixel: truncation is rounding down once the value is known to be >= 0.
        const double xr = GraphSpan * phase_[k] + 0.5;
        const double yr = row(obs[i]) + 0.5;
        if (!(yr >= 0 && yr < H) || !(xr >= 0 && xr < W)) continue;
        const int px = static_cast<int>(xr), py = static_cast<int>(yr);
        const double y = py;
        // At most one square per pixel: a million points cost no more than the window has.
        if (!centres_.take(px, py)) continue;
        if (bars) {
            double a = row(power ? s.fluxLow[i] : s.magLow[i]);
            double b = row(power ? s.fluxHigh[i] : s.magHigh[i]);
            if (std::isnan(a)) a = y;
            if (std::isnan(b)) b = y;
            const int y0 = static_cast<int>(std::clamp(pixel(std::min(a, b)), 0.0, H - 1.0));
            const int y1 = static_cast<int>(std::clamp(pixel(std::max(a, b)), 0.0, H - 1.0));
            for (int yy = y0; yy <= y1; ++yy)
                pixels_[static_cast<std::size_t>(yy) * W + px] = PointColour;
        }
        for (int yy = std::max(0, py - 1); yy <= std::min(H - 1, py + 1); ++yy)
            for (int xx = std::max(0, px - 1); xx <= std::min(W - 1, px + 1); ++xx)
                pixels_[static_cast<std::size_t>(yy) * W + xx] = PointColour;
    }
}

void composeObserved(const ObservedOverlay& overlay, PixelGrid out) {
    if (!overlay.shown()) return;
    const std::uint32_t* src = overlay.pixels().data();
    for (int y = 0; y < std::min(out.height, H); ++y) {
        std::uint32_t* dst = out.row(y);
        for (int x = 0; x < W; ++x, ++src)
            if (*src != ObservedOverlay::Undrawn && x < out.width) dst[x] = screenPixel(*src);
    }
}

} // namespace orvanta
