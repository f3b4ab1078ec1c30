// SPDX-License-Identifier: GPL-3.0-or-later
// The model as the subcommands that fit start it: the options of `orvanta curve` typed into
// a window object's boxes and read as Plot reads them.
#pragma once

#include "cli/curve_command.h"

#include <memory>
#include <string>

namespace orvanta {
class Form1;
}

namespace orvanta::cli {

/// A message of several lines on one line: each line break becomes ": ".
std::string oneLine(std::string s);

/// A window object with `request`'s options in its boxes, read as Plot reads them. Null, with
/// the text the error window would show in `error`, when the boxes are refused.
std::unique_ptr<Form1> modelFromOptions(const CurveRequest& request, std::string& error);

} // namespace orvanta::cli
