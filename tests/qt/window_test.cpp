// SPDX-License-Identifier: GPL-3.0-or-later
// The window as it opens: its size and caption, and every input control in place.
#include "view_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

namespace orvanta::view::testing {
namespace {

/// The window and its widgets as the layout places them.
class WindowWidgets : public ViewTest {};

TEST_F(WindowWidgets, ClientAreaIsAFixed794By568TitledOrvanta) {
    show();
    // The window opens at the client's size, at scale 1; it can be resized, the client not.
    EXPECT_EQ(window->size(), QSize(794, 568));
    EXPECT_EQ(window->pictureScale(), 1);
    EXPECT_EQ(window->client()->size(), QSize(794, 568));
    EXPECT_EQ(window->client()->minimumSize(), QSize(794, 568));
    EXPECT_EQ(window->client()->maximumSize(), QSize(794, 568));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Orvanta"));
    EXPECT_EQ(window->canvas()->geometry(), QRect(0, 0, 794, 568));
}

struct Placed {
    const char* name;
    QRect inWindow; ///< window pixels
    const char* shows;
    bool visible;
};

void PrintTo(const Placed& p, std::ostream* os) {
    *os << p.name;
}

QString shownText(QWidget* w) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* list = qobject_cast<OneRowList*>(w)) return list->items().value(list->topRow());
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
    if (auto* check = qobject_cast<QCheckBox*>(w)) return check->text();
    return {};
}

class PlacedWidget : public ViewTest, public ::testing::WithParamInterface<Placed> {};

TEST_P(PlacedWidget, StandsWhereTheLayoutPutsItShowingItsDefault) {
    show();
    const Placed& p = GetParam();
    auto* w = widget<QWidget>(p.name);
    ASSERT_NE(w, nullptr);
    const QPoint topLeft = w->mapTo(window->client(), QPoint(0, 0));
    EXPECT_EQ(QRect(topLeft, w->size()), p.inWindow);
    EXPECT_EQ(shownText(w), QString::fromUtf8(p.shows));
    EXPECT_EQ(w->isVisible(), p.visible);
}

// Frame1 lies at (0, 368), Frame2 at (400, 368); the lists' left edge 5 1/3 shows at 5.
INSTANTIATE_TEST_SUITE_P(
    Layout, PlacedWidget,
    ::testing::Values(Placed{"Frame1", {0, 368, 401, 201}, "", true},
                      Placed{"Frame2", {400, 368, 337, 201}, "", true},
                      Placed{"Text1", {136, 448, 49, 18}, "15", true},
                      Placed{"Text5", {136, 512, 49, 18}, "-7.69", true},
                      Placed{"Text13", {136, 544, 49, 18}, "3E-26", true},
                      Placed{"Text12", {528, 496, 49, 18}, "32538658.5511403", true},
                      Placed{"Text14", {528, 544, 49, 18}, "25", true},
                      Placed{"Text16", {528, 512, 49, 18}, "", false},
                      Placed{"Text17", {528, 528, 49, 18}, "", false},
                      Placed{"List3", {5, 431, 129, 14}, "Max Power Sum / W =", true},
                      Placed{"List1", {405, 480, 121, 14}, "FluxA / (W/m^2) =", true},
                      Placed{"List2", {405, 496, 121, 14}, "FluxB / (W/m^2) =", true},
                      Placed{"Combo1", {528, 384, 49, 20}, "", true},
                      Placed{"Combo2", {656, 384, 49, 20}, "", true},
                      Placed{"Check1", {344, 544, 49, 17}, "Auto", true},
                      Placed{"Check2", {688, 544, 47, 17}, "Auto", true},
                      Placed{"Text15", {397, 57, 313, 272}, "", false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(WindowWidgets, ChecksStartTickedAndCombosHoldTheFifteenTypes) {
    for (const char* name : {"Check1", "Check2"})
        EXPECT_EQ(widget<QCheckBox>(name)->checkState(), Qt::Checked) << name;
    for (const char* name : {"Combo1", "Combo2"}) {
        auto* combo = widget<QComboBox>(name);
        EXPECT_EQ(combo->count(), 15) << name;
        EXPECT_EQ(combo->currentIndex(), -1) << name;
        EXPECT_EQ(combo->itemText(1), QStringLiteral("O5V"));
        EXPECT_EQ(combo->itemText(14), QStringLiteral("M8V"));
        EXPECT_FALSE(combo->isEditable());
    }
}

TEST_F(WindowWidgets, CreditsBoxIsCentredReadOnlyAndScrollsVertically) {
    auto* credits = widget<QTextEdit>("Text15");
    EXPECT_TRUE(credits->isReadOnly());
    EXPECT_EQ(credits->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(credits->toPlainText().startsWith(QStringLiteral("\n<Double Click This Box")));
    EXPECT_FALSE(credits->toPlainText().contains(QLatin1Char('\r')));
    for (QTextBlock b = credits->document()->begin(); b.isValid(); b = b.next())
        EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(credits->font().bold());
}

TEST_F(WindowWidgets, TabVisitsTheControlsInTheLayoutsOrderSkippingHiddenOnes) {
    show();
    widget<QWidget>("Text1")->setFocus();
    const QStringList expected = {"Text2",  "Text3",  "Text4",  "Text5",  "Text6",  "Text13",
                                  "Text7",  "Text8",  "Text9",  "Text10", "Text11", "Text12",
                                  "Text14", "Combo1", "Combo2", "Check1", "Check2", "List1",
                                  "List2",  "List3",  "Text1"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        press(Qt::Key_Tab);
        visited << focused()->objectName();
    }
    EXPECT_EQ(visited, expected);
}

} // namespace
} // namespace orvanta::view::testing
