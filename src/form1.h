// SPDX-License-Identifier: GPL-3.0-or-later
// The window object: its simulation state, its controls and its drawing surface, and every
// operation of the system as a member. Each operation is defined in the file of its
// subsystem (named beside each group below).
#pragma once

#include "core/sim_state.h"
#include "core/text_rules.h"
#include "core/velocity_data.h"
#include "physics/checked.h"
#include "physics/constants.h"
#include "physics/light_options.h"
#include "render/layout.h"
#include "render/observed_overlay.h"
#include "render/surface.h"
#include "ui/error_hint.h"
#include "ui/inputs.h"
#include "ui/window_controls.h"

#include <memory>
#include <new>
#include <optional>
#include <string>

namespace orvanta {

/// A number or nothing: what a conversion returns for an index it does not know
/// (and the temperature-to-magnitude row, which returns the empty text).
using Maybe = std::optional<Num>;

/// Empty reads as 0.
inline Num num(const Maybe& m) {
    return m ? *m : Num(0);
}
/// Empty writes as the empty text.
inline std::string text(const Maybe& m) {
    return m ? Str(m->value()) : std::string();
}
inline std::string text(const Num& n) {
    return Str(n.value());
}

/// Mouse codes of the window's handlers.
namespace mouse {
inline constexpr int Left = 1, Right = 2, Middle = 4; // Button
inline constexpr int Shift = 1, Ctrl = 2, Alt = 4;    // Shift
} // namespace mouse

/// A received power in W as the graph's quantity Index (0 power, 1 magnitude); nothing for
/// another Index.
Maybe powerToAll(const Num& Value, int Index);
/// The inverse of powerToAll.
Maybe allToPower(const Num& Value, int Index);
/// Star 'A' or 'B''s surface flux in W/m^2 from its boxes in quantity Index, on any state and
/// controls (Form1::AllToFluxA on the window's own).
Maybe starFlux(SimState& s, Controls& c, char star, int Index);
/// The parameter input of a plot on any state and controls: reads every box into the state
/// and derives Period, MeanMotion and MaxPowerSum; writes the period and full-light
/// read-outs. Form1::DataInput on the window's own; the light-curve table on a copy.
void readInputs(SimState& s, Controls& c);

class Form1 : public SimState, public Controls, public Surface {
public:
    Form1() = default;

    // ---- event boundary and pointer routing (ui/events.cpp) -----------------------------
    /// Runs one handler: a run-time error stops it there, stops the animation and is
    /// recorded for the error window; nothing else escapes.
    template <class Handler> void Run(Handler&& handler) {
        try {
            handler();
        } catch (const RuntimeError& e) {
            fail(e);
        } catch (const std::bad_alloc&) {
            fail(RuntimeError{7, "Out of memory"});
        } catch (...) {
            fail(RuntimeError{51, "Internal error"});
        }
        refreshObserved();
    }
    // The entry points of a view: each routes one user event or tick to its handler under
    // Run, so none of them throws. Positions in window pixels; button and modifier codes
    // as in `mouse`.

    /// The window's load event: defaults read, scales fitted, the first picture drawn.
    void Load();
    /// A press over the window: the control under it takes the pointer until every button
    /// is up; over the bare surface Form_MouseDown runs.
    void MouseDown(int button, int shift, double x, double y);
    /// Pointer movement; `buttons` is the set held. Without buttons it drives the menu hover.
    void MouseMove(int buttons, int shift, double x, double y);
    /// A release: ends the grab; a left release over the menu label that took the press
    /// clicks it.
    void MouseUp(int button, int shift, double x, double y);
    /// The second press of a double click: closes the credits, or counts as a press.
    void DoubleClick(int button, int shift, double x, double y);
    /// The user typed into a box; takes effect at the next Plot.
    void TextEdited(TextBoxCtl& box, const std::string& newText);
    /// The options of real stars set from their dialog: kept for this window only, then
    /// everything replotted as by Plot.
    void LightOptionsSet(const physics::LightOptions& options);
    /// The user moved a one-row list to `topIndex`; runs its scroll handler if it changed.
    void ListScrolled(ListBoxCtl& list, int topIndex);
    /// The user picked row `index` of a drop-down list; runs its click handler.
    void ComboPicked(ComboBoxCtl& combo, int index);
    /// The user clicked a check box: toggles Value between 1 and 0, runs its click handler.
    void CheckClicked(CheckBoxCtl& box);
    /// One tick of the animation timer; nothing while Timer1 is disabled.
    void TimerTick();
    /// A double click on the credits text: closes the credits.
    void CreditsDoubleClicked();
    /// The control that takes pointer events at (x, y), or nullptr for the bare surface
    /// (shapes and lines take none).
    Control* hitTest(double x, double y);
    /// The pointer shape at (x, y).
    Pointer pointerAt(double x, double y);

    // What the view shows after an entry point: the last error, if any.

    /// The last error, as the error window shows it ("Run-time error '11':\nDivision by zero").
    std::string ErrorText;
    int ErrorNumber = 0;
    /// A sentence below the error naming the box most likely at fault; may be empty.
    std::string ErrorHint;
    /// Grows by one with every error, so the view knows to show the window (again).
    unsigned ErrorCount = 0;

