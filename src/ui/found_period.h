// SPDX-License-Identifier: GPL-3.0-or-later
// The period of an observed light curve that came without one, found in its times: when
// the window searches, what it folds on, and what it says.
#pragma once

#include "analysis/period_search.h"
#include "render/observed_overlay.h"

#include <optional>
#include <string>

namespace orvanta {

/// Whether the window searches a set for its period: times in days and no period given
/// (a file's own "# period" line is always used).
bool needsPeriodSearch(const ObservedSet& set);

/// A period found in the data and the one of its two candidates in use.
struct FoundPeriod {
    analysis::PeriodResult result;
    bool alternativeInUse = false;

    /// Days: the period found, or the alternative when switched to it.
    [[nodiscard]] double periodDays() const;
    /// Whether there is a second candidate to switch to.
    [[nodiscard]] bool uncertain() const { return result.alternativeDays.has_value(); }
    /// Switches to the other candidate; false when there is none.
    bool switchCandidate();
    /// What the window says: "period 2.8673 d found in the data", and when another period
    /// fits about as well, ", or 1.4337 d (Ctrl+Alt+P)".
    [[nodiscard]] std::string note() const;
};

/// Searches the set's times and magnitudes over the default range. Throws
/// analysis::PeriodSearchError, or analysis::PeriodSearchCancelled through `progress`.
FoundPeriod findPeriodOf(const ObservedSet& set, const analysis::SearchProgress& progress = {});

/// The set with the period in use and the epoch found, ready to be folded.
void applyFoundPeriod(ObservedSet& set, const FoundPeriod& found);

/// The message when no period could be found: "No period found in twins.csv:\n<why>".
std::string periodNotFoundText(const std::string& name, const std::string& why);

} // namespace orvanta
