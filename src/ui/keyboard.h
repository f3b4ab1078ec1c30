// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard: every command of the menu labels and of the window, the keys that give it,
// and the pace of the animation that + and - change.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace orvanta {

class Form1;
struct Controls;

enum class Command {
    Plot,       ///< as a click on "Plot"
    PlayStop,   ///< as a click on "Play" / "Stop"
    Step,       ///< as a click on "Step"
    Clear,      ///< as a click on "Clear"
    HideMenu,   ///< as a click on "Hide  Menu" / "Show  Menu"
    About,      ///< as a click on "About"
    Faster,     ///< the animation one pace faster
    Slower,     ///< the animation one pace slower
    FullScreen, ///< full screen on and off
    LeaveFullScreen,
    ProjectorView, ///< thick curves and cursor, each plot's curve in its own colour; on and off
};

/// One line of the keyboard table.
struct KeyBinding {
    std::string_view keys; ///< in Qt's portable text ("Ctrl+L", "Space", "Right", "F11")
    Command command;
    /// Keys that a focused box, list or check box uses itself (a space, a sign, the cursor
    /// keys) give the command only when no such control has the focus.
    bool onlyOutsideBoxes;
};

/// Every key binding, in the order of the README's keyboard table. Enter in a value box
/// plots as well; the box gives that command itself.
const std::vector<KeyBinding>& keyBindings();

/// The command of a key in portable text, if any.
std::optional<Command> commandForKey(std::string_view keys);

/// Whether a key pressed in a box, list or check box hands the focus back to the picture, so
/// that the keys used "outside a box" (Space, the arrows, + and -) work at once: Escape. The
/// box keeps its text for the next Plot.
bool leavesTheBox(std::string_view keys);

/// The command a key gives in a value box before the box's own use of it: right after Enter
/// has plotted (`justPlotted`, until the box is edited or left), Space plays, as a number
/// has no spaces; otherwise none.
std::optional<Command> commandInBox(std::string_view keys, bool justPlotted);

/// The command of a click on a menu label, if `control` is one.
std::optional<Command> commandOfMenuLabel(const Controls& window, const void* control);

/// Runs a command of the menu labels through the window's event boundary (an error is shown
/// as for the click). The window's own commands (pace, full screen) do nothing here.
void runCommand(Form1& form, Command command);

/// The animation's pace in steps a second: 60 at start, from 1 to 240 in steps.
inline constexpr int DefaultPace = 60;
int fasterPace(int pace);
int slowerPace(int pace);
/// The interval of the window's drive timer for a pace: whole milliseconds, rounded down
/// (16 ms at 60 steps a second). The model's own timer keeps its 1 ms.
int tickMilliseconds(int pace);

} // namespace orvanta
