// SPDX-License-Identifier: GPL-3.0-or-later
// The 794 x 568 window picture shown in a window of any size: scaled to fit with its aspect
// kept, centred between black bars; every position still reaches the model in picture pixels.
#pragma once

namespace orvanta {

/// Where the picture lies in a window (logical pixels, whole numbers) and at what scale.
struct PictureFit {
    int left = 0, top = 0, width = 0, height = 0;
    double scale = 1; ///< window pixels per picture pixel
};

/// The largest picture that fits a window of that size, aspect kept, centred (the odd pixel
/// of a bar goes below and to the right). An empty window gives an empty picture.
PictureFit fitPicture(int windowWidth, int windowHeight);

/// Whether a picture shown at this many device pixels per picture pixel is drawn smooth:
/// at whole-number scales every picture pixel is a sharp square, in between it is blended.
bool smoothAt(double devicePixelsPerPixel);

/// The whole pixel that contains a position in picture pixels, as the model's handlers take
/// a pointer: its left or top edge belongs to it, its right or bottom edge to the next.
double pixelUnderPointer(double position);

/// The picture pixel under a window position (fractional, logical pixels), as the model's
/// handlers take it: the whole pixel that contains the point.
double picturePixel(double windowPosition, int pictureOffset, double scale);

/// The picture in full screen, and where the window's title is shown there: the class sees
/// no title bar, so the title (the observed file and its fit) is written in the black bars.
struct FullScreenFit {
    PictureFit picture;
    int left = 0, top = 0, width = 0, height = 0; ///< the title's box, logical pixels
    int textPixels = 0;                           ///< the title's text height
    bool wrapped = false; ///< in a side bar, line by line; otherwise one line, centred
};

/// The title's text is a thirtieth of the screen's height (36 px on 1080 lines), never less
/// than 18 px. It goes into the bars above and below the picture when the top one holds a
/// line, else into the left bar when that is at least five text heights wide, else into a
/// one-line strip at the top that the picture makes room for.
FullScreenFit fullScreenFit(int windowWidth, int windowHeight);

/// The window's opening size on a screen whose free area is given (logical pixels): the
/// picture at scale 1, or smaller, aspect kept, when the screen is smaller than that.
PictureFit openingSize(int availableWidth, int availableHeight);

} // namespace orvanta
