// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/fit_view.h"

#include "qt/main_window.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <new>

namespace orvanta::view {

namespace {

struct Job {
    explicit Job(fit::WindowFit f) : fit(std::move(f)) {}
    fit::WindowFit fit;
    fit::FitResult result;
    std::string error;
};

} // namespace

FitView::FitView(MainWindow* window) : QObject(window), window_(window) {}

FitView::~FitView() {
    if (thread_ != nullptr) {
        cancelled_->store(true);
        thread_->disconnect(this);
        thread_->wait();
    }
}

void FitView::tell(const QString& title, const QString& text, bool warning) {
    if (message_ != nullptr) message_->close();
    auto* box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information, title,
                                text, QMessageBox::Ok, window_);
    box->setObjectName(QStringLiteral("fitMessage"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->setAttribute(Qt::WA_ShowWithoutActivating); // the window keeps the keyboard (Ctrl+Z)
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message_ = box;
    box->show();
}

void FitView::openDialog() {
    if (busy()) return;
    if (dialog_ != nullptr && dialog_->isVisible()) {
        dialog_->raise();
        return;
    }
    if (const std::string why = fit::cannotFitWhy(window_->form()); !why.empty()) {
        tell(tr("Fit"), QString::fromStdString(why), true);
        return;
    }
    auto* dialog = new QDialog(window_);
    dialog->setObjectName(QStringLiteral("fitDialog"));
    dialog->setWindowTitle(tr("Fit"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(new QLabel(tr("Fit the model to the observed points, from the values in "
                                    "the boxes, over the parameters ticked;\nthe others keep "
                                    "their values. Ctrl+Z puts the values before the fit back."),
                                 dialog));
    std::vector<std::pair<std::string, QCheckBox*>> boxes;
    for (const fit::FitParameter& p : fit::fitParameters()) {
        const std::string name(p.name);
        QString text = QString::fromStdString(name);
        if (!p.unit.empty()) text += QStringLiteral(" (%1)").arg(QString::fromUtf8(p.unit));
        auto* box = new QCheckBox(text, dialog);
        box->setObjectName(QStringLiteral("free-") + QString::fromStdString(name));
        for (const std::string& t : ticked_)
            if (t == name) box->setChecked(true);
        layout->addWidget(box);
        boxes.emplace_back(name, box);
    }
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* startButton = buttons->addButton(tr("Start"), QDialogButtonBox::AcceptRole);
    startButton->setObjectName(QStringLiteral("fitStart"));
    startButton->setDefault(true);
    QPushButton* cancelButton = buttons->addButton(QDialogButtonBox::Cancel);
    cancelButton->setObjectName(QStringLiteral("fitCancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, dialog, [this, dialog, boxes] {
        std::vector<std::string> free;
        for (const auto& [name, box] : boxes)
            if (box->isChecked()) free.push_back(name);
        if (free.empty()) {
            tell(tr("Fit"), tr("Tick at least one parameter to fit."), true);
            return;
        }
        ticked_ = free;
        dialog->accept();
        start(free);
    });
    dialog_ = dialog;
    dialog->open();
}

void FitView::cancel() {
    if (thread_ == nullptr) return;
    cancelled_->store(true);
    thread_->disconnect(this);
    thread_->wait();
    thread_->deleteLater();
    thread_ = nullptr;
    poll_->stop();
    if (progress_ != nullptr) progress_->hide();
}

void FitView::start(const std::vector<std::string>& free) {
    if (busy()) return;
    std::shared_ptr<Job> job;
    try {
        job = std::make_shared<Job>(fit::windowFit(window_->form(), free));
    } catch (const fit::FitError& e) {
        tell(tr("Fit"), QString::fromStdString(e.what()), true);
        return;
    }
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
    permille_ = std::make_shared<std::atomic<int>>(0);
    thread_ = QThread::create([job, cancelled = cancelled_, permille = permille_] {
        fit::FitOptions options;
        options.progress = [&](double done) {
            permille->store(static_cast<int>(done * 1000));
            return !cancelled->load();
        };
        try {
            job->result = fit::fitCurve(job->fit.model, job->fit.start, job->fit.data, options);
        } catch (const fit::FitError& e) {
            job->error = e.what();
        } catch (const std::bad_alloc&) {
            job->error = "there is not enough memory for the fit";
        }
    });
    if (progress_ == nullptr) {
        progress_ = new QProgressDialog(tr("Fitting the model to the observed points\u2026"),
                                        tr("Cancel"), 0, 1000, window_);
        progress_->setObjectName(QStringLiteral("fitProgress"));
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setMinimumDuration(300);
        progress_->setAutoReset(false);
        progress_->setAutoClose(false);
        connect(progress_, &QProgressDialog::canceled, this, [this] {
            if (cancelled_) cancelled_->store(true);
        });
    }
    progress_->reset();
    progress_->setValue(0);
    if (poll_ == nullptr) {
        poll_ = new QTimer(this);
        poll_->setInterval(50);
        connect(poll_, &QTimer::timeout, this, [this] {
            if (permille_ && progress_ != nullptr) progress_->setValue(permille_->load());
            if (cancelled_ && progress_ != nullptr && progress_->wasCanceled())
                cancelled_->store(true);
        });
    }
    poll_->start();
    connect(thread_, &QThread::finished, this, [this, job] {
        thread_->deleteLater();
        thread_ = nullptr;
        poll_->stop();
        progress_->hide();
        if (!job->error.empty()) {
            tell(tr("Fit"),
                 tr("The fit cannot be made: %1").arg(QString::fromStdString(job->error)), true);
            return;
        }
        // Cancelled: the boxes as they were.
        if (job->result.cancelled || cancelled_->load() || progress_->wasCanceled()) return;
        before_ = fit::applyFit(window_->form(), job->fit, job->result);
        window_->refresh();
        tell(tr("Fit result"), QString::fromStdString(fit::fitSummary(job->fit, job->result)),
             false);
        emit finished(job->result);
    });
    thread_->start();
}

bool FitView::undo() {
    if (!before_ || busy()) return false;
    fit::undoFit(window_->form(), *before_);
    before_.reset();
    window_->refresh();
    return true;
}

// ---- the window's side ------------------------------------------------------------------

void MainWindow::startFit() {
    fitView_->openDialog();
}

void MainWindow::undoFit() {
    fitView_->undo();
}

} // namespace orvanta::view
