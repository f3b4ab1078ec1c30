// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/main_window.h"

#include "qt/canvas.h"
#include "qt/credits_box.h"
#include "qt/one_row_list.h"
#include "qt/panel_frame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalBlocker>

#include <map>
#include <string>

namespace orvanta::view {

/// One control shown by one widget: `sync` pushes the model's values that differ from
/// what the widget shows.
struct Binding {
    Binding(Control& c, QWidget* w) : control(c), widget(w) {}
    virtual ~Binding() = default;
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    void sync() {
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

    Control& control;
    QWidget* widget;

protected:
    virtual void syncValue() {}
    /// Input boxes: the box in BackColor, the text in ForeColor (grey when disabled).
    virtual void applyColours(const QColor& back, const QColor& fore) {
        QPalette pal = widget->palette();
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            pal.setColor(g, QPalette::Base, back);
            pal.setColor(g, QPalette::Window, back);
            pal.setColor(g, QPalette::Button, back);
            const QColor text = g == QPalette::Disabled ? QColor(0x6D, 0x6D, 0x6D) : fore;
            pal.setColor(g, QPalette::Text, text);
            pal.setColor(g, QPalette::ButtonText, text);
            pal.setColor(g, QPalette::WindowText, text);
        }
        widget->setPalette(pal);
    }

private:
    bool coloured_ = false;
    Colour32 back_ = 0, fore_ = 0;
};

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
        if (edit->text() == text) return;
        const QSignalBlocker block(edit);
        edit->setText(text);
        edit->setCursorPosition(0); // a box shows the start of a text put into it
    }
    TextBoxCtl& box;
    QLineEdit* edit;
};

struct CreditsBinding : Binding {
    CreditsBinding(TextBoxCtl& c, CreditsBox* w) : Binding(c, w), box(c), credits(w) {}
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
                         g == QPalette::Disabled ? QColor(0x80, 0x80, 0x80) : fore);
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
                         g == QPalette::Disabled ? QColor(0x80, 0x80, 0x80) : fore);
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

MainWindow::MainWindow(QWidget* parent) : QWidget(parent), form_(std::make_unique<Form1>()) {
    pictures_ = Pictures::load();
    Form1& f = *form_;
    setWindowTitle(QString::fromLatin1(WindowCaption));
    setFixedSize(WindowWidth, WindowHeight);
    setFont(controlFont(false));
    setWindowIcon(QIcon(QPixmap::fromImage(pictures_.byName["emblem.gif"])));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    canvas_ = new Canvas(f, pictures_, this);
    canvas_->move(0, 0);
    connect(canvas_, &Canvas::handled, this, &MainWindow::refresh);

    std::map<std::string, QWidget*> containers = {{"Form1", this}};
    for (FrameCtl* frame : {&f.Frame1, &f.Frame2}) {
        auto* panel = new PanelFrame(*frame, f, pictures_, this);
        panel->setFont(controlFont(frame->Bold));
        panel->setCursor(cursorShape(frame->MousePointer));
        frames_.push_back(panel);
        containers[frame->Name] = panel;
        bindings_.push_back(std::make_unique<FrameBinding>(*frame, panel));
    }

    auto placed = [&](QWidget* w, Control& c) {
        w->setParent(containers.at(c.Container));
        w->setObjectName(qText(c.Name));
        w->setFont(controlFont(c.Bold));
        if (c.MousePointer != Pointer::Default) w->setCursor(cursorShape(c.MousePointer));
        return w;
    };

    for (Control* c : f.stackingOrder()) {
        switch (c->kind) {
        case Kind::TextBox: {
            auto& box = static_cast<TextBoxCtl&>(*c);
            if (&box == &f.Text15) {
                auto* credits = new CreditsBox;
                placed(credits, box);
                connect(credits, &CreditsBox::doubleClicked, this, [this] {
                    form_->CreditsDoubleClicked();
                    refresh();
                });
                bindings_.push_back(std::make_unique<CreditsBinding>(box, credits));
                break;
            }
            auto* edit = new QLineEdit;
            placed(edit, box);
            connect(edit, &QLineEdit::textEdited, this, [this, &box](const QString& text) {
                form_->TextEdited(box, text.toStdString());
                refresh();
            });
            bindings_.push_back(std::make_unique<TextBinding>(box, edit));
            break;
        }
        case Kind::ListBox: {
            auto& list = static_cast<ListBoxCtl&>(*c);
            auto* view = new OneRowList;
            placed(view, list);
            connect(view, &OneRowList::topRowChanged, this, [this, &list](int row) {
                form_->ListScrolled(list, row);
                refresh();
            });
            bindings_.push_back(std::make_unique<ListBinding>(list, view));
            break;
        }
        case Kind::ComboBox: {
            auto& combo = static_cast<ComboBoxCtl&>(*c);
            auto* box = new QComboBox;
            placed(box, combo);
            box->setEditable(false);
            connect(box, &QComboBox::activated, this, [this, &combo](int index) {
                form_->ComboPicked(combo, index);
                refresh();
            });
            bindings_.push_back(std::make_unique<ComboBinding>(combo, box));
            break;
        }
        case Kind::CheckBox: {
            auto& check = static_cast<CheckBoxCtl&>(*c);
            auto* box = new QCheckBox;
            placed(box, check);
            connect(box, &QCheckBox::clicked, this, [this, &check] {
                form_->CheckClicked(check);
                refresh();
            });
            bindings_.push_back(std::make_unique<CheckBinding>(check, box));
            break;
        }
        default:
            break;
        }
    }

    // Siblings stack in creation order; raise them bottom to top.
    const std::vector<Control*> order = f.stackingOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        for (const auto& b : bindings_)
            if (&b->control == *it) b->widget->raise();

    QWidget* previous = nullptr;
    for (Control* c : f.tabOrder())
        for (const auto& b : bindings_)
            if (&b->control == c) {
                if (previous != nullptr) QWidget::setTabOrder(previous, b->widget);
                previous = b->widget;
            }

    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(TickMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] {
        form_->TimerTick();
        refresh();
    });

    refresh();
}

MainWindow::~MainWindow() = default;

void MainWindow::load() {
    form_->Load();
    refresh();
}

void MainWindow::refresh() {
    for (const auto& b : bindings_)
        b->sync();
    canvas_->refresh();
    if (form_->Timer1.Enabled != timer_.isActive()) {
        if (form_->Timer1.Enabled)
            timer_.start();
        else
            timer_.stop();
    }
    if (form_->ErrorCount != errorsShown_) showError();
}

void MainWindow::showError() {
    errorsShown_ = form_->ErrorCount;
    if (errorBox_ == nullptr) {
        errorBox_ = new QMessageBox(QMessageBox::Critical, QString::fromLatin1(WindowCaption),
                                    QString(), QMessageBox::Ok, this);
        errorBox_->setObjectName(QStringLiteral("errorWindow"));
        errorBox_->setTextFormat(Qt::PlainText);
        errorBox_->setWindowModality(Qt::NonModal);
    }
    errorBox_->setText(qText(form_->ErrorText));
    errorBox_->show();
    errorBox_->raise();
}

} // namespace orvanta::view
