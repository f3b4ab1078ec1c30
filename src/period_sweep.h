// SPDX-License-Identifier: GPL-3.0-or-later
// Passes over one whole period that leave Time as they found it: the automatic fits, the full
// plot and the drag preview, and any feature that needs the light or the positions at every
// sample of a run. Call these rather than saving and restoring Time by hand.
#pragma once

#include "form1.h"

namespace orvanta {

/// Runs `work` with Time kept: SavedTime = Time before it, Time = SavedTime after it. The
/// outputs of Main stay those of the last sample. A run-time error inside leaves Time where
/// the work left it, as every handler leaves what it changed. Not nested: SavedTime holds
/// one time.
template <class Work> void keepingTime(Form1& f, Work&& work) {
    f.SavedTime = f.Time;
    work();
    f.Time = f.SavedTime;
}

/// The period sweep (Main, then `body`, at Time = 0, Period / 793, ... up to Period) with
/// Time kept.
template <class Body> void sweepPeriod(Form1& f, Body&& body) {
    keepingTime(f, [&] { f.PeriodSweep(body); });
}

} // namespace orvanta
