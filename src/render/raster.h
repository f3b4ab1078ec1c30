// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel rules of the window's picture: the colour format, the shapes' fill, outline and
// raster modes, and how the surface and the background make the picture beneath the marks.
// A view only hands over a block of 32-bit pixels and copies the result to the screen.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvanta {

class Surface;

/// The picture's size in pixels: the drawing surface, and the client area of the window.
inline constexpr int PictureWidth = 794;
inline constexpr int PictureHeight = 568;

/// Colour value 0x00BBGGRR; the system colour ButtonFace is marked by the top bit.
using Colour32 = std::uint32_t;
inline constexpr Colour32 White = 0xFFFFFF;
inline constexpr Colour32 Black = 0x000000;
inline constexpr Colour32 Red = 0x0000FF;
inline constexpr Colour32 Blue = 0xFF0000;
inline constexpr Colour32 Green = 0x00FF00;
inline constexpr Colour32 ButtonFace = 0x8000000F;
/// The curves of the projector view, one per plot in turn: cyan, pink and lime, none of them
/// a star's colour (dark red to light blue, white), the observed points' magenta, the axis's
/// green or the dot's red.
inline constexpr std::array<Colour32, 3> ProjectorCurveColours = {0xFFE600, 0xB46EFF, 0x3CFFB4};
/// Width in pixels of the curves, traces and time cursor in the projector view.
inline constexpr int ProjectorPenWidth = 3;
/// The grey of a disabled control's caption or list row, and of a disabled box's text.
inline constexpr Colour32 DisabledTextColour = 0x808080;
inline constexpr Colour32 DisabledBoxTextColour = 0x6D6D6D;
/// The button-face colour of the standard scheme, light grey.
inline constexpr Colour32 ButtonFaceRgb = 0xF0F0F0;
inline constexpr Colour32 resolveColour(Colour32 c) {
    return c == ButtonFace ? ButtonFaceRgb : c;
}

enum class FillStyle { Solid, Transparent };
enum class BorderStyle { Solid, Dotted };
/// Raster mode of a shape: copy, each pixel = colour AND NOT background, or colour XOR background.
enum class DrawMode { Copy, MaskPenNot, XorPen };

/// A pixel of the picture as the screen stores it: opaque 0xFFRRGGBB.
using ScreenPixel = std::uint32_t;
/// A colour value (0x00BBGGRR, or ButtonFace) as a screen pixel.
inline constexpr ScreenPixel screenPixel(Colour32 c) {
    const Colour32 v = resolveColour(c);
    return 0xFF000000u | ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
}

/// A rectangle of 32-bit pixels held by someone else, rows `stride` pixels apart.
struct PixelGrid {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    [[nodiscard]] std::uint32_t* row(long long y) const { return pixels + y * stride; }
    /// Writes one pixel; outside the grid nothing happens.
    void set(long long x, long long y, std::uint32_t value) const {
        if (x >= 0 && y >= 0 && x < width && y < height) row(y)[x] = value;
    }
};

/// The same, read only.
struct PixelSource {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

/// The pixel a window coordinate falls on, Int(v + 0.5), as a whole number in double (any
/// size): the one rounding rule of every drawing and every mark.
double nearestPixel(double v);
/// The same as an int, saturated to half the int range (a NaN gives the low end).
int wholePixel(double v);

/// How a shape looks: its colours, whether it is filled, its outline and its raster mode.
struct ShapeLook {
    Colour32 FillColor = White;
    Colour32 BorderColor = White;
    FillStyle Fill = FillStyle::Solid;
    BorderStyle Outline = BorderStyle::Solid;
    DrawMode Mode = DrawMode::Copy;

    bool operator==(const ShapeLook&) const = default;
};

/// A circle inscribed in its box (window coordinates, rounded to whole pixels): the pixels
/// whose centres lie inside it; those with a neighbour outside make the 1 px outline, the
/// rest the fill. Each pixel combines with the grid's in the shape's raster mode.
void paintCircle(PixelGrid grid, double left, double top, double width, double height,
                 const ShapeLook& look);

/// A line mark: its end points rounded to whole pixels, then the surface's line rule.
void paintLine(PixelGrid grid, double x1, double y1, double x2, double y2, Colour32 colour);
/// The same line `width` pixels wide (1 or 3): the 1 px line and its copies shifted by
/// every offset of up to (width - 1) / 2 pixels across and along it.
void paintLine(PixelGrid grid, double x1, double y1, double x2, double y2, Colour32 colour,
               int width);

/// The picture beneath the marks: the background from the top-left on black, then every
/// drawn pixel of the surface. `out` is the surface's size.
void composeBase(const Surface& surface, PixelSource background, PixelGrid out);

} // namespace orvanta
