// SPDX-License-Identifier: GPL-3.0-or-later
// The window object: its simulation state, its controls and its drawing surface, and every
// operation of the system as a member. Each operation is defined in the file of its
// subsystem (named beside each group below).
#pragma once

#include "core/checked.h"
#include "core/sim_state.h"
#include "core/text_rules.h"
#include "render/surface.h"
#include "ui/window_controls.h"

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

/// Physical constants, each used with exactly this value.
inline constexpr double SunRad = 695990000;       // metres
inline constexpr double AstroUnit = 149597900000; // metres
inline constexpr double DaysPerYear = 365.2425;
inline constexpr double PiLiteral = 3.14159265358979; // as typed; not the nearest double to pi

/// Mouse codes of the window's handlers.
namespace mouse {
inline constexpr int Left = 1, Right = 2, Middle = 4; // Button
inline constexpr int Shift = 1, Ctrl = 2, Alt = 4;    // Shift
} // namespace mouse

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
    }
    void Load();
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int buttons, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void DoubleClick(int button, int shift, double x, double y);
    void TextEdited(TextBoxCtl& box, const std::string& newText);
    void ListScrolled(ListBoxCtl& list, int topIndex);
    void ComboPicked(ComboBoxCtl& combo, int index);
    void CheckClicked(CheckBoxCtl& box);
    void TimerTick();
    void CreditsDoubleClicked();
    /// The control that takes pointer events at (x, y), or nullptr for the bare surface
    /// (shapes and lines take none).
    Control* hitTest(double x, double y);
    /// The pointer shape at (x, y).
    Pointer pointerAt(double x, double y);

    /// The last error, as the error window shows it ("Run-time error '11':\nDivision by zero").
    std::string ErrorText;
    int ErrorNumber = 0;
    /// A sentence below the error naming the box most likely at fault; may be empty.
    std::string ErrorHint;
    /// Grows by one with every error, so the view knows to show the window (again).
    unsigned ErrorCount = 0;

    // ---- numeric helpers (photometry/numeric_helpers.cpp) -------------------------------
    Num acos(const Num& x);
    Num pow(const Num& x, const Num& Y);
    Num sqrt(const Num& x);

    // ---- photometric conversions (photometry/conversions.cpp) ---------------------------
    Maybe AllToFluxA(int Index);
    Maybe AllToFluxB(int Index);
    Maybe FluxToAllA(const Num& Value, int Index);
    Maybe FluxToAllB(const Num& Value, int Index);
    Maybe PowerToAll(const Num& Value, int Index);
    Maybe AllToPower(const Num& Value, int Index);

    // ---- star colour (photometry/star_colour.cpp) ----------------------------------------
    Num Colour(const Num& Flux);

    // ---- quantity selectors and presets (photometry/selectors.cpp, presets.cpp) ---------
    void List1_Scroll();
    void List2_Scroll();
    void Combo1_Click();
    void Combo2_Click();

    // ---- parameter input (core/parameter_input.cpp) -------------------------------------
    void DataInput();

    // ---- evaluation, orbit and light (core/evaluation.cpp, orbit_geometry.cpp,
    //      eclipse_light.cpp) ---------------------------------------------------------------
    void Main();
    void OrbitStage();
    void LightStage();
    void ReferToSub1();
    void ReferToSub2();
    void ReferToSub3();
    void ReferToSub4();
    /// Counts Main calls, for tests and benchmarks that check the work done by counting.
    unsigned long long MainCalls = 0;

    // ---- start-up and replot (core/startup.cpp) -----------------------------------------
    void Form_Load();
    void Plot_Click();
    void Check2_Click();

    // ---- run control (core/run_control.cpp) ---------------------------------------------
    void Timer1_Timer();
    void Simulate_Click();
    void Play_Click();

    // ---- star view (render/star_view.cpp) -----------------------------------------------
    void Initialize();
    void Draw();
    void DrawStars();
    void PlaceCentre();
    void AutoStarMag();

    // ---- light-curve graph (render/light_curve.cpp) -------------------------------------
    void PlotNow();
    void DrawGraph();
    void MoveAxis(const Num& Axis);
    void Clear_Click();

    // ---- graph scaling (render/graph_scaling.cpp) ---------------------------------------
    void AutoGraphMag();
    void List3_Scroll();
    void Check1_Click();

    /// The period sweep: Time from 0 in steps of Period / 793 while it does not exceed
    /// Period, by repeated addition; Main runs before the body at each sample.
    template <class Body> void PeriodSweep(Body&& body) {
        const Num step = Period / 793;
        const Num limit = Period;
        for (Time = 0; Time <= limit; Time = Time + step) {
            Main();
            body();
            if (step == 0) break; // a period below the double range: one sample, not a hang
        }
    }

    // ---- mouse drag control (ui/mouse_drag.cpp) -----------------------------------------
    void Form_MouseDown(int Button, int Shift, float x, float Y);
    void Form_MouseMove(int Button, int Shift, float x, float Y);
    void Form_MouseUp(int Button, int Shift, float x, float Y);
    void TimeJump(float x);
    void DragPreview();
    void DragStart();
    void DragUpdate();

    // ---- side panels and credits box (ui/side_panels.cpp) -------------------------------
    void HideMenu_Click();
    void MenuHover(float x, float Y);
    void About_Click();
    void Text15_DblClick();
    void Image2_DblClick();

private:
    void fail(const RuntimeError& e);
    std::string grab_;     ///< control that took the press; "Form1" for the surface
    bool grabbed_ = false; ///< a button is held since a press
    int buttonsDown_ = 0;
};

} // namespace orvanta