    // ---- numeric helpers (photometry/numeric_helpers.cpp, on physics/numeric.cpp) ---------
    // Raise a run-time error where the result would be a NaN or an infinity.
    Num acos(const Num& x); ///< radians, for -1 <= x <= 1
    Num pow(const Num& x, const Num& Y);
    Num sqrt(const Num& x);

    // ---- photometric conversions (photometry/conversions.cpp) ---------------------------
    // Index is a quantity selector's row: 0 flux (W/m^2), 1 luminosity (W), 2 temperature
    // (K), 3 absolute visual magnitude; for the graph 0 power (W), 1 magnitude.

    /// Star A's surface flux in W/m^2 from its boxes in quantity Index; the magnitude row
    /// also writes the derived radius into RadiusA and its box.
    Maybe AllToFluxA(int Index);
    Maybe AllToFluxB(int Index);
    /// A surface flux in W/m^2 as quantity Index of star A, rewriting the caption beside
    /// its value box.
    Maybe FluxToAllA(const Num& Value, int Index);
    Maybe FluxToAllB(const Num& Value, int Index);
    /// A received power in W as the graph's quantity Index.
    Maybe PowerToAll(const Num& Value, int Index);
    /// The inverse of PowerToAll.
    Maybe AllToPower(const Num& Value, int Index);

    // ---- star colour (photometry/star_colour.cpp) ----------------------------------------
    /// The colour value (0x00BBGGRR) of a star with this surface flux in W/m^2.
    Num Colour(const Num& Flux);

    // ---- quantity selectors and presets (photometry/selectors.cpp, presets.cpp) ---------
    /// Star A's selector moved: converts the value box to the new quantity.
    void List1_Scroll();
    void List2_Scroll();
    /// Star A's preset picked: fills and locks its boxes (the empty row unlocks them).
    void Combo1_Click();
    void Combo2_Click();

    // ---- parameter input (core/parameter_input.cpp) -------------------------------------
    /// Reads every box into the state and derives Period, MeanMotion and MaxPowerSum.
    void DataInput();

    // ---- evaluation, orbit and light (core/evaluation.cpp, on physics/orbit.cpp,
    //      kepler.cpp and eclipse_light.cpp) ------------------------------------------------
    /// The whole system at the instant Time: positions, depths and PowerSum. Draws nothing
    /// and never changes Time.
    void Main();
    /// Kepler's equation at Time, then both stars' view coordinates and depths.
    void OrbitStage();
    /// PowerSum in W from the projected discs; with an option of real stars on (the state's
    /// LightOptions, set by LightOptionsSet, never by the boxes), the star behind darkened to
    /// its limb and the third light added.
    void LightStage();
    // The eclipse cases of LightStage: partial; one disc within the other; nested with A
    // behind; nested with B behind.
    void ReferToSub1();
    void ReferToSub2();
    void ReferToSub3();
    void ReferToSub4();
    /// Counts Main calls, for tests and benchmarks that check the work done by counting.
    unsigned long long MainCalls = 0;

    // ---- start-up and replot (core/startup.cpp) -----------------------------------------
    void Form_Load();
    /// Time 0, the boxes read, the scales fitted if "Auto", the plot drawn over the last.
    void Plot_Click();
    /// Star view's "Auto" ticked: refits StarMag and replots.
    void Check2_Click();

    // ---- run control (core/run_control.cpp) ---------------------------------------------
    /// One step: StepNo and Time advance (wrapping to step 1 after IterationNo), then
    /// Main and Draw.
    void Timer1_Timer();
    /// "Step": one step, as a tick.
    void Simulate_Click();
    /// Toggles the animation timer and the caption "Play"/"Stop".
    void Play_Click();
    /// The time of step Step: (Step - 1) steps of Period / IterationNo. The run, a click on
    /// the graph and a replot all put Time there, so a step always has the same time.
    Num StepTime(const Num& Step);
    /// Whether Time is the time of the step the window shows (StepNo); never raises.
    [[nodiscard]] bool AtShownStep() const;

    // ---- star view (render/star_view.cpp) -----------------------------------------------
    /// Sizes the star shapes (StarMag px per solar radius) and colours them by flux.
    void Initialize();
    /// Moves every mark to the current evaluation: DrawStars, then DrawGraph.
    void Draw();
    /// Places the star discs; star B's shape above or below A's by depth.
    void DrawStars();
    /// Places the centre-of-mass mark at (CentreX, CentreY).
    void PlaceCentre();
    /// Fits StarMag and CentreX so one period's sweep spans the window's width; writes
    /// Text14. Time is kept.
    void AutoStarMag();

