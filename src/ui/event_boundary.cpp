// SPDX-License-Identifier: GPL-3.0-or-later
// The event boundary: what a run-time error does once it reaches the handler's caller.
#include "form1.h"
#include "ui/error_hint.h"

namespace orvanta {

// The animation stops, the message is kept for the one error window, and the program goes
// on; what the handler changed before the fault stays changed.
void Form1::fail(const RuntimeError& e) {
    if (Timer1.Enabled) {
        Timer1.Enabled = false;
        Play.Caption = "Play";
    }
    ErrorNumber = e.number;
    ErrorText = errorText(e);
    ErrorHint = inputHint(*this, e.number);
    ++ErrorCount;
}

} // namespace orvanta
