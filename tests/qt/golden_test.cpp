// SPDX-License-Identifier: GPL-3.0-or-later
// The golden pictures: the composed 794 x 568 window (background, drawing surface, marks and
// the two panels with their labels) after a dozen everyday scenarios, pinned by hash. A
// change of any pixel fails here; a deliberate one updates its hash with the reason.
//
// ORVANTA_GOLDEN_DIR=/some/dir writes every scenario's picture there as a PNG, so two
// builds can be compared pixel by pixel (ImageMagick: compare -metric AE a.png b.png d.png).
#include "view_fixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QPainter>

#include <functional>
#include <string>

namespace orvanta::view::testing {
namespace {

struct Scenario {
    const char* name;
    std::function<void(Form1&)> run;
    const char* hash; ///< first 16 hex digits of the SHA-256 of the 0xRRGGBB pixels, row by row
};
void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

// A left click in the middle of a menu label, as the pointer routing sees it.
void click(Form1& f, const LabelCtl& l) {
    const double x = l.Left + l.Width / 2, y = l.Top + l.Height / 2;
    f.MouseDown(mouse::Left, 0, x, y);
    f.MouseUp(mouse::Left, 0, x, y);
}

const Scenario Scenarios[] = {
    {"StartUp", [](Form1&) {}, "c6c8503cdae45ea8"},
    {"PlotOverAnother",
     [](Form1& f) {
         f.TextEdited(f.Text7, "2");
         f.TextEdited(f.Text4, "30");
         click(f, f.Plot);
     },
     "a7a2d761b0fdb85d"},
    {"MagnitudeMode", [](Form1& f) { f.ListScrolled(f.List3, 1); }, "8be32d3a510a62f7"},
    {"ManualPowerScale",
     [](Form1& f) {
         f.CheckClicked(f.Check1);
         f.TextEdited(f.Text13, "6E-26");
         click(f, f.Plot);
     },
     "4497dfa428163ff3"},
    {"ManualMagnitudeScale",
     [](Form1& f) {
         f.ListScrolled(f.List3, 1);
         f.CheckClicked(f.Check1);
         click(f, f.Plot);
     },
     "0539c795fdc4767c"},
    {"HiddenPanelsMenuAway",
     [](Form1& f) {
         click(f, f.HideMenu);
         f.MouseMove(0, 0, 300, 300);
     },
     "4090b2f1cb690469"},
    {"HiddenPanelsMenuInTheCorner",
     [](Form1& f) {
         click(f, f.HideMenu);
         f.MouseMove(0, 0, 760, 500);
     },
     "c16f23a1d9ce7bb8"},
    {"CtrlDragInProgress",
     [](Form1& f) {
         f.MouseDown(mouse::Left, mouse::Ctrl, 300, 100);
         f.MouseMove(mouse::Left, mouse::Ctrl, 340, 120);
     },
     "cbc6490139e4e73f"},
    {"AltDragInProgressBigStars",
     [](Form1& f) {
         f.CheckClicked(f.Check2);
         f.TextEdited(f.Text14, "60");
         click(f, f.Plot);
         f.MouseDown(mouse::Left, mouse::Alt, 300, 100);
         f.MouseMove(mouse::Left, mouse::Alt, 420, 100);
     },
     "d70ad7ac1765490c"},
    {"CtrlDragReleased",
     [](Form1& f) {
         f.MouseDown(mouse::Left, mouse::Ctrl, 300, 100);
         f.MouseMove(mouse::Left, mouse::Ctrl, 260, 180);
         f.MouseUp(mouse::Left, mouse::Ctrl, 260, 180);
     },
     "0f36afb94887df12"},
    {"RightClickRecentre",
     [](Form1& f) {
         f.MouseDown(mouse::Right, 0, 200, 150);
         f.MouseUp(mouse::Right, 0, 200, 150);
     },
     "d7a438bdc81e0b82"},
    {"Presets",
     [](Form1& f) {
         f.ComboPicked(f.Combo1, 3);
         f.ComboPicked(f.Combo2, 11);
         click(f, f.Plot);
     },
     "91082e9b2ec3cdfb"},
    {"TemperatureSelectors",
     [](Form1& f) {
         f.ListScrolled(f.List1, 2);
         f.ListScrolled(f.List2, 3);
     },
     "e41372230f53f9db"},
    {"StepsThenTimeJump",
     [](Form1& f) {
         for (int i = 0; i < 7; ++i)
             click(f, f.Simulate);
         f.MouseDown(mouse::Left, 0, 430, 200);
         f.MouseMove(mouse::Left, 0, 455, 200);
         f.MouseUp(mouse::Left, 0, 455, 200);
     },
     "1eb4d3b6772faab5"},
    {"CreditsOpen", [](Form1& f) { click(f, f.About); }, "ca3e4a0f28ffd3e9"},
    {"ErrorHalfWayThroughHideMenu",
     [](Form1& f) {
         f.TextEdited(f.Text2, "0"); // no steps: every plot divides by zero
         click(f, f.Plot);
         click(f, f.HideMenu);
         EXPECT_EQ(f.ErrorNumber, err::DivisionByZero);
     },
     "a4c03125cda93058"},
};

class GoldenWindow : public ViewTest, public ::testing::WithParamInterface<Scenario> {
protected:
    /// The canvas with every visible panel's picture at its place: what the window shows
    /// beneath its input widgets.
    QImage composed() {
        QImage image = window->canvas()->picture().convertToFormat(QImage::Format_RGB32);
        QPainter p(&image);
        for (const FrameCtl* frame : {&f.Frame1, &f.Frame2}) {
            if (!frame->Visible) continue;
            auto* panel = widget<PanelFrame>(frame->Name.c_str());
            p.drawImage(pixelRect(*frame).topLeft(), panel->picture());
        }
        return image;
    }
};

std::string hashOf(const QImage& image) {
    QCryptographicHash sha(QCryptographicHash::Sha256);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb v = row[x] & 0xFFFFFFu;
            const char bytes[3] = {static_cast<char>(qRed(v)), static_cast<char>(qGreen(v)),
                                   static_cast<char>(qBlue(v))};
            sha.addData(QByteArrayView(bytes, 3));
        }
    }
    return sha.result().toHex().left(16).toStdString();
}

TEST_P(GoldenWindow, PictureIsUnchanged) {
    const Scenario& s = GetParam();
    window->load();
    s.run(f);
    window->refresh();
    const QImage image = composed();
    ASSERT_EQ(image.size(), QSize(794, 568));
    const QString dir = qEnvironmentVariable("ORVANTA_GOLDEN_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        image.save(dir + QStringLiteral("/") + QString::fromLatin1(s.name) +
                   QStringLiteral(".png"));
    }
    EXPECT_EQ(hashOf(image), s.hash) << s.name;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, GoldenWindow, ::testing::ValuesIn(Scenarios),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace orvanta::view::testing
