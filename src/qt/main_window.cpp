// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/main_window.h"

#include "cli/atomic_file.h"
#include "qt/canvas.h"
#include "qt/credits_box.h"
#include "qt/focus_frame.h"
#include "qt/observed_view.h"
#include "qt/one_row_list.h"
#include "qt/panel_frame.h"
#include "qt/period_view.h"
#include "qt/value_box.h"

#include "ui/error_hint.h"
#include "ui/light_options_form.h"
#include "ui/window_fit.h"

#include "render/curve_table.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStandardPaths>

#include <functional>
#include <map>
#include <string>
#include <string_view>

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

// The client area: the keys that no control in it took come back to the window.
class ClientArea : public QWidget {
public:
    explicit ClientArea(std::function<void(QKeyEvent*)> leftOver)
        : leftOver_(std::move(leftOver)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override { leftOver_(event); }

private:
    std::function<void(QKeyEvent*)> leftOver_;
};

// The stage's hold on the client area. Tab and Shift+Tab go round the client's controls
// as in a window of their own (a proxy alone would stop at the last).
class ClientProxy : public QGraphicsProxyWidget {
protected:
    bool focusNextPrevChild(bool next) override {
        QWidget* from = widget()->focusWidget();
        if (from == nullptr) return QGraphicsProxyWidget::focusNextPrevChild(next);
        for (QWidget* w = from;;) {
            w = next ? w->nextInFocusChain() : w->previousInFocusChain();
            if (w == from) return false;
            if (w != widget() && (w->focusPolicy() & Qt::TabFocus) != 0 && w->isVisible() &&
                w->isEnabled()) {
                w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                return true;
            }
        }
    }
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
    setFont(controlFont(false));
    setWindowIcon(QIcon(QPixmap::fromImage(pictures_.byName["emblem.gif"])));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true); // the bars beside the picture

    // Every control stands in the client area in window pixels, as the layout places it;
    // the stage shows that area scaled to the window.
    client_ = new ClientArea([this](QKeyEvent* event) { keyLeftOver(event); });
    client_->setObjectName(QStringLiteral("Form1"));
    client_->setFixedSize(WindowWidth, WindowHeight);
    client_->setFont(controlFont(false));
    client_->setPalette(pal);

    canvas_ = new Canvas(f, pictures_, client_);
    canvas_->move(0, 0);
    connect(canvas_, &Canvas::handled, this, &MainWindow::refresh);

