// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer routing and the other entry points: every event of the view enters here.
#include "form1.h"
#include "ui/keyboard.h"

namespace orvanta {

void Form1::Load() {
    Run([&] { Form_Load(); });
}

Control* Form1::hitTest(double x, double y) {
    // Windowed controls (frames, boxes, lists, check boxes) lie above every label, image,
    // shape and line; a frame takes the events over its whole area.
    for (Control* c : stackingOrder()) {
        if (!c->Visible || c->Container != nullptr) continue;
        if (c->kind == Kind::Label || c->kind == Kind::Image || c->kind == Kind::Shape ||
            c->kind == Kind::LineMark)
            continue;
        if (c->contains(x, y)) return c;
    }
    for (Control* c : stackingOrder()) {
        if (!c->Visible || c->Container != nullptr) continue;
        if ((c->kind == Kind::Label || c->kind == Kind::Image) && c->contains(x, y)) return c;
    }
    return nullptr;
}

Pointer Form1::pointerAt(double x, double y) {
    Control* c = hitTest(x, y);
    if (c == nullptr) return Pointer::Crosshair;
    if (c->kind == Kind::Frame) {
        for (Control* child : stackingOrder())
            if (child->Visible && child->Container == c && child->contains(x, y, c->Left, c->Top))
                return child->MousePointer;
    }
    return c->MousePointer;
}

void Form1::MouseDown(int button, int shift, double x, double y) {
    if (buttonsDown_ == 0) {
        grab_ = hitTest(x, y);
        grabbed_ = true;
    }
    buttonsDown_ |= button;
    if (grab_ == nullptr)
        Run([&] { Form_MouseDown(button, shift, static_cast<float>(x), static_cast<float>(y)); });
}

void Form1::MouseMove(int buttons, int shift, double x, double y) {
    if (buttons == 0 || !grabbed_) {
        if (hitTest(x, y) == nullptr)
            Run([&] { Form_MouseMove(0, shift, static_cast<float>(x), static_cast<float>(y)); });
        return;
    }
    if (grab_ == nullptr)
        Run([&] { Form_MouseMove(buttons, shift, static_cast<float>(x), static_cast<float>(y)); });
}

void Form1::MouseUp(int button, int shift, double x, double y) {
    if (!grabbed_) return;
    Control* c = grab_;
    buttonsDown_ &= ~button;
    if (buttonsDown_ == 0) grabbed_ = false;
    if (c == nullptr) {
        Run([&] { Form_MouseUp(button, shift, static_cast<float>(x), static_cast<float>(y)); });
        return;
    }
    if (button != mouse::Left || hitTest(x, y) != c) return;
    if (const std::optional<Command> command = commandOfMenuLabel(*this, c))
        runCommand(*this, *command);
}

void Form1::DoubleClick(int button, int shift, double x, double y) {
    Control* c = hitTest(x, y);
    if (c == &Image2 && button == mouse::Left) {
        Run([&] { Image2_DblClick(); });
        return;
    }
    if (c == &Text15 && button == mouse::Left) {
        CreditsDoubleClicked();
        return;
    }
    // On the surface and on the menu labels the second press of a quick double click counts
    // as a press of its own, so "Step" clicked twice quickly steps twice.
    if (c == nullptr || commandOfMenuLabel(*this, c)) MouseDown(button, shift, x, y);
}

void Form1::TextEdited(TextBoxCtl& box, const std::string& newText) {
    box.Text = newText;
    box.ReadNote.clear();
}

void Form1::LightOptionsSet(const physics::LightOptions& options) {
    Run([&] {
        LightOptions = options;
        Plot_Click();
    });
}

void Form1::ListScrolled(ListBoxCtl& list, int topIndex) {
    if (topIndex < 0 || topIndex >= static_cast<int>(list.Items.size()) ||
        topIndex == list.TopIndex)
        return;
    list.TopIndex = topIndex;
    if (&list == &List1)
        Run([&] { List1_Scroll(); });
    else if (&list == &List2)
        Run([&] { List2_Scroll(); });
    else if (&list == &List3)
        Run([&] { List3_Scroll(); });
}

void Form1::ComboPicked(ComboBoxCtl& combo, int index) {
    if (index < 0 || index >= static_cast<int>(combo.Items.size())) return;
    combo.ListIndex = index;
    if (&combo == &Combo1)
        Run([&] { Combo1_Click(); });
    else if (&combo == &Combo2)
        Run([&] { Combo2_Click(); });
}

void Form1::CheckClicked(CheckBoxCtl& box) {
    box.Value = box.Value == 1 ? 0 : 1;
    if (&box == &Check1)
        Run([&] { Check1_Click(); });
    else if (&box == &Check2)
        Run([&] { Check2_Click(); });
}

void Form1::TimerTick() {
    if (Timer1.Enabled) Run([&] { Timer1_Timer(); });
}

void Form1::CreditsDoubleClicked() {
    Run([&] { Text15_DblClick(); });
}

} // namespace orvanta
