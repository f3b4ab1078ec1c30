// SPDX-License-Identifier: GPL-3.0-or-later
// The window: builds the controls' widgets on the stage, and shows the model after every event.
#include "qt/main_window.h"

#include "qt/analysis_panel.h"
#include "qt/bindings.h"
#include "qt/canvas.h"
#include "qt/credits_box.h"
#include "qt/fit_view.h"
#include "qt/focus_frame.h"
#include "qt/observed_view.h"
#include "qt/one_row_list.h"
#include "qt/panel_frame.h"
#include "qt/period_view.h"
#include "qt/stage.h"
#include "qt/value_box.h"

#include "ui/window_fit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>

#include <map>
#include <string>
#include <vector>

namespace orvanta::view {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), form_(std::make_unique<Form1>()) {
    pictures_ = Pictures::load();
    Form1& f = *form_;
    setWindowTitle(QString::fromLatin1(WindowCaption));
    setFont(controlFont(false));
    setWindowIcon(QIcon(QPixmap::fromImage(pictures_.byName["emblem.gif"])));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true); // the bars beside the picture
    setDockOptions(QMainWindow::AllowTabbedDocks);
    centre_ = new QWidget(this);
    centre_->setObjectName(QStringLiteral("pictureArea"));
    centre_->setPalette(pal);
    centre_->setAutoFillBackground(true);
    centre_->installEventFilter(this); // its resizes refit the picture
    setCentralWidget(centre_);

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
        bindings_.push_back(bindFrame(*frame, panel));
    }

    auto placed = [&](QWidget* w, Control& c) {
        w->setParent(containers.at(c.Container));
        w->setObjectName(QString::fromStdString(c.Name));
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
                bindings_.push_back(bindCredits(box, credits));
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
            bindings_.push_back(bindTextBox(box, edit));
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
            bindings_.push_back(bindList(list, view));
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
            bindings_.push_back(bindCombo(combo, box));
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
            bindings_.push_back(bindCheck(check, box));
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
    connect(loader_, &ObservedLoader::velocitiesLoaded, this, &MainWindow::velocitiesLoaded);
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
    fitView_ = new FitView(this);
    connect(fitView_, &FitView::finished, this, &MainWindow::fitFinished);
    addKeyCommand("fit", QKeySequence(Qt::CTRL | Qt::Key_F), &MainWindow::startFit);
    addKeyCommand("undoFit", QKeySequence(Qt::CTRL | Qt::Key_Z), &MainWindow::undoFit);

    scene_ = new QGraphicsScene(this);
    scene_->setSceneRect(0, 0, WindowWidth, WindowHeight);
    proxy_ = new ClientProxy;
    proxy_->setWidget(client_);
    scene_->addItem(proxy_);
    view_ = new QGraphicsView(scene_, centre_);
    view_->setObjectName(QStringLiteral("stage"));
    view_->setFrameShape(QFrame::NoFrame);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view_->setBackgroundBrush(Qt::black);
    view_->setAcceptDrops(false); // a drop on the picture reaches the window
    view_->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(view_);

    fullScreenTitle_ = new QLabel(centre_);
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

    // The analysis panel beside the picture: hidden until F9; Ctrl+P writes the worksheet.
    panel_ = new AnalysisPanel(*this);
    addDockWidget(Qt::RightDockWidgetArea, panel_);
    panel_->hide();
    connect(panel_, &QDockWidget::visibilityChanged, this, [this] { fitPicture(); });
    connect(panel_, &QDockWidget::topLevelChanged, this, [this] { fitPicture(); });
    connect(this, &MainWindow::fitFinished, panel_, &AnalysisPanel::showFit);
    connect(this, &MainWindow::velocityFitChanged, panel_, &AnalysisPanel::showVelocities);
    connect(this, &MainWindow::velocitiesChanged, panel_, &AnalysisPanel::showVelocities);
    addKeyCommand("togglePanel", QKeySequence(Qt::Key_F9), &MainWindow::togglePanel);
    addKeyCommand("writeWorksheet", QKeySequence(Qt::CTRL | Qt::Key_P),
                  &MainWindow::writeWorksheet);

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
    return acceptsDrop(event) || QMainWindow::event(event);
}

void MainWindow::quit() {
    close();
}

void MainWindow::load() {
    form_->Load();
    refresh();
    canvas_->setFocus(Qt::OtherFocusReason); // keys have a home before any box is clicked
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
    followVelocities();
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
    if (panel_ != nullptr) panel_->modelChanged();
}

void MainWindow::showError() {
    errorsShown_ = form_->ErrorCount;
    showMessage(QString::fromStdString(form_->ErrorText), true,
                QString::fromStdString(form_->ErrorHint));
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
