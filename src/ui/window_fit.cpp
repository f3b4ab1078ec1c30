// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_fit.h"

#include "ui/window_controls.h"

#include <algorithm>
#include <cmath>

namespace orvanta {

PictureFit fitPicture(int windowWidth, int windowHeight) {
    PictureFit fit;
    if (windowWidth <= 0 || windowHeight <= 0) {
        fit.scale = 0;
        return fit;
    }
    const double sx = static_cast<double>(windowWidth) / WindowWidth;
    const double sy = static_cast<double>(windowHeight) / WindowHeight;
    fit.scale = std::min(sx, sy);
    // The side that sets the scale is filled exactly; the other rounds to whole pixels.
    fit.width = sx <= sy ? windowWidth : static_cast<int>(std::lround(WindowWidth * fit.scale));
    fit.height = sy <= sx ? windowHeight : static_cast<int>(std::lround(WindowHeight * fit.scale));
    fit.width = std::min(fit.width, windowWidth);
    fit.height = std::min(fit.height, windowHeight);
    fit.left = (windowWidth - fit.width) / 2;
    fit.top = (windowHeight - fit.height) / 2;
    return fit;
}

bool smoothAt(double devicePixelsPerPixel) {
    return std::fabs(devicePixelsPerPixel - std::round(devicePixelsPerPixel)) > 1e-9;
}

double pixelUnderPointer(double position) {
    return std::floor(position);
}

double picturePixel(double windowPosition, int pictureOffset, double scale) {
    return pixelUnderPointer((windowPosition - pictureOffset) / scale);
}

FullScreenFit fullScreenFit(int windowWidth, int windowHeight) {
    constexpr int MinTextPixels = 18;
    FullScreenFit fit;
    fit.textPixels = std::max(MinTextPixels, windowHeight / 30);
    const int line = fit.textPixels * 3 / 2;
    const int margin = fit.textPixels / 3;
    fit.picture = fitPicture(windowWidth, windowHeight);
    if (fit.picture.top >= line) {
        fit.width = windowWidth;
        fit.height = fit.picture.top;
        return fit;
    }
    if (fit.picture.left >= 5 * fit.textPixels) {
        fit.left = margin;
        fit.top = margin;
        fit.width = fit.picture.left - 2 * margin;
        fit.height = windowHeight - 2 * margin;
        fit.wrapped = true;
        return fit;
    }
    fit.picture = fitPicture(windowWidth, std::max(0, windowHeight - line));
    fit.picture.top += line;
    fit.width = windowWidth;
    fit.height = line;
    return fit;
}

PictureFit openingSize(int availableWidth, int availableHeight) {
    if (availableWidth >= WindowWidth && availableHeight >= WindowHeight)
        return {0, 0, WindowWidth, WindowHeight, 1};
    PictureFit fit =
        fitPicture(std::min(availableWidth, WindowWidth), std::min(availableHeight, WindowHeight));
    fit.left = 0;
    fit.top = 0;
    return fit;
}

} // namespace orvanta
