// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the pictures of docs/LESSONS.md with the program itself: the real window, offscreen,
// driven through the same entry points as the user's clicks and keys, then grabbed.
//
// Usage: orvanta_lesson_pictures DIRECTORY
#include "analysis/eclipse_measure.h"
#include "qt/analysis_panel.h"
#include "qt/main_window.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTabWidget>

#include <cstdio>
#include <functional>
#include <string>

namespace {

using orvanta::Command;
using orvanta::Form1;
using orvanta::view::MainWindow;

class Lesson {
public:
    explicit Lesson(QString dir) : dir_(std::move(dir)) {
        window_.show();
        window_.load();
        settle();
    }
    Form1& form() { return window_.form(); }
    MainWindow& window() { return window_; }
    /// Types a text into a box, as the user's keys would.
    void type(orvanta::TextBoxCtl& box, const char* text) {
        form().TextEdited(box, text);
        window_.refresh();
    }
    void scroll(orvanta::ListBoxCtl& list, int row) {
        form().ListScrolled(list, row);
        window_.refresh();
    }
    void tick(orvanta::CheckBoxCtl& box) {
        form().CheckClicked(box);
        window_.refresh();
    }
    void command(Command c) { window_.command(c); }
    /// A left click on the bare picture: jumps to the moment under the pointer.
    void clickAt(double x, double y) {
        form().MouseDown(orvanta::mouse::Left, 0, x, y);
        form().MouseUp(orvanta::mouse::Left, 0, x, y);
        window_.refresh();
    }
    /// Saves the window (or a part of it, in window pixels) as NAME.png.
    void save(const char* name, QRect part = {}) {
        settle();
        QImage shot = window_.grab().toImage();
        if (!part.isNull()) shot = shot.copy(part);
        const QString path = dir_ + QLatin1Char('/') + QString::fromLatin1(name) + ".png";
        if (!shot.save(path)) {
            std::fprintf(stderr, "orvanta_lesson_pictures: cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        std::printf("%s  %s\n", qPrintable(path), form().ErrorText.c_str());
    }

private:
    static void settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    QString dir_;
    MainWindow window_;
};

// The column of the graph at which a fraction of the period is drawn.
double column(double fraction) {
    return 793 * fraction;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvanta_lesson_pictures DIRECTORY\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);

    {
        // Lesson 1: the defaults are an Algol-type pair; the deep eclipse, then the shallow.
        Lesson l(dir);
        l.clickAt(column(0.75), 100);
        l.save("algol-primary");
        l.clickAt(column(0.25), 100);
        l.save("algol-secondary");
    }
    {
        // Lesson 2: a small star seen edge-on, then at a grazing inclination.
        Lesson l(dir);
        Form1& f = l.form();
        l.type(f.Text10, "0.8");
        l.type(f.Text5, "0");
        l.command(Command::Clear);
        l.command(Command::Plot);
        l.clickAt(column(0.75), 100);
        l.save("transit-edge-on");
        l.type(f.Text5, "-12");
        l.command(Command::Clear);
        l.command(Command::Plot);
        l.clickAt(column(0.75), 100);
        l.save("transit-grazing");
    }
    {
        // Lesson 3: an eccentric orbit turned in its plane.
        Lesson l(dir);
        Form1& f = l.form();
        l.type(f.Text3, "0.4");
        l.type(f.Text6, "60");
        l.command(Command::Clear);
        l.command(Command::Plot);
        l.save("eccentric");
    }
    {
        // Comparing two curves: "Auto" unticked first, then two plots over each other.
        Lesson l(dir);
        Form1& f = l.form();
        l.tick(f.Check1);
        l.command(Command::Clear);
        l.command(Command::Plot);
        l.type(f.Text5, "-12");
        l.command(Command::Plot);
        l.save("compare");
    }
    {
        // The magnitude row: the Sun's 4.75 and 5780 K give the radius.
        Lesson l(dir);
        Form1& f = l.form();
        l.scroll(f.List1, 1);
        l.scroll(f.List1, 2);
        l.scroll(f.List1, 3);
        l.type(f.Text11, "4.75");
        l.type(f.Text16, "5780");
        l.command(Command::Plot);
        std::printf("radius from 4.75 and 5780 K: %s\n", f.Text9.Text.c_str());
        l.save("magnitude-row", QRect(400, 368, 337, 200));
        l.type(f.Text11, "4.93");
        l.command(Command::Plot);
        std::printf("radius from 4.93 and 5780 K: %s\n", f.Text9.Text.c_str());
    }
    {
        // The analysis panel beside the picture: the cursors on the eclipses of a small star
        // seen edge-on, the durations and depths, and what they give beside the model's.
        Lesson l(dir);
        Form1& f = l.form();
        l.type(f.Text10, "1.2");
        l.type(f.Text5, "0");
        l.command(Command::Clear);
        l.command(Command::Plot);
        MainWindow& w = l.window();
        w.resize(1400, 640);
        w.togglePanel();
        orvanta::view::AnalysisPanel& panel = *w.panel();
        panel.tabs()->setCurrentWidget(panel.measurePage());
        panel.updateNow();
        // A student's cursors: near the model's contacts, not on them.
        const orvanta::analysis::ModelContacts c = orvanta::analysis::contactsOf(
            orvanta::analysis::lightCurveOf(orvanta::parametersOf(f)));
        using Page = orvanta::view::MeasurePage;
        Page& page = *panel.measurePage();
        if (c.primary && c.secondary) {
            page.setCursor(Page::PrimaryFirst, c.primary->first - 0.002);
            page.setCursor(Page::PrimaryLast, c.primary->last + 0.001);
            if (c.primary->second && c.primary->third) {
                page.setCursor(Page::PrimarySecond, *c.primary->second + 0.001);
                page.setCursor(Page::PrimaryThird, *c.primary->third - 0.002);
            }
            page.setCursor(Page::SecondaryFirst, c.secondary->first);
            page.setCursor(Page::SecondaryLast, c.secondary->last + 0.002);
        }
        l.save("panel-measure");
    }
    return 0;
}
