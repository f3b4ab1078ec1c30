// SPDX-License-Identifier: GPL-3.0-or-later
#include "loaded_form.h"

#include <gtest/gtest.h>

#include <map>

using namespace orvanta;
using orvanta::testing::loadedForm;

namespace {

std::map<std::string, std::string> boxTexts(Form1& f) {
    std::map<std::string, std::string> texts;
    for (Control* c : f.stackingOrder())
        if (c->kind == Kind::TextBox) texts[c->Name] = static_cast<TextBoxCtl*>(c)->Text;
    return texts;
}

} // namespace

struct PlotFault {
    const char* box;
    const char* text;
};

class FaultInPlot : public ::testing::TestWithParam<PlotFault> {};

// An empty MeanDistance fails in the parameter input, a zero mass in the first fit.
TEST_P(FaultInPlot, IsShownOnceStopsTheAnimationAndKeepsTheBoxes) {
    const auto c = GetParam();
    auto f = loadedForm();
    f->Play_Click();
    f->Run([&] { f->Timer1_Timer(); });
    static_cast<TextBoxCtl*>(f->find(c.box))->Text = c.text;
    const auto typed = boxTexts(*f);
    const auto picture = f->pixels();

    f->Run([&] { f->Plot_Click(); });
    EXPECT_EQ(f->ErrorCount, 1u);
    EXPECT_EQ(f->ErrorNumber, 11);
    EXPECT_EQ(f->ErrorText, "Run-time error '11':\nDivision by zero");
    EXPECT_FALSE(f->Timer1.Enabled);
    EXPECT_EQ(f->Play.Caption, "Play");
    EXPECT_EQ(boxTexts(*f), typed);
    EXPECT_EQ(f->pixels(), picture); // no new picture

    // Mended, the next Plot draws again and raises nothing.
    static_cast<TextBoxCtl*>(f->find(c.box))->Text = c.box == std::string("Text1") ? "15" : "0.8";
    f->Run([&] { f->Plot_Click(); });
    EXPECT_EQ(f->ErrorCount, 1u);
    EXPECT_EQ(f->StepNo.value(), 1);
}

INSTANTIATE_TEST_SUITE_P(Inputs, FaultInPlot,
                         ::testing::Values(PlotFault{"Text1", ""}, PlotFault{"Text1", "SunRad"},
                                           PlotFault{"Text8", "0"}));

TEST(FaultOnATick, IsShownOnceAndStopsTheTimer) {
    auto f = loadedForm();
    f->Play_Click();
    for (int i = 0; i < 5; ++i)
        f->Run([&] { f->Timer1_Timer(); });
    ASSERT_EQ(f->ErrorCount, 0u);
    const auto typed = boxTexts(*f);
    f->MassB = 0; // as a drag could leave it: every further step fails in Main
    f->Run([&] { f->Timer1_Timer(); });
    EXPECT_EQ(f->ErrorCount, 1u);
    EXPECT_EQ(f->ErrorText, "Run-time error '11':\nDivision by zero");
    EXPECT_FALSE(f->Timer1.Enabled); // so no further tick arrives to fail again
    EXPECT_EQ(f->Play.Caption, "Play");
    EXPECT_EQ(boxTexts(*f), typed);
    EXPECT_EQ(f->StepNo.value(), 7); // the step had advanced before the fault
}

// The fits run; PlotNow then divides by IterationNo before it draws anything.
TEST(FaultInPlot, IterationNoZeroStopsBeforeDrawing) {
    auto f = loadedForm();
    f->Clear_Click();
    f->Text2.Text = "0";
    f->Run([&] { f->Plot_Click(); });
    EXPECT_EQ(f->ErrorCount, 1u);
    EXPECT_EQ(f->ErrorNumber, 11);
    EXPECT_EQ(f->Text2.Text, "0");
    EXPECT_EQ(f->Time.value(), 0);
    EXPECT_EQ(orvanta::testing::countColour(*f, Surface::Undrawn), Surface::W * Surface::H);
    EXPECT_EQ(f->Text13.Text, Str(f->GraphMag.value())); // written by the fit, by design
}