    std::map<const FrameCtl*, QWidget*> containers = {{nullptr, client_}};
    for (FrameCtl* frame : {&f.Frame1, &f.Frame2}) {
        auto* panel = new PanelFrame(*frame, f, pictures_, client_);
        panel->setFont(controlFont(frame->Bold));
        panel->setCursor(cursorShape(frame->MousePointer));
        frames_.push_back(panel);
        containers[frame] = panel;
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
            if (box.MultiLine) { // the credits
                auto* credits = new CreditsBox;
                placed(credits, box);
                connect(credits, &CreditsBox::doubleClicked, this, [this] {
                    form_->CreditsDoubleClicked();
                    refresh();
                });
                bindings_.push_back(std::make_unique<CreditsBinding>(box, credits));
                break;
            }
            auto* edit = new ValueBox;
            placed(edit, box);
            connect(edit, &QLineEdit::textEdited, this, [this, &box](const QString& text) {
                plottedBox_ = nullptr;
                form_->TextEdited(box, text.toStdString());
                refresh();
            });
            connect(edit, &QLineEdit::returnPressed, this, [this, edit] {
                command(Command::Plot);
                plottedBox_ = edit;
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
            auto* box = new FocusFramed<QComboBox>;
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
            auto* box = new FocusFramed<QCheckBox>;
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

    // The window sees the keys of every input control first (Escape, and its key commands).
    for (const auto& b : bindings_)
        if (b->control.kind != Kind::Frame) b->widget->installEventFilter(this);

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
    timer_.setInterval(tickMilliseconds(pace_));
    connect(&timer_, &QTimer::timeout, this, [this] {
        form_->TimerTick();
        refresh();
    });

    addKeyCommand("exportCurve", QKeySequence(Qt::CTRL | Qt::Key_E), &MainWindow::exportCurve);
    addKeyCommand("savePicture", QKeySequence(Qt::CTRL | Qt::Key_S), &MainWindow::savePicture);
    addKeyCommand("quit", QKeySequence(Qt::CTRL | Qt::Key_Q), &MainWindow::quit);
    addKeyCommand("lightOptions", QKeySequence(Qt::CTRL | Qt::Key_R),
                  &MainWindow::editLightOptions);

    // Observed light curves: dropped on the window, Ctrl+O, Ctrl+Shift+O; Ctrl+Shift+B the next
    // band of a file with several, Ctrl+I what was read.
    loader_ = new ObservedLoader(this);
    connect(loader_, &ObservedLoader::loaded, this, &MainWindow::observedLoaded);
    connect(loader_, &ObservedLoader::failed, this,
            [this](const QString& message) { showMessage(message, true); });
    setAcceptDrops(true);
    for (QWidget* child : client_->findChildren<QWidget*>())
        if (child->acceptDrops()) child->installEventFilter(this); // a file dropped on a box
    addKeyCommand("openObserved", QKeySequence(Qt::CTRL | Qt::Key_O), &MainWindow::chooseObserved);
    addKeyCommand("removeObserved", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
                  &MainWindow::removeObserved);
    addKeyCommand("nextObservedBand", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B),
                  &MainWindow::nextObservedBand);
    addKeyCommand("observedSummary", QKeySequence(Qt::CTRL | Qt::Key_I),
                  &MainWindow::showObservedSummary);
    // A file without a period is searched for one before it is shown.
    periodView_ =
        new PeriodView(this, [this](std::shared_ptr<const ObservedSet> set,
                                    ObservedOverlay::Sample sample, const std::string& note) {
            form_->observedNote = note;
            form_->observed.show(std::move(set), std::move(sample));
            form_->refreshObserved();
            refresh();
        });
    periodView_->setGraph([this] { return form_->observedGraph(true); });
    connect(periodView_, &PeriodView::failed, this,
            [this](const QString& message) { showMessage(message, false); });
    addKeyCommand("findPeriod", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                  &MainWindow::findPeriodAgain);
    addKeyCommand("switchPeriod", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P),
                  &MainWindow::switchPeriod);

    scene_ = new QGraphicsScene(this);
    scene_->setSceneRect(0, 0, WindowWidth, WindowHeight);
    proxy_ = new ClientProxy;
    proxy_->setWidget(client_);
    scene_->addItem(proxy_);
    view_ = new QGraphicsView(scene_, this);
    view_->setObjectName(QStringLiteral("stage"));
    view_->setFrameShape(QFrame::NoFrame);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view_->setBackgroundBrush(Qt::black);
    view_->setAcceptDrops(false); // a drop on the picture reaches the window
    view_->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(view_);

    fullScreenTitle_ = new QLabel(this);
    fullScreenTitle_->setObjectName(QStringLiteral("fullScreenTitle"));
    fullScreenTitle_->setTextFormat(Qt::PlainText);
    fullScreenTitle_->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette titlePalette = fullScreenTitle_->palette();
    titlePalette.setColor(QPalette::WindowText, Qt::white);
    fullScreenTitle_->setPalette(titlePalette);
    fullScreenTitle_->hide();

    // Commands with a modifier or a function key work wherever the focus is; the others come
    // back from the client area when the focused control does not use the key.
    for (const KeyBinding& b : keyBindings()) {
        if (b.onlyOutsideBoxes) continue;
        auto* shortcut = new QShortcut(
            QKeySequence(QString::fromUtf8(b.keys.data(), static_cast<qsizetype>(b.keys.size()))),
            this);
        connect(shortcut, &QShortcut::activated, this, [this, c = b.command] { command(c); });
        keyCommands_.push_back(shortcut->key());
        if (b.command == Command::LeaveFullScreen) {
            leaveFullScreen_ = shortcut;
            shortcut->setEnabled(false);
        }
    }

    const QRect free = screen()->availableGeometry();
    const PictureFit opening = openingSize(free.width(), free.height());
    resize(opening.width, opening.height);
    fitPicture();
    refresh();
}

MainWindow::~MainWindow() {
    // The widgets refer to the model and the pictures, which are members: they go first,
    // not after the members as QWidget's destructor would take them. The scene holds the
    // client area with every control.
    timer_.stop();
    bindings_.clear();
    delete scene_;
    scene_ = nullptr;
    proxy_ = nullptr;
    client_ = nullptr;
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    view_ = nullptr;
    canvas_ = nullptr;
    frames_.clear();
    errorBox_ = nullptr;
}

bool MainWindow::event(QEvent* event) {
    return acceptsDrop(event) || QWidget::event(event);
}

void MainWindow::editLightOptions() {
    if (optionsDialog_ != nullptr && optionsDialog_->isVisible()) {
        optionsDialog_->raise();
        return;
    }
    auto* dialog = new QDialog(this);
    dialog->setObjectName(QStringLiteral("lightOptions"));
    dialog->setWindowTitle(tr("Real stars"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* form = new QFormLayout(dialog);
    form->addRow(new QLabel(tr("Limb darkening I(\u03bc)/I(1) = 1 \u2212 u1(1 \u2212 \u03bc) "
                               "\u2212 u2(1 \u2212 \u03bc)\u00b2; third light: the fraction "
                               "of the whole light outside the eclipses.\nFor this session "
                               "only; all 0 is the uniform discs."),
                            dialog));
    const LightOptionTexts now = textsOf(form_->LightOptions);
    auto box = [&](const char* name, const QString& label, const std::string& text) {
        auto* edit = new QLineEdit(QString::fromStdString(text), dialog);
        edit->setObjectName(QString::fromLatin1(name));
        form->addRow(label, edit);
        return edit;
    };
    QLineEdit* u1A = box("u1A", tr("Star A, u1"), now.u1A);
    QLineEdit* u2A = box("u2A", tr("Star A, u2"), now.u2A);
    QLineEdit* u1B = box("u1B", tr("Star B, u1"), now.u1B);
    QLineEdit* u2B = box("u2B", tr("Star B, u2"), now.u2B);
    QLineEdit* third = box("thirdLight", tr("Third light"), now.thirdLight);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, dialog, [=, this] {
        const auto read = readLightOptions({u1A->text().toStdString(), u2A->text().toStdString(),
                                            u1B->text().toStdString(), u2B->text().toStdString(),
                                            third->text().toStdString()});
        if (const auto* why = std::get_if<std::string>(&read)) {
            showMessage(QString::fromStdString(*why), true);
            return;
        }
        dialog->accept();
        form_->LightOptionsSet(std::get<physics::LightOptions>(read));
        refresh();
    });
    optionsDialog_ = dialog;
    dialog->open();
}

void MainWindow::addKeyCommand(const char* name, const QKeySequence& keys,
                               void (MainWindow::*run)()) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, run);
    addAction(action);
    keyCommands_.push_back(keys);
}