    // ---- light-curve graph (render/light_curve.cpp) -------------------------------------
    /// Snaps Time to a whole step, places the marks, and draws one period's curve and
    /// orbit traces onto the surface (over what is there). Time is kept.
    void PlotNow();
    /// Moves the time cursor, the red dot and the read-outs to the current evaluation.
    void DrawGraph();
    /// Moves the time axis and its ticks to row Axis (px).
    void MoveAxis(const Num& Axis);
    /// Puts the time labels in the two label rows above GraphBottom.
    void PlaceTimeLabels();
    /// Clears the surface: the curves and traces go, the marks stay.
    void Clear_Click();
    /// The projector view on or off: curves, traces and the time cursor three pixels wide,
    /// and each new plot's curve in the next colour of ProjectorCurveColours. Off (as at
    /// start), every pixel is drawn as without it.
    void ToggleProjectorView();
    bool ProjectorView = false;
    /// Plots drawn in the projector view, which picks the next curve's colour.
    int ProjectorPlots = 0;

    // ---- graph scaling (render/graph_scaling.cpp) ---------------------------------------
    /// Fits GraphMag, GraphBase and the axis to one period's light in the shown mode;
    /// writes Text13. Time is kept.
    void AutoGraphMag();
    /// The fixed scale of the shown mode, for "Auto" unticked: GraphBase 0; in power mode
    /// 0 W at AxisY and MaxPowerSum at GraphTop; in magnitude mode AxisY at mid-height and
    /// the larger magnitude extreme of the last sweep at an edge. Moves no mark.
    void ManualGraphScale();
    /// The graph's quantity changed (power or magnitude): captions, scale, replot.
    void List3_Scroll();
    /// The graph's "Auto" toggled: the fitted or the fixed scale, replot.
    void Check1_Click();

    /// The period sweep: Time from 0 in steps of Period / 793 while it does not exceed
    /// Period, by repeated addition; Main runs before the body at each sample. Time is left
    /// past the end: sweepPeriod (period_sweep.h) is the pass that keeps it.
    template <class Body> void PeriodSweep(Body&& body) {
        const Num step = Period / GraphSpan;
        const Num limit = Period;
        observed.beginCurve();
        for (Time = 0; Time <= limit; Time = Time + step) {
            Main();
            observed.curveSample(Time.value(), PowerSum.value());
            body();
            if (step == 0) break; // a period below the double range: one sample, not a hang
        }
        observed.endCurve();
    }

    // ---- observed light curve (render/observed_overlay.cpp, render/observed_fit.cpp) ---
    /// The observed points over the graph; the model curve of every whole-period sweep
    /// (plot, fit, drag preview) is handed to it sample by sample.
    ObservedOverlay observed;
    /// Brings the observed points and their fit up to date with the graph; never raises.
    /// Runs after every handler.
    void refreshObserved();
    /// What the graph shows now, as the observed points are placed on it (for a sample
    /// taken off the event loop); nothing drawable when no points are shown and `always`
    /// is false.
    ObservedOverlay::Graph observedGraph(bool always = false);
    /// Said after the observed points' caption in the title, such as "period 2.8673 d found
    /// in the data" (ui/found_period.h); empty for a file with its own period.
    std::string observedNote;
    /// Radial velocities opened beside the light curve (core/velocity_data.h), or none.
    std::shared_ptr<const VelocitySet> velocities;
    /// Said of them in the title, such as "rv.txt: 24 velocities, M_A 3.6 ± 0.2, M_B 0.80 ±
    /// 0.05 M☉": the view sets it from the fit of the velocities with the model's orbit.
    std::string velocityCaption;
    /// The window's title: "Orvanta", or "Orvanta — algol.txt: 412 points, rms 0.031 mag".
    [[nodiscard]] std::string windowTitle() const;

    // ---- mouse drag control (ui/mouse_drag.cpp) -----------------------------------------
    void Form_MouseDown(int Button, int Shift, float x, float Y);
    void Form_MouseMove(int Button, int Shift, float x, float Y);
    void Form_MouseUp(int Button, int Shift, float x, float Y);
    /// The step under column x (px) becomes StepNo; Time follows; Main and Draw.
    void TimeJump(float x);
    /// Clears the surface and dots one run's traces and curve in white. Time is kept.
    void DragPreview();
    /// Dotted, unfilled star outlines; Dragging; the preview.
    void DragStart();
    /// Main, Draw, then the preview, after a drag changed the orbit.
    void DragUpdate();

    // ---- what a student can act on (ui/error_hint.cpp) ----------------------------------
    /// Notes in every box a plot reads what its text is read as, where the number rule
    /// ignores part of it ("3,59" is read as 3); the view shows the note beside the box.
    void NoteWhatIsRead();

    // ---- side panels and credits box (ui/side_panels.cpp) -------------------------------
    /// Folds the panels away (graph down to row 560) or brings them back; rescales and
    /// replots.
    void HideMenu_Click();
    /// With the panels hidden, shows the menu only while (x, Y) is in the corner below it.
    void MenuHover(float x, float Y);
    /// Opens the credits (text and picture).
    void About_Click();
    void Text15_DblClick(); ///< closes the credits
    void Image2_DblClick(); ///< closes the credits

private:
    void fail(const RuntimeError& e);
    Control* grab_ = nullptr; ///< control that took the press; nullptr for the bare surface
    bool grabbed_ = false;    ///< a button is held since a press
    int buttonsDown_ = 0;
};

} // namespace orvanta
