// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard table, the commands it runs and the animation's pace.
#include "ui/keyboard.h"

#include "loaded_form.h"

#include <gtest/gtest.h>

#include <set>

using namespace orvanta;
using orvanta::testing::loadedForm;

TEST(Keyboard, EveryMenuCommandHasAKeyAndNoKeyTwoCommands) {
    std::set<std::string_view> keys;
    std::set<Command> commands;
    for (const KeyBinding& b : keyBindings()) {
        EXPECT_TRUE(keys.insert(b.keys).second) << b.keys;
        commands.insert(b.command);
    }
    for (Command c :
         {Command::PlayStop, Command::Step, Command::Clear, Command::HideMenu, Command::About,
          Command::Faster, Command::Slower, Command::FullScreen, Command::LeaveFullScreen})
        EXPECT_EQ(commands.count(c), 1u) << static_cast<int>(c);
    EXPECT_EQ(commandForKey("Space"), Command::PlayStop);
    EXPECT_EQ(commandForKey("Right"), Command::Step);
    EXPECT_EQ(commandForKey("Ctrl+L"), Command::Clear);
    EXPECT_EQ(commandForKey("Ctrl+H"), Command::HideMenu);
    EXPECT_EQ(commandForKey("F1"), Command::About);
    EXPECT_EQ(commandForKey("+"), Command::Faster);
    EXPECT_EQ(commandForKey("-"), Command::Slower);
    EXPECT_EQ(commandForKey("F11"), Command::FullScreen);
    EXPECT_EQ(commandForKey("Esc"), Command::LeaveFullScreen);
    EXPECT_EQ(commandForKey("Left"), std::nullopt);
    EXPECT_EQ(commandForKey("Ctrl+Space"), std::nullopt);
}

TEST(Keyboard, KeysThatBoxesTypeWaitUntilNoBoxHasTheFocus) {
    for (const KeyBinding& b : keyBindings()) {
        const bool typed = b.keys == "Space" || b.keys == "Right" || b.keys == "+" ||
                           b.keys == "=" || b.keys == "-";
        EXPECT_EQ(b.onlyOutsideBoxes, typed) << b.keys;
    }
}

TEST(Keyboard, CommandsDoWhatTheirMenuLabelsDo) {
    auto f = loadedForm();
    runCommand(*f, Command::Step);
    EXPECT_EQ(f->StepNo.value(), 2);
    runCommand(*f, Command::PlayStop);
    EXPECT_TRUE(f->Timer1.Enabled);
    EXPECT_EQ(f->Play.Caption, "Stop");
    runCommand(*f, Command::PlayStop);
    EXPECT_FALSE(f->Timer1.Enabled);
    runCommand(*f, Command::HideMenu);
    EXPECT_EQ(f->HideMenu.Caption, "Show  Menu");
    runCommand(*f, Command::HideMenu);
    EXPECT_EQ(f->HideMenu.Caption, "Hide  Menu");
    runCommand(*f, Command::About);
    EXPECT_TRUE(f->Text15.Visible);
    f->PSet(300, 30, White);
    runCommand(*f, Command::Clear);
    EXPECT_EQ(orvanta::testing::countColour(*f, White), 0);
    f->Text7.Text = "5";
    runCommand(*f, Command::Plot);
    EXPECT_EQ(f->MassA.value(), 5);
}

TEST(Keyboard, AFaultIsShownAsForTheClick) {
    auto f = loadedForm();
    f->Text8.Text = "0";
    runCommand(*f, Command::Plot);
    EXPECT_EQ(f->ErrorCount, 1u);
    EXPECT_NE(f->ErrorText.find("Run-time error"), std::string::npos);
}

TEST(Pace, StepsFromOneTo240AndStopsAtTheEnds) {
    EXPECT_EQ(DefaultPace, 60);
    EXPECT_EQ(tickMilliseconds(DefaultPace), 16);
    int pace = DefaultPace;
    int presses = 0;
    while (pace < 240) {
        const int next = fasterPace(pace);
        ASSERT_GT(next, pace);
        pace = next;
        ++presses;
    }
    EXPECT_EQ(fasterPace(240), 240);
    EXPECT_EQ(presses, 4);
    while (pace > 1)
        pace = slowerPace(pace);
    EXPECT_EQ(slowerPace(1), 1);
    EXPECT_EQ(tickMilliseconds(1), 1000);
    EXPECT_EQ(tickMilliseconds(240), 4);
    // A pace between the ladder's rungs moves to the next rung.
    EXPECT_EQ(fasterPace(50), 60);
    EXPECT_EQ(slowerPace(50), 45);
    for (int p = 1; p <= 240; p = fasterPace(p)) {
        EXPECT_EQ(slowerPace(fasterPace(p)), p == 240 ? 180 : p);
        if (p == 240) break;
    }
}

TEST(Keyboard, EscapeLeavesABoxAndSpacePlaysRightAfterEnterHasPlotted) {
    EXPECT_TRUE(leavesTheBox("Esc"));
    EXPECT_FALSE(leavesTheBox("Return"));
    EXPECT_FALSE(leavesTheBox("Space"));
    EXPECT_EQ(commandInBox("Space", true), Command::PlayStop);
    EXPECT_EQ(commandInBox("Space", false), std::nullopt);
    // The other keys go on editing the box, also right after a plot.
    for (const char* keys : {"Right", "-", "+", "Backspace", "5"})
        EXPECT_EQ(commandInBox(keys, true), std::nullopt) << keys;
}
