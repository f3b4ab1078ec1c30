// SPDX-License-Identifier: GPL-3.0-or-later
// What the user is told about an observed file: the error of a file that cannot be used,
// and the rows that were skipped in one that could.
#pragma once

#include "render/observed_overlay.h"

#include <string>

namespace orvanta {

/// "Cannot use algol.txt:\nline 17: ...", for the error window.
std::string observedErrorText(const std::string& name, const std::string& what);

/// "algol.txt: 3 rows could not be read and were skipped (lines 17, 18 and 40).", or the
/// empty text when every row was read.
std::string observedSkippedText(const ObservedSet& set);

/// What was read of a file (ObservedSet::summary), the lines of the skipped rows, and the
/// key that shows its next band when it has several.
std::string observedSummaryText(const ObservedSet& set);

} // namespace orvanta
