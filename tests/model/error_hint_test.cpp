// SPDX-License-Identifier: GPL-3.0-or-later
// Errors a student can act on: the sentence that names the box at fault, and the note of a
// box whose text the number rule read only in part.
#include "ui/error_hint.h"

#include "loaded_form.h"

#include <gtest/gtest.h>

using namespace orvanta;
using orvanta::testing::loadedForm;

// ---- what the number rule read ---------------------------------------------------------------

struct Reading {
    const char* text;
    size_t length;
    const char* note;
};

class ReadInPart : public ::testing::TestWithParam<Reading> {};

TEST_P(ReadInPart, NotesWhatWasReadWhereTextWasIgnored) {
    const Reading& r = GetParam();
    EXPECT_EQ(ValLength(r.text), r.length) << r.text;
    EXPECT_EQ(readAsNote(r.text), r.note) << r.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadInPart,
    ::testing::Values(Reading{"3,59", 1, "read as 3 (\",59\" ignored; the decimal point is \".\")"},
                      Reading{"2 kg", 2, "read as 2 (\"kg\" ignored)"},
                      Reading{"abc", 0, "read as 0 (\"abc\" ignored)"},
                      Reading{"1.2.3", 3, "read as 1.2 (\".3\" ignored)"},
                      Reading{"-", 0, "read as 0 (\"-\" ignored)"}, Reading{"3.59", 4, ""},
                      Reading{" 12 ", 4, ""}, Reading{"", 0, ""}, Reading{"   ", 0, ""},
                      Reading{"1D5", 3, ""}, Reading{"&HFF", 4, ""}, Reading{"-7.69", 5, ""},
                      Reading{"5.7E-08", 7, ""},
                      // Too large to read: the plot raises the overflow instead.
                      Reading{"1E999x", 5, ""}));

TEST(ReadInPart, APlotNotesEveryBoxItReadsAndAnEditClearsTheNote) {
    auto f = loadedForm();
    f->Text7.Text = "3,59";
    f->Text1.Text = "15 SunRad";
    f->Plot_Click();
    EXPECT_EQ(f->MassA.value(), 3); // the number rule as before
    EXPECT_EQ(shownNote(f->Text7), "read as 3 (\",59\" ignored; the decimal point is \".\")");
    EXPECT_EQ(shownNote(f->Text1), "read as 15 (\"SunRad\" ignored)");
    EXPECT_EQ(shownNote(f->Text8), "");
    f->TextEdited(f->Text7, "3,5");
    EXPECT_EQ(shownNote(f->Text7), "");
    f->TextEdited(f->Text7, "3,59");
    EXPECT_EQ(shownNote(f->Text7), ""); // until the next plot reads it
    // A value the program writes into the box ends the note too.
    f->Text1.Text = "16";
    EXPECT_EQ(shownNote(f->Text1), "");
}

// ---- the box at fault --------------------------------------------------------------------------

struct Fault {
    const char* box;
    const char* text;
    const char* hint;
};

void PrintTo(const Fault& f, std::ostream* os) {
    *os << f.box << "=\"" << f.text << "\"";
}

class BoxAtFault : public ::testing::TestWithParam<Fault> {};

