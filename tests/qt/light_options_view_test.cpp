// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl+R: the dialog of the options of real stars, the replot and the title bar.
#include "view_fixture.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace orvanta::view::testing {
namespace {

class LightOptionsView : public ViewTest {
protected:
    QLineEdit* box(const char* name) {
        auto* e = window->lightOptionsDialog()->findChild<QLineEdit*>(QString::fromLatin1(name));
        EXPECT_NE(e, nullptr) << name;
        return e;
    }
    void ok() {
        window->lightOptionsDialog()
            ->findChild<QDialogButtonBox*>()
            ->button(QDialogButtonBox::Ok)
            ->click();
    }
};

TEST_F(LightOptionsView, CtrlROpensTheDialogAndOkReplotsWithTheOptions) {
    show();
    const QString plain = window->windowTitle();
    QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
    ASSERT_NE(window->lightOptionsDialog(), nullptr);
    EXPECT_EQ(box("u1A")->text(), "0");
    box("u1A")->setText("0.6");
    box("thirdLight")->setText("0.1");
    ok();
    EXPECT_EQ(f.LightOptions.limbA.u1, 0.6);
    EXPECT_EQ(f.LightOptions.thirdLight, 0.1);
    EXPECT_EQ(window->windowTitle(), plain + QString::fromUtf8(" \u2014 limb darkening A; third "
                                                               "light 10 %"));
    // Open again: the boxes show the options; zeros switch them off.
    window->editLightOptions();
    ASSERT_NE(window->lightOptionsDialog(), nullptr);
    EXPECT_EQ(box("u1A")->text(), "0.6");
    box("u1A")->setText("0");
    box("thirdLight")->setText("");
    ok();
    EXPECT_FALSE(f.LightOptions.any());
    EXPECT_EQ(window->windowTitle(), plain);
}

TEST_F(LightOptionsView, ABoxAtFaultIsExplainedAndChangesNothing) {
    show();
    QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
    ASSERT_NE(window->lightOptionsDialog(), nullptr);
    box("u2B")->setText("two");
    ok();
    EXPECT_FALSE(f.LightOptions.any());
    ASSERT_NE(window->errorWindow(), nullptr);
    EXPECT_EQ(window->errorWindow()->text(), "The box of u2 of star B does not hold one number.");
    EXPECT_NE(window->lightOptionsDialog(), nullptr); // still open, to mend the box
}

} // namespace
} // namespace orvanta::view::testing
