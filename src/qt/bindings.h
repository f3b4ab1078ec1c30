// SPDX-License-Identifier: GPL-3.0-or-later
// The window's controls shown by widgets: one binding for each control, which pushes the
// model's values that differ from what its widget shows.
#pragma once

#include "render/raster.h"
#include "ui/controls.h"

#include <QColor>

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace orvanta::view {

class CreditsBox;
class OneRowList;
class PanelFrame;

/// One control shown by one widget: `sync` pushes the model's values that differ from
/// what the widget shows.
struct Binding {
    Binding(Control& c, QWidget* w) : control(c), widget(w) {}
    virtual ~Binding() = default;
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    void sync();

    Control& control;
    QWidget* widget;

protected:
    virtual void syncValue() {}
    /// Input boxes: the box in BackColor, the text in ForeColor (grey when disabled).
    virtual void applyColours(const QColor& back, const QColor& fore);

private:
    bool coloured_ = false;
    Colour32 back_ = 0, fore_ = 0;
};

std::unique_ptr<Binding> bindTextBox(TextBoxCtl& box, QLineEdit* edit);
std::unique_ptr<Binding> bindCredits(TextBoxCtl& box, CreditsBox* credits);
std::unique_ptr<Binding> bindList(ListBoxCtl& list, OneRowList* view);
std::unique_ptr<Binding> bindCombo(ComboBoxCtl& combo, QComboBox* box);
std::unique_ptr<Binding> bindCheck(CheckBoxCtl& check, QCheckBox* box);
std::unique_ptr<Binding> bindFrame(FrameCtl& frame, PanelFrame* panel);

} // namespace orvanta::view