TEST_P(BoxAtFault, IsNamedBelowTheErrorWithWhatItAccepts) {
    auto f = loadedForm();
    ASSERT_EQ(f->ErrorCount, 0u);
    auto* box = static_cast<TextBoxCtl*>(f->find(GetParam().box));
    ASSERT_NE(box, nullptr);
    box->Text = GetParam().text;
    f->Run([&] { f->Plot_Click(); });
    ASSERT_EQ(f->ErrorCount, 1u) << "no error to explain";
    EXPECT_EQ(f->ErrorText.rfind("Run-time error '", 0), 0u); // the first lines as before
    EXPECT_EQ(f->ErrorHint, GetParam().hint);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, BoxAtFault,
    ::testing::Values(
        Fault{"Text8", "0", "MassB / SunMass is 0: type a mass above 0."},
        Fault{"Text8", "", "MassB / SunMass is empty: type a mass above 0."},
        Fault{"Text7", "-3.59", "MassA / SunMass is -3.59: type a mass above 0."},
        Fault{"Text7", "heavy", "MassA / SunMass is not a number: type a mass above 0."},
        Fault{"Text1", "", "MeanDistance / SunRad is empty: type a distance above 0."},
        Fault{"Text1", "-15", "MeanDistance / SunRad is -15: type a distance above 0."},
        Fault{"Text3", "1.5", "Eccen (-1<e<1) is 1.5: type a number above -1 and below 1."},
        Fault{"Text3", "-1", "Eccen (-1<e<1) is -1: type a number above -1 and below 1."},
        Fault{"Text2", "0", "IterationNo is 0: type a number of steps from 1 to 32766."},
        Fault{"Text2", "", "IterationNo is empty: type a number of steps from 1 to 32766."},
        Fault{"Text9", "-2.88", "RadiusA / SunRad is -2.88: type a radius above 0."},
        // Values of the right sign that the calculation cannot use: found by trial.
        Fault{"Text7", "1e400",
              "MassA / SunMass is 1e400, too large to calculate with: type a smaller mass."},
        Fault{"Text1", "1e400",
              "MeanDistance / SunRad is 1e400, too large to calculate with: "
              "type a smaller distance."},
        Fault{"Text9", "1e300",
              "RadiusA / SunRad is 1e300, too large to calculate with: type a smaller radius."},
        Fault{"Text8", "1e-320",
              "MassB / SunMass is 1e-320, too small to calculate with: type a larger mass."}));

TEST(BoxAtFault, ALightImpossibleForItsRowIsNamedByTheRow) {
    auto f = loadedForm();
    f->ListScrolled(f->List1, 1); // luminosity
    ASSERT_EQ(f->ErrorCount, 0u);
    f->Text11.Text = "-5";
    f->Run([&] { f->Plot_Click(); });
    ASSERT_EQ(f->ErrorCount, 1u);
    EXPECT_EQ(f->ErrorHint, "LuminosityA / W is -5: type a luminosity of 0 or more.");
}

// Star B's light on another row keeps only its own box out of the trial.
TEST(BoxAtFault, AMassIsFoundWhateverRowStarBsLightIsOn) {
    auto f = loadedForm();
    f->ListScrolled(f->List2, 1); // luminosity
    ASSERT_EQ(f->ErrorCount, 0u);
    f->Text7.Text = "1e400";
    f->Run([&] { f->Plot_Click(); });
    ASSERT_EQ(f->ErrorCount, 1u);
    EXPECT_EQ(f->ErrorHint,
              "MassA / SunMass is 1e400, too large to calculate with: type a smaller mass.");
}

// The scales are read as typed whether their Auto is ticked or not (the fit replaces them
// only after): a value the calculation cannot use is named either way.
TEST(BoxAtFault, AScaleIsFoundByTrialWithOrWithoutItsAuto) {
    for (const int autoScale : {0, 1}) {
        auto f = loadedForm();
        f->Check1.Value = autoScale;
        f->Text13.Text = "1e400";
        f->Run([&] { f->Plot_Click(); });
        ASSERT_GE(f->ErrorCount, 1u);
        EXPECT_EQ(f->ErrorHint, "GraphMag / (Px/W) is 1e400, too large to calculate with: type a "
                                "smaller graph scale.")
            << autoScale;
        auto g = loadedForm();
        g->Check2.Value = autoScale;
        g->Text14.Text = "1e400";
        g->Run([&] { g->Plot_Click(); });
        ASSERT_GE(g->ErrorCount, 1u);
        EXPECT_EQ(g->ErrorHint, "StarMag / (Px/SunRad) is 1e400, too large to calculate with: "
                                "type a smaller star scale.")
            << autoScale;
    }
}

