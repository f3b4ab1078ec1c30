// SPDX-License-Identifier: GPL-3.0-or-later
// The window's automatic fit (Ctrl+F): what its dialog offers and ticks, the fit's start
// from the window's boxes and the observed points shown, the fitted values written back as
// typing them and clicking Plot would, and one level of undo.
#pragma once

#include "fit/least_squares.h"
#include "physics/light_options.h"

#include <string>
#include <vector>

namespace orvanta {
class Form1;
}

namespace orvanta::fit {

/// The parameters the dialog ticks at the first fit of a session.
std::vector<std::string> defaultWindowFree();

/// Why the window cannot fit now (no observed light curve shown), or empty.
std::string cannotFitWhy(const Form1& f);

/// A fit of the observed points shown over the window's graph, copied from the window so that
/// it can run on another thread while the window goes on.
struct WindowFit {
    std::vector<std::string> free;
    BoxModel model;
    Observations data;
    std::vector<double> start;
};

/// The fit of the points shown, from the values in the boxes, in the unit the graph shows
/// (magnitudes or relative flux), folded as the window folds them. Raises FitError (no
/// points shown, nothing ticked, boxes Plot cannot read, a radius the magnitude row derives).
WindowFit windowFit(const Form1& f, const std::vector<std::string>& free);

/// What a fit changed in the window, as it was before.
struct BoxesBefore {
    std::vector<std::string> texts; ///< every input box, in the order of boxesOfTheInputs
    int rowA = 0, rowB = 0, previousA = 0, previousB = 0;
    std::string captionA, captionB; ///< the captions beside the light boxes
    physics::LightOptions light;
};

/// Puts the fitted values into the window's boxes (a star's selector moved to the
/// temperature row where its temperature was fitted) and the options of the light, and
/// plots: under the window's event boundary, so a run-time error shows as any other.
/// Returns what the window held before, for undoFit.
BoxesBefore applyFit(Form1& f, const WindowFit& fit, const FitResult& result);
/// Puts back what the window held before a fit, and plots.
void undoFit(Form1& f, const BoxesBefore& before);

/// The short result for the window: the figures of the fit, each parameter with its error
/// or the note why it has none, and the way back.
std::string fitSummary(const WindowFit& fit, const FitResult& result);

} // namespace orvanta::fit
