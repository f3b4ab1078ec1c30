// SPDX-License-Identifier: GPL-3.0-or-later
// The window's drawing surface: a retained 794 x 568 raster beneath every control.
#pragma once

#include "render/raster.h"

#include <cstdint>
#include <vector>

namespace orvanta {

class Surface {
public:
    static constexpr int W = PictureWidth;
    static constexpr int H = PictureHeight;
    /// Marks a pixel nothing has drawn on, where the background picture shows.
    static constexpr std::uint32_t Undrawn = 0xFF000000u;

    Surface();

    /// Erases everything drawn; the current point becomes (0, 0).
    void Cls();
    /// Paints the pixel at (x, y); the current point becomes (x, y).
    void PSet(float x, float y, long colour);
    /// Draws from the current point to (x, y), both ends included; the current point moves.
    void Line(float x, float y, long colour);
    /// Draws a circle outline; radius 1 is the 3 x 3 ring around the centre. The current
    /// point becomes the centre.
    void Circle(float x, float y, float radius, long colour);

    /// The width of what PSet and Line draw: 1, or 3 for the projector view (each pixel a
    /// 3 x 3 square around it). Circles stay 1 px.
    int PenWidth = 1;

    [[nodiscard]] float CurrentX() const { return currentX_; }
    [[nodiscard]] float CurrentY() const { return currentY_; }
    /// 0x00BBGGRR, or Undrawn.
    [[nodiscard]] std::uint32_t pixel(int x, int y) const { return pixels_[y * W + x]; }
    [[nodiscard]] const std::vector<std::uint32_t>& pixels() const { return pixels_; }
    /// Grows by one with every change, so a view knows when to copy the raster again.
    [[nodiscard]] std::uint64_t revision() const { return revision_; }

private:
    [[nodiscard]] PixelGrid grid() { return {pixels_.data(), W, H, W}; }
    void plot(long long x, long long y, std::uint32_t colour);
    std::vector<std::uint32_t> pixels_;
    float currentX_ = 0;
    float currentY_ = 0;
    std::uint64_t revision_ = 0;
};

/// Segments whose ends lie beyond this box (|x| or |y| above 2^20) are first clipped to it;
/// inside it the line arithmetic is exact in 64-bit integers.
inline constexpr double LineBox = 1 << 20;

/// Clips the segment from (x0, y0) to (x1, y1) (whole numbers) to LineBox exactly: an end
/// beyond it moves along the segment onto the box, across the vertical edge first and then,
/// if still outside, across the horizontal one, and is rounded to the nearest whole number,
/// halves away from zero. False, with the ends untouched, when the segment misses the box.
bool clipToBox(double& x0, double& y0, double& x1, double& y1);

/// The one line rule of the window, for the surface and the line marks alike: a 1 px line
/// from pixel (x0, y0) to pixel (x1, y1) (whole numbers of any size), both ends included,
/// clipped to the grid; ends far beyond it keep their exact crossing of it.
void rasterLine(PixelGrid grid, double x0, double y0, double x1, double y1, std::uint32_t value);

} // namespace orvanta