// A number too large to read is too large whether or not it has a decimal digit.
TEST(BoxAtFault, AHexadecimalNumberTooLargeToReadIsTooLarge) {
    auto f = loadedForm();
    f->Text7.Text = "&HFFFFFFFFFF";
    f->Run([&] { f->Plot_Click(); });
    ASSERT_GE(f->ErrorCount, 1u);
    EXPECT_EQ(f->ErrorHint,
              "MassA / SunMass is &HFFFFFFFFFF, too large to calculate with: type a smaller mass.");
}

TEST(BoxAtFault, TheTemperatureEmptiedForTheMagnitudeRowIsNamed) {
    auto f = loadedForm();
    f->ListScrolled(f->List2, 1);
    f->ListScrolled(f->List2, 2);
    f->ListScrolled(f->List2, 3); // the magnitude row empties the temperature box on purpose
    ASSERT_EQ(f->Text17.Text, "");
    f->Run([&] { f->Plot_Click(); });
    ASSERT_GE(f->ErrorCount, 1u);
    EXPECT_EQ(f->ErrorHint,
              "TemperatureB / K is empty: type the star's temperature in K beside its magnitude.");
}

TEST(BoxAtFault, TwoDarkStarsAreNamedTogether) {
    auto f = loadedForm();
    f->Text11.Text = "0";
    f->Text12.Text = "0";
    f->Run([&] { f->Plot_Click(); });
    ASSERT_EQ(f->ErrorCount, 1u);
    EXPECT_EQ(f->ErrorHint, "FluxA / (W/m^2) and FluxB / (W/m^2) are both 0: give at least one "
                            "star some light.");
}

// A magnitude of 0 is a bright star, not a dark one: two of them name no box.
TEST(BoxAtFault, MagnitudesOfZeroAreNotDark) {
    auto f = loadedForm();
    f->ListScrolled(f->List1, 3);
    f->ListScrolled(f->List2, 3);
    f->Text11.Text = "0";
    f->Text12.Text = "0";
    f->Text16.Text = "5800";
    f->Text17.Text = "5800";
    EXPECT_EQ(inputHint(*f, err::DivisionByZero), "");
}

TEST(BoxAtFault, AStepCountTooLargeForTheCounterIsNamedOnlyForAnOverflow) {
    auto f = loadedForm();
    f->Text2.Text = "100000";
    f->Run([&] { f->Plot_Click(); });
    ASSERT_EQ(f->ErrorCount, 0u) << f->ErrorText;
    f->MouseDown(mouse::Left, 0, 790, 100); // the step under the pointer overflows 16 bits
    f->MouseUp(mouse::Left, 0, 790, 100);
    ASSERT_EQ(f->ErrorCount, 1u);
    EXPECT_EQ(f->ErrorNumber, 6);
    EXPECT_EQ(f->ErrorHint, "IterationNo is 100000: type a number of steps from 1 to 32766.");
}

TEST(BoxAtFault, TheLastStepCountTheCounterHoldsIsNotNamed) {
    auto f = loadedForm();
    f->Text2.Text = "32766";
    EXPECT_EQ(inputHint(*f, err::Overflow), "");
    f->Text2.Text = "32767";
    EXPECT_EQ(inputHint(*f, err::Overflow),
              "IterationNo is 32767: type a number of steps from 1 to 32766.");
}

TEST(BoxAtFault, OfTwoBoxesAtFaultTheFirstInTheFormsOrderIsNamed) {
    auto f = loadedForm();
    f->Text7.Text = "0";
    f->Text8.Text = "0";
    EXPECT_EQ(inputHint(*f, err::DivisionByZero), "MassA / SunMass is 0: type a mass above 0.");
}

TEST(BoxAtFault, NoSentenceWhereNoBoxExplainsTheError) {
    auto f = loadedForm();
    f->Eccen = 1; // set by no box
    f->Run([&] { f->Simulate_Click(); });
    ASSERT_EQ(f->ErrorCount, 1u);
    EXPECT_EQ(f->ErrorHint, "");
}
