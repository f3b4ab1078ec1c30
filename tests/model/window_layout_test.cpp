// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/version.h"
#include "model_fixture.h"

#include <set>
#include <string>

using namespace orvanta;

class WindowLayout : public orvanta::testing::ModelTest {};

TEST_F(WindowLayout, HiddenAtStart) {
    std::set<std::string> hidden;
    for (const Control* c : f.stackingOrder())
        if (!c->Visible) hidden.insert(c->Name);
    EXPECT_EQ(hidden,
              (std::set<std::string>{"Text15", "Text16", "Text17", "Label41", "Label42", "Label43",
                                     "Label44", "Image2", "StarBTop", "StarBBottom"}));
}

TEST_F(WindowLayout, InitialStateOfTheInputs) {
    EXPECT_EQ(f.Check1.Value, 1);
    EXPECT_EQ(f.Check2.Value, 1);
    EXPECT_EQ(f.Combo1.Text(), "");
    EXPECT_EQ(f.Combo2.Items.size(), 15u);
    EXPECT_FALSE(f.Timer1.Enabled);
    EXPECT_EQ(f.Timer1.Interval, 1);
    EXPECT_EQ(f.HideMenu.Caption, "Hide  Menu");
    EXPECT_EQ(f.Simulate.Caption, "Step");
    EXPECT_EQ(f.List1.Items[3], "AbsVisMagA =");
    EXPECT_EQ(f.List3.Items[1], "Min Abs Mag Sum =");
    EXPECT_DOUBLE_EQ(f.List1.Left, 16.0 / 3);
    EXPECT_DOUBLE_EQ(f.Check2.Width, 142.0 / 3);
    EXPECT_EQ(f.Text5.Text, "-7.69");
    EXPECT_EQ(f.Text13.Text, "3E-26");
}

TEST_F(WindowLayout, StackingOrderPutsStarBAroundStarA) {
    EXPECT_LT(f.StarBTop.Stack, f.StarA.Stack);
    EXPECT_LT(f.StarA.Stack, f.StarBBottom.Stack);
    EXPECT_LT(f.Plot.Stack, f.Label49.Stack);
    EXPECT_LT(f.Image2.Stack, f.Label29.Stack);
    EXPECT_LT(f.RedDot.Stack, f.Centre.Stack);
    EXPECT_EQ(f.stackingOrder().front(), &f.Text15);
    EXPECT_EQ(f.stackingOrder().back(), &f.Label49);
}

TEST_F(WindowLayout, AxisMarks) {
    const double ticks[] = {0, 0, 396, 158, 237, 317, 79, 475, 555, 634, 713};
    for (int i = 2; i <= 10; ++i) {
        EXPECT_EQ(f.Line1[i].X1, ticks[i]) << i;
        EXPECT_EQ(f.Line1[i].Y2 - f.Line1[i].Y1, i == 2 ? 16 : 8) << i;
    }
    EXPECT_EQ(f.Line1[1].X2, 794);
    EXPECT_EQ(f.Line1[1].Y1, 351);
}

TEST_F(WindowLayout, TabOrderAndPointers) {
    const auto order = f.tabOrder();
    ASSERT_EQ(order.size(), 23u);
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(order[i]->TabIndex, int(i)) << i;
    EXPECT_EQ(f.Text15.TabIndex, -1);
    EXPECT_EQ(f.Plot.MousePointer, Pointer::UpArrow);
    EXPECT_EQ(f.Text7.MousePointer, Pointer::IBeam);
    EXPECT_EQ(f.Label49.MousePointer, Pointer::Arrow);
}

TEST_F(WindowLayout, CreditsTextHasItsCloseHint) {
    EXPECT_EQ(f.Text15.Text.rfind("\r\n<Double Click This Box to Close>\r\n\r\n", 0), 0u);
    EXPECT_EQ(f.Text15.Text.substr(f.Text15.Text.size() - 2), "\r\n");
    EXPECT_NE(f.Text15.Text.find("@example.org"), std::string::npos);
}

TEST_F(WindowLayout, CreditsSayWhereTheKeyboardCommandsAreListed) {
    EXPECT_NE(f.Text15.Text.find("Keyboard commands: see \"Keyboard\"\r\nin README.md"),
              std::string::npos);
}

// The credits name the licence and, under "Last Updated:", the version and release date
// the build was configured with; no placeholder names.
TEST_F(WindowLayout, CreditsCarryLicenceVersionAndReleaseDate) {
    const std::string& text = f.Text15.Text;
    EXPECT_NE(text.find("\r\nLicence: GNU GPL, version 3 or later\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Programmer One"), std::string::npos);
    const std::string iso = orvanta::ReleaseDate;
    ASSERT_EQ(iso.size(), 10u);
    const std::string months[] = {"January",   "February", "March",    "April",
                                  "May",       "June",     "July",     "August",
                                  "September", "October",  "November", "December"};
    const std::string expected = std::string("\r\nLast Updated:\r\nVersion ") + orvanta::Version +
                                 ", " + std::to_string(std::stoi(iso.substr(8))) + ' ' +
                                 months[std::stoi(iso.substr(5, 2)) - 1] + ' ' + iso.substr(0, 4) +
                                 "\r\n\r\n";
    EXPECT_NE(text.find(expected), std::string::npos) << text;
}

TEST_F(WindowLayout, ShapesRefuseNegativeSizes) {
    EXPECT_EQ(orvanta::testing::errorOf([&] { f.StarA.SetWidth(-1); }), 380);
    EXPECT_EQ(f.StarA.Width, 105);
}

class EventBoundary : public orvanta::testing::ModelTest {};

TEST_F(EventBoundary, AnErrorStopsTheHandlerAndTheAnimation) {
    f.Timer1.Enabled = true;
    f.Play.Caption = "Stop";
    bool after = false;
    f.Run([&] {
        f.Text1.Text = "changed";
        (void)(Num(1) / Num(0));
        after = true;
    });
    EXPECT_FALSE(after);
    EXPECT_EQ(f.Text1.Text, "changed");
    EXPECT_FALSE(f.Timer1.Enabled);
    EXPECT_EQ(f.Play.Caption, "Play");
    EXPECT_EQ(f.ErrorText, "Run-time error '11':\nDivision by zero");
    EXPECT_EQ(f.ErrorCount, 1u);
    f.Run([&] { f.sqrt(-1); });
    EXPECT_EQ(f.ErrorText, "Run-time error '5':\nInvalid procedure call or argument");
    EXPECT_EQ(f.ErrorCount, 2u);
}

TEST_F(EventBoundary, AStoppedAnimationKeepsItsCaption) {
    f.Play.Caption = "Play";
    f.Run([&] { f.StarA.SetHeight(-2); });
    EXPECT_EQ(f.ErrorText, "Run-time error '380':\nInvalid property value");
    EXPECT_EQ(f.Play.Caption, "Play");
}

TEST_F(EventBoundary, NoOtherExceptionEscapes) {
    f.Run([] { throw std::bad_alloc(); });
    EXPECT_EQ(f.ErrorNumber, 7);
    f.Run([] { throw 42; });
    EXPECT_EQ(f.ErrorNumber, 51);
}
