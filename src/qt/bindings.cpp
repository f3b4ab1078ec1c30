// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/bindings.h"

#include "qt/credits_box.h"
#include "qt/marks.h"
#include "qt/one_row_list.h"
#include "qt/panel_frame.h"
#include "ui/error_hint.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include <string>
#include <vector>

namespace orvanta::view {

void Binding::sync() {
    const QRect r = pixelRect(control);
    if (widget->geometry() != r) widget->setGeometry(r);
    if (widget->isEnabledTo(widget->parentWidget()) != control.Enabled)
        widget->setEnabled(control.Enabled);
    if (widget->isHidden() == control.Visible) widget->setVisible(control.Visible);
    if (!coloured_ || back_ != control.BackColor || fore_ != control.ForeColor) {
        back_ = control.BackColor;
        fore_ = control.ForeColor;
        coloured_ = true;
        applyColours(toQColor(back_), toQColor(fore_));
    }
    syncValue();
}

void Binding::applyColours(const QColor& back, const QColor& fore) {
    QPalette pal = widget->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(g, QPalette::Base, back);
        pal.setColor(g, QPalette::Window, back);
        pal.setColor(g, QPalette::Button, back);
        const QColor text = g == QPalette::Disabled ? toQColor(DisabledBoxTextColour) : fore;
        pal.setColor(g, QPalette::Text, text);
        pal.setColor(g, QPalette::ButtonText, text);
        pal.setColor(g, QPalette::WindowText, text);
    }
    widget->setPalette(pal);
}

namespace {

QString qText(const std::string& s) {
    return QString::fromStdString(s);
}

QStringList qItems(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items)
        list << qText(item);
    return list;
}

struct TextBinding : Binding {
    TextBinding(TextBoxCtl& c, QLineEdit* w) : Binding(c, w), box(c), edit(w) {}
    void syncValue() override {
        const QString text = qText(box.Text);
        if (edit->text() != text) {
            const QSignalBlocker block(edit);
            edit->setText(text);
            edit->setCursorPosition(0); // a box shows the start of a text put into it
        }
        const QString note = qText(shownNote(box));
        if (note != edit->toolTip()) {
            edit->setToolTip(note);
            recolour();
        }
    }
    // A box whose text was read only in part shows it in the warning colour.
    void applyColours(const QColor& back, const QColor& fore) override {
        back_ = back;
        fore_ = fore;
        recolour();
    }
    void recolour() {
        const bool warned = !edit->toolTip().isEmpty();
        Binding::applyColours(back_, warned ? toQColor(ReadInPartColour) : fore_);
    }
    TextBoxCtl& box;
    QLineEdit* edit;
    QColor back_, fore_;
};

struct CreditsBinding : Binding {
    CreditsBinding(TextBoxCtl& c, CreditsBox* w) : Binding(c, w), box(c), credits(w) {
        credits->setVerticalScrollBarPolicy(box.VerticalScroll ? Qt::ScrollBarAlwaysOn
                                                               : Qt::ScrollBarAlwaysOff);
    }
    void syncValue() override {
        if (credits->credits() == box.Text) return;
        const QSignalBlocker block(credits);
        credits->setCredits(box.Text);
    }
    TextBoxCtl& box;
    CreditsBox* credits;
};

struct ListBinding : Binding {
    // The items are the layout's and never change, so they are shown once.
    ListBinding(ListBoxCtl& c, OneRowList* w) : Binding(c, w), list(c), view(w) {
        view->setItems(qItems(list.Items));
    }
    void syncValue() override { view->setTopRow(list.TopIndex); }
    // The row in the list's colours; its scroll bar keeps the standard button face.
    void applyColours(const QColor& back, const QColor& fore) override {
        QPalette pal = widget->palette();
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            pal.setColor(g, QPalette::Base, back);
            pal.setColor(g, QPalette::Text,
                         g == QPalette::Disabled ? toQColor(DisabledTextColour) : fore);
        }
        widget->setPalette(pal);
    }
    ListBoxCtl& list;
    OneRowList* view;
};

struct ComboBinding : Binding {
    // The items are the layout's and never change, so they are shown once.
    ComboBinding(ComboBoxCtl& c, QComboBox* w) : Binding(c, w), combo(c), box(w) {
        const QSignalBlocker block(box);
        box->addItems(qItems(combo.Items));
    }
    void syncValue() override {
        const QSignalBlocker block(box);
        const int index = combo.ListIndex < box->count() ? combo.ListIndex : -1;
        if (box->currentIndex() != index) box->setCurrentIndex(index);
    }
    ComboBoxCtl& combo;
    QComboBox* box;
};

struct CheckBinding : Binding {
    CheckBinding(CheckBoxCtl& c, QCheckBox* w) : Binding(c, w), check(c), box(w) {}
    void syncValue() override {
        const QString caption = qText(check.Caption);
        const QSignalBlocker block(box);
        if (box->text() != caption) box->setText(caption);
        const Qt::CheckState state = check.Value == 1   ? Qt::Checked
                                     : check.Value == 0 ? Qt::Unchecked
                                                        : Qt::PartiallyChecked;
        if (state == Qt::PartiallyChecked) box->setTristate(true);
        if (box->checkState() != state) box->setCheckState(state);
    }
    // A check box's background is the panel around it.
    void applyColours(const QColor& back, const QColor& fore) override {
        QPalette pal = widget->palette();
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            pal.setColor(g, QPalette::Window, back);
            pal.setColor(g, QPalette::Button, back); // a button's background role
            pal.setColor(g, QPalette::WindowText,
                         g == QPalette::Disabled ? toQColor(DisabledTextColour) : fore);
        }
        widget->setPalette(pal);
        widget->setAutoFillBackground(true);
    }
    CheckBoxCtl& check;
    QCheckBox* box;
};

struct FrameBinding : Binding {
    FrameBinding(FrameCtl& c, PanelFrame* w) : Binding(c, w), frame(w) {}
    void syncValue() override { frame->refresh(); }
    void applyColours(const QColor&, const QColor&) override {}
    PanelFrame* frame;
};

} // namespace

std::unique_ptr<Binding> bindTextBox(TextBoxCtl& box, QLineEdit* edit) {
    return std::make_unique<TextBinding>(box, edit);
}
std::unique_ptr<Binding> bindCredits(TextBoxCtl& box, CreditsBox* credits) {
    return std::make_unique<CreditsBinding>(box, credits);
}
std::unique_ptr<Binding> bindList(ListBoxCtl& list, OneRowList* view) {
    return std::make_unique<ListBinding>(list, view);
}
std::unique_ptr<Binding> bindCombo(ComboBoxCtl& combo, QComboBox* box) {
    return std::make_unique<ComboBinding>(combo, box);
}
std::unique_ptr<Binding> bindCheck(CheckBoxCtl& check, QCheckBox* box) {
    return std::make_unique<CheckBinding>(check, box);
}
std::unique_ptr<Binding> bindFrame(FrameCtl& frame, PanelFrame* panel) {
    return std::make_unique<FrameBinding>(frame, panel);
}

} // namespace orvanta::view
