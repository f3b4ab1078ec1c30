// SPDX-License-Identifier: GPL-3.0-or-later
// The lessons of docs/LESSONS.md, step by step in the real window, offscreen: every figure the
// guide quotes is read off the window, and the guide is checked to quote it as shown.
#include "view_fixture.h"

#include "form1.h"

#include <QFile>

#include <string>

namespace orvanta::view::testing {
namespace {

class Lessons : public ViewTest {
protected:
    void SetUp() override {
        show();
        window->load();
        ASSERT_EQ(f.ErrorCount, 0u);
        QFile file(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../docs/LESSONS.md"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        guide = file.readAll().toStdString();
    }
    void type(TextBoxCtl& box, const char* text) {
        f.TextEdited(box, text);
        window->refresh();
    }
    void scroll(ListBoxCtl& list, int row) {
        f.ListScrolled(list, row);
        window->refresh();
    }
    /// A left click on the graph at a fraction of its width.
    void clickAt(double fraction) {
        f.MouseDown(mouse::Left, 0, 793 * fraction, 100);
        f.MouseUp(mouse::Left, 0, 793 * fraction, 100);
        window->refresh();
    }
    /// The light read-out as the guide quotes it: "( 28.8771% )" is "28.8771 %".
    [[nodiscard]] std::string light() const { return percent(f.Label11.Caption); }
    [[nodiscard]] std::string time() const { return percent(f.Label25.Caption); }
    static std::string percent(const std::string& caption) {
        EXPECT_EQ(caption.rfind("( ", 0), 0u) << caption;
        EXPECT_GE(caption.size(), 5u);
        return caption.substr(2, caption.size() - 5) + " %";
    }
    /// The guide quotes the figure as the window shows it.
    void quoted(const std::string& figure) const {
        EXPECT_NE(guide.find(figure), std::string::npos) << "the guide does not quote " << figure;
    }
    void expectShown(const std::string& shown, const std::string& figure) const {
        EXPECT_EQ(shown, figure);
        quoted(figure);
        EXPECT_EQ(f.ErrorCount, 0u) << f.ErrorText;
    }

    std::string guide;
};

TEST_F(Lessons, OneAnAlgolTypePair) {
    expectShown(f.Text11.Text, "1181952000");
    expectShown(f.Text12.Text, "32538658.5511403");
    clickAt(0.75);
    expectShown(light(), "28.8771 %");
    clickAt(0.25);
    expectShown(light(), "98.042 %");
    // The temperatures, on each selector's temperature row.
    scroll(f.List1, 1);
    scroll(f.List1, 2);
    expectShown(f.Text11.Text + " K", "12000 K");
    scroll(f.List2, 1);
    scroll(f.List2, 2);
    expectShown(f.Text12.Text + " K", "4888 K");
}

TEST_F(Lessons, OneTryAHotterStarB) {
    type(f.Text12, "1E9");
    window->command(Command::Plot);
    clickAt(0.75);
    expectShown(light(), "67.4835 %");
    clickAt(0.25);
    expectShown(light(), "72.4892 %");
}

TEST_F(Lessons, TwoATransitAndAGrazingEclipse) {
    type(f.Text10, "0.8");
    type(f.Text5, "0");
    window->command(Command::Clear);
    window->command(Command::Plot);
    clickAt(0.75);
    expectShown(light(), "92.3003 %");
    clickAt(0.25);
    expectShown(light(), "99.788 %");
    quoted("only 0.212 % is lost");
    type(f.Text5, "-12");
    window->command(Command::Clear);
    window->command(Command::Plot);
    clickAt(0.75);
    expectShown(light(), "97.7767 %");
    quoted("97.7767 % at its\ndeepest");
}

TEST_F(Lessons, ThreeEclipsesNotHalfAPeriodApart) {
    type(f.Text3, "0.4");
    type(f.Text6, "60");
    window->command(Command::Clear);
    window->command(Command::Plot);
    // Step through the run; the deepest step of each eclipse.
    double deepest = 2, shallow = 2;
    std::string primaryTime, primaryLight, secondaryTime, secondaryLight;
    for (int step = 1; step <= 100; ++step) {
        if (step > 1) window->command(Command::Step);
        const double ratio = f.PowerSum.value() / f.MaxPowerSum.value();
        if (ratio < deepest) {
            deepest = ratio;
            primaryTime = time();
            primaryLight = light();
        }
        if (step <= 30 && ratio < shallow) {
            shallow = ratio;
            secondaryTime = time();
            secondaryLight = light();
        }
    }
    expectShown(primaryTime, "67 %");
    expectShown(primaryLight, "40.9283 %");
    expectShown(secondaryTime, "3 %");
    expectShown(secondaryLight, "97.657 %");
    quoted("deepest at 67 % of the period (40.9283 % of the light\narrives) and the secondary "
           "at 3 % (97.657 %)");
}

TEST_F(Lessons, ThePeriodOfTheDefaults) {
    expectShown(f.Label31.Caption, "3.2136767375783");
    expectShown(f.Text2.Text, "100");
}

TEST_F(Lessons, TheMagnitudeRowSetsTheRadius) {
    scroll(f.List1, 1);
    scroll(f.List1, 2);
    scroll(f.List1, 3);
    type(f.Text11, "4.75");
    type(f.Text16, "5780");
    window->command(Command::Plot);
    expectShown(f.Text9.Text, "1.08569113794099");
    type(f.Text11, "4.93");
    window->command(Command::Plot);
    expectShown(f.Text9.Text, "0.999323942973997");
}

} // namespace
} // namespace orvanta::view::testing
