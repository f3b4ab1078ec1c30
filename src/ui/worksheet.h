// SPDX-License-Identifier: GPL-3.0-or-later
// The worksheet a student hands in: the inputs, the fit of the observed points, the
// measurements with the cursors and the fit of the parameters, as rows of numbers. The
// window prints them in its PDF and saves them as CSV beside it.
#pragma once

#include "analysis/eclipse_measure.h"
#include "core/robust_stats.h"
#include "ui/window_controls.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvanta {

class Form1;

/// One number of the worksheet. Empty texts where a column does not apply.
struct WorksheetRow {
    std::string section;  ///< "Inputs", "Residuals", "Measurement", "Fit"
    std::string quantity; ///< what it is, as the panel names it
    std::string value;    ///< the number (or the box's text for an input)
    std::string error;    ///< its standard error, for a fitted parameter
    std::string model;    ///< what the model's parameters give, beside a measurement
    std::string unit;
};

/// A fitted parameter as the fit reports it.
struct FittedValue {
    std::string name;
    double value = 0;
    std::optional<double> error;
    std::string note; ///< why there is no error
};

/// A number as the panel and the worksheet show it: six significant digits, a point for
/// the decimals whatever the locale, "-" for a value that is not finite.
std::string figure(double value);

/// The inputs as typed in the boxes: each quantity of the table of inputs with its
/// caption, a star's light in the quantity its selector shows.
std::vector<WorksheetRow> inputRows(const Controls& c);

/// How far the observed points lie from the model, in `unit` ("mag" or "flux").
std::vector<WorksheetRow> residualRows(const RobustFigures& figures, const std::string& unit);

/// The cursors' readings beside the model's own figures.
std::vector<WorksheetRow> measurementRows(const analysis::Measurement& m,
                                          const analysis::ModelFigures& model);

/// The fitted parameters, their errors (or why there is none) and the fit's chi-square.
std::vector<WorksheetRow> fitRows(const std::vector<FittedValue>& values,
                                  std::optional<double> chi2Reduced);

/// Shows the window at each phase of the period in turn (Time moved there, the system
/// evaluated and drawn) and calls `shown` with the phase; then puts the state, the controls
/// and the drawing surface back as they were, whatever happened. Returns false, stopping
/// there, when the model raises a run-time error (nothing is kept of it).
bool atPhases(Form1& f, std::span<const double> phases, const std::function<void(double)>& shown);

/// The rows as CSV: a header, then one line each, fields quoted where they need it.
std::string worksheetCsv(const std::vector<WorksheetRow>& rows);

} // namespace orvanta