// A text box claims some Ctrl keys for itself (Ctrl+E moves to the end of the line on
// Linux desktops); the window's commands win.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QKeySequence& keys : keyCommands_)
            if (keys == pressed) return true; // not accepted: the shortcut runs
    }
    if (event->type() == QEvent::FocusOut && watched == plottedBox_) plottedBox_ = nullptr;
    if (event->type() == QEvent::KeyPress && watched != canvas_) {
        const std::string keys = portableKeys(static_cast<QKeyEvent*>(event)).toStdString();
        // Escape in a box, list or check box gives the focus back to the picture.
        if (leavesTheBox(keys)) {
            canvas_->setFocus(Qt::OtherFocusReason);
            return true;
        }
        // Right after Enter has plotted, Space plays.
        if (const std::optional<Command> c =
                commandInBox(keys, watched != nullptr && watched == plottedBox_)) {
            command(*c);
            return true;
        }
    }
    if (acceptsDrop(event)) return true;
    return QWidget::eventFilter(watched, event);
}

QSettings MainWindow::settings() {
    return QSettings(QStringLiteral("Orvanta"), QStringLiteral("Orvanta"));
}

QString MainWindow::saveFolder() {
    const QString folder = settings().value(QStringLiteral("saveFolder")).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void MainWindow::askWhereToSave(const QString& title, const QString& fileName,
                                const QString& filter, const QString& suffix,
                                std::function<void(const QString&)> save) {
    if (saveDialog_ != nullptr) saveDialog_->close();
    auto* dialog = new QFileDialog(this, title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(filter);
    dialog->setDefaultSuffix(suffix);
    dialog->setDirectory(saveFolder());
    dialog->selectFile(fileName);
    connect(dialog, &QFileDialog::fileSelected, this,
            [save = std::move(save)](const QString& path) {
                settings().setValue(QStringLiteral("saveFolder"), QFileInfo(path).absolutePath());
                save(path);
            });
    saveDialog_ = dialog;
    dialog->open();
}

void MainWindow::restorePlace() {
    // Qt puts a window whose screen has gone back onto one that is there.
    const QByteArray place = settings().value(QStringLiteral("window/geometry")).toByteArray();
    if (!place.isEmpty()) restoreGeometry(place);
}

void MainWindow::savePlace() {
    settings().setValue(QStringLiteral("window/geometry"), saveGeometry());
}

void MainWindow::quit() {
    close();
}

bool MainWindow::saveFile(const QString& path, const QByteArray& contents) {
    const std::string why = cli::writeFileAtomically(
        QFile::encodeName(path).toStdString(),
        std::string_view(contents.constData(), static_cast<std::size_t>(contents.size())));
    if (why.empty()) return true;
    auto* box =
        new QMessageBox(QMessageBox::Warning, QString::fromLatin1(WindowCaption),
                        tr("The file could not be saved:\n%1\n%2")
                            .arg(QDir::toNativeSeparators(path), QString::fromStdString(why)),
                        QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("saveFailed"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return false;
}

void MainWindow::exportCurve() {
    // The table of the boxes as they are now; the window's own state stays as it is.
    std::string csv;
    bool made = false;
    form_->Run([&] {
        csv = CurveCsv(LightCurveTable(*form_, CurveOptions{form_->LightOptions, false, 0}));
        made = true;
    });
    refresh();
    if (!made) return;
    askWhereToSave(tr("Export Light Curve"), QStringLiteral("light-curve.csv"),
                   tr("CSV files (*.csv)"), QStringLiteral("csv"),
                   [this, data = QByteArray::fromStdString(csv)](const QString& path) {
                       saveFile(path, data);
                   });
}

QImage MainWindow::windowPicture() {
    // The client area at its own 794 x 568 pixels, whatever size the window is shown at.
    const qreal ratio = devicePixelRatioF();
    QImage picture(QSize(WindowWidth, WindowHeight) * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::black);
    client_->render(&picture);
    return picture;
}

void MainWindow::savePicture() {
    // What is shown when the keys are pressed, not when the dialog closes.
    const QImage picture = windowPicture();
    askWhereToSave(tr("Save Window as Picture"), QStringLiteral("orvanta.png"),
                   tr("PNG images (*.png)"), QStringLiteral("png"),
                   [this, picture](const QString& path) {
                       QByteArray png;
                       QBuffer buffer(&png);
                       buffer.open(QIODevice::WriteOnly);
                       picture.save(&buffer, "PNG");
                       saveFile(path, png);
                   });
}

void MainWindow::load() {
    form_->Load();
    refresh();
    canvas_->setFocus(Qt::OtherFocusReason); // keys have a home before any box is clicked
}

double MainWindow::pictureScale() const {
    return view_->transform().m11();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitPicture();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && leaveFullScreen_ != nullptr) {
        leaveFullScreen_->setEnabled(isFullScreen());
        fitPicture();
    }
    if (event->type() == QEvent::ScreenChangeInternal) fitPicture();
}

void MainWindow::fitPicture() {
    if (view_ == nullptr) return;
    PictureFit fit = orvanta::fitPicture(width(), height());
    if (isFullScreen()) fit = fullScreenFit(width(), height()).picture;
    showFullScreenTitle();
    view_->setGeometry(fit.left, fit.top, fit.width, fit.height);
    // Each side fills its whole pixels exactly; the two scales differ by under a pixel.
    const double sx = static_cast<double>(fit.width) / WindowWidth;
    const double sy = static_cast<double>(fit.height) / WindowHeight;
    view_->setTransform(QTransform::fromScale(sx, sy));
    // The picture is composed at its own 794 x 568 pixels, then scaled: every picture pixel
    // a sharp square at whole-number scales (of device pixels), blended in between.
    proxy_->setCacheMode(QGraphicsItem::ItemCoordinateCache);
    const double ratio = devicePixelRatioF();
    view_->setRenderHint(QPainter::SmoothPixmapTransform,
                         smoothAt(sx * ratio) || smoothAt(sy * ratio));
}

void MainWindow::showFullScreenTitle() {
    if (fullScreenTitle_ == nullptr) return;
    if (!isFullScreen()) {
        fullScreenTitle_->hide();
        return;
    }
    const FullScreenFit fit = fullScreenFit(width(), height());
    QFont font = controlFont(false);
    font.setPixelSize(fit.textPixels);
    fullScreenTitle_->setFont(font);
    fullScreenTitle_->setGeometry(fit.left, fit.top, fit.width, fit.height);
    fullScreenTitle_->setWordWrap(fit.wrapped);
    fullScreenTitle_->setAlignment(fit.wrapped ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignCenter);
    const QString title = windowTitle();
    fullScreenTitle_->setText(
        fit.wrapped ? title : QFontMetrics(font).elidedText(title, Qt::ElideRight, fit.width));
    fullScreenTitle_->show();
}

void MainWindow::command(Command command) {
    switch (command) {
    case Command::Faster:
        pace_ = fasterPace(pace_);
        timer_.setInterval(tickMilliseconds(pace_));
        break;
    case Command::Slower:
        pace_ = slowerPace(pace_);
        timer_.setInterval(tickMilliseconds(pace_));
        break;
    case Command::FullScreen:
        setWindowState(windowState() ^ Qt::WindowFullScreen);
        break;
    case Command::LeaveFullScreen:
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        break;
    default:
        runCommand(*form_, command);
        break;
    }
    refresh();
}

QString MainWindow::portableKeys(const QKeyEvent* event) {
    // Shift and the keypad do not change what a key means here ("+" is Shift+= on most
    // layouts); Ctrl, Alt and Meta do.
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return QKeySequence(QKeyCombination(held, static_cast<Qt::Key>(event->key())))
        .toString(QKeySequence::PortableText);
}

void MainWindow::keyLeftOver(QKeyEvent* event) {
    const std::optional<Command> found = commandForKey(portableKeys(event).toStdString());
    if (!found) {
        event->ignore();
        return;
    }
    event->accept();
    command(*found);
}

void MainWindow::refresh() {
    // A box about to be hidden hands its focus to the picture: left to Qt, the focus would
    // pass along the tab chain to a box that selects its text for the next key to replace.
    if (QWidget* focus = client_->focusWidget())
        for (const auto& b : bindings_)
            if (!b->control.Visible && (b->widget == focus || b->widget->isAncestorOf(focus))) {
                canvas_->setFocus(Qt::OtherFocusReason);
                break;
            }
    for (const auto& b : bindings_)
        b->sync();
    canvas_->refresh();
    const QString title = QString::fromStdString(form_->windowTitle());
    if (windowTitle() != title) {
        setWindowTitle(title);
        showFullScreenTitle();
    }
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
    showMessage(qText(form_->ErrorText), true, qText(form_->ErrorHint));
}

void MainWindow::showMessage(const QString& text, bool error, const QString& hint) {
    if (errorBox_ == nullptr) {
        errorBox_ = new QMessageBox(QMessageBox::Critical, QString::fromLatin1(WindowCaption),
                                    QString(), QMessageBox::Ok, this);
        errorBox_->setObjectName(QStringLiteral("errorWindow"));
        errorBox_->setTextFormat(Qt::PlainText);
        errorBox_->setWindowModality(Qt::NonModal);
    }
    errorBox_->setIcon(error ? QMessageBox::Critical : QMessageBox::Warning);
    errorBox_->setText(text);
    errorBox_->setInformativeText(hint); // below the message, when known
    errorBox_->show();
    errorBox_->raise();
}

} // namespace orvanta::view
