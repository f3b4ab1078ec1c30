// SPDX-License-Identifier: GPL-3.0-or-later
// Run control: one step of time per timer tick or "Step" click, and the Play/Stop toggle.
// One run walks the orbit in IterationNo equal steps, then starts again at periastron.
#include "form1.h"

namespace orvanta {

void Form1::Timer1_Timer() {
    // Both comparisons are evaluated; with IterationNo <= 1 the first holds at every step,
    // so no step divides by IterationNo then.
    const bool runDone = StepNo >= IterationNo;
    const bool notStarted = StepNo <= 0;
    if (runDone || notStarted) {
        StepNo = 1;
        Time = 0;
    } else {
        // From the step number, not by adding to the last Time: repeated addition drifts
        // below the whole step and the floored read-outs then show one less than the step.
        StepNo = StepNo + 1;
        Time = StepTime(StepNo);
    }
    Main();
    Draw();
}

Num Form1::StepTime(const Num& Step) {
    return (Step - 1) * (Period / IterationNo);
}

bool Form1::AtShownStep() const {
    // The same operations as StepTime, unchecked: a step count of 0, no steps per period or a
    // period out of range only means that Time is not at a step.
    if (!(StepNo.value() >= 1) || IterationNo.value() == 0) return false;
    const double step = Period.value() / IterationNo.value();
    return (StepNo.value() - 1) * step == Time.value();
}

void Form1::Simulate_Click() {
    Timer1_Timer();
}

void Form1::Play_Click() {
    // Caption and timer are each toggled from their own state; they start consistent.
    Play.Caption = Play.Caption == "Play" ? "Stop" : "Play";
    Timer1.Enabled = !Timer1.Enabled;
}

} // namespace orvanta
