// SPDX-License-Identifier: GPL-3.0-or-later
// Errors a student can act on, through the window: the sentence below the error, and the
// note and colour of a box read only in part.
#include "view_fixture.h"

#include "ui/error_hint.h"

#include <QLineEdit>
#include <QMessageBox>

namespace orvanta::view::testing {
namespace {

class Typed : public ViewTest {
protected:
    void SetUp() override {
        show();
        window->load();
        ASSERT_EQ(f.ErrorCount, 0u);
    }
    /// Types over a box's text and presses Enter, as a student does.
    QLineEdit* typeAndEnter(const char* name, const char* text) {
        auto* box = widget<QLineEdit>(name);
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        press(Qt::Key_Delete);
        QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(text));
        press(Qt::Key_Return);
        return box;
    }
};

struct Typing {
    const char* box;
    const char* text;
    const char* hint;
};

class TypedFault : public Typed, public ::testing::WithParamInterface<Typing> {};

TEST_P(TypedFault, TheErrorWindowNamesTheBoxBelowItsFirstLines) {
    typeAndEnter(GetParam().box, GetParam().text);
    QMessageBox* box = window->errorWindow();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->text().startsWith(QStringLiteral("Run-time error '")));
    EXPECT_EQ(box->informativeText(), QString::fromUtf8(GetParam().hint));
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, TypedFault,
    ::testing::Values(
        Typing{"Text8", "0", "MassB / SunMass is 0: type a mass above 0."},
        Typing{"Text1", "", "MeanDistance / SunRad is empty: type a distance above 0."},
        Typing{"Text3", "1.5", "Eccen (-1<e<1) is 1.5: type a number above -1 and below 1."}),
    [](const auto& p) { return std::string(p.param.box); });

TEST_F(Typed, ABoxReadInPartSaysWhatWasReadInAWarningColourUntilEdited) {
    QLineEdit* mass = typeAndEnter("Text7", "3,59");
    EXPECT_EQ(f.MassA.value(), 3);
    EXPECT_EQ(f.ErrorCount, 0u);
    EXPECT_EQ(mass->toolTip(),
              QStringLiteral("read as 3 (\",59\" ignored; the decimal point is \".\")"));
    EXPECT_EQ(mass->palette().color(QPalette::Active, QPalette::Text), toQColor(ReadInPartColour));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(mass->toolTip(), QString());
    EXPECT_EQ(mass->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::black));
}

} // namespace
} // namespace orvanta::view::testing
