// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/keyboard.h"

#include "form1.h"

#include <algorithm>
#include <array>

namespace orvanta {

namespace {

// Each menu label and the command its click gives.
struct MenuLabel {
    LabelCtl Controls::*label;
    Command command;
};
constexpr std::array<MenuLabel, 6> MenuLabels = {{
    {&Controls::Plot, Command::Plot},
    {&Controls::Play, Command::PlayStop},
    {&Controls::Simulate, Command::Step},
    {&Controls::Clear, Command::Clear},
    {&Controls::HideMenu, Command::HideMenu},
    {&Controls::About, Command::About},
}};

// Steps a second, slowest first.
constexpr std::array<int, 14> Paces = {1, 2, 3, 5, 10, 15, 20, 30, 45, 60, 90, 120, 180, 240};

} // namespace

const std::vector<KeyBinding>& keyBindings() {
    static const std::vector<KeyBinding> bindings = {
        {"Space", Command::PlayStop, true},
        {"Right", Command::Step, true},
        {"Ctrl+L", Command::Clear, false},
        {"Ctrl+H", Command::HideMenu, false},
        {"F1", Command::About, false},
        {"+", Command::Faster, true},
        {"=", Command::Faster, true}, // + without Shift on most layouts
        {"-", Command::Slower, true},
        {"F11", Command::FullScreen, false},
        {"Esc", Command::LeaveFullScreen, false},
        {"Ctrl+B", Command::ProjectorView, false},
    };
    return bindings;
}

std::optional<Command> commandOfMenuLabel(const Controls& window, const void* control) {
    for (const MenuLabel& m : MenuLabels)
        if (&(window.*m.label) == control) return m.command;
    return std::nullopt;
}

std::optional<Command> commandForKey(std::string_view keys) {
    for (const KeyBinding& b : keyBindings())
        if (b.keys == keys) return b.command;
    return std::nullopt;
}

bool leavesTheBox(std::string_view keys) {
    return keys == "Esc";
}

std::optional<Command> commandInBox(std::string_view keys, bool justPlotted) {
    if (justPlotted && keys == "Space") return Command::PlayStop;
    return std::nullopt;
}

void runCommand(Form1& form, Command command) {
    switch (command) {
    case Command::Plot:
        form.Run([&] { form.Plot_Click(); });
        break;
    case Command::PlayStop:
        form.Run([&] { form.Play_Click(); });
        break;
    case Command::Step:
        form.Run([&] { form.Simulate_Click(); });
        break;
    case Command::Clear:
        form.Run([&] { form.Clear_Click(); });
        break;
    case Command::HideMenu:
        form.Run([&] { form.HideMenu_Click(); });
        break;
    case Command::About:
        form.Run([&] { form.About_Click(); });
        break;
    case Command::ProjectorView:
        form.Run([&] { form.ToggleProjectorView(); });
        break;
    default:
        break;
    }
}

int fasterPace(int pace) {
    const auto next = std::upper_bound(Paces.begin(), Paces.end(), pace);
    return next == Paces.end() ? Paces.back() : *next;
}

int slowerPace(int pace) {
    const auto below = std::lower_bound(Paces.begin(), Paces.end(), pace);
    return below == Paces.begin() ? Paces.front() : *(below - 1);
}

int tickMilliseconds(int pace) {
    return 1000 / std::clamp(pace, Paces.front(), Paces.back());
}

} // namespace orvanta
