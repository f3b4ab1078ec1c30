// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/fit_view.h"

#include "qt/main_window.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
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

FitView::FitView(MainWindow* window)
    : QObject(window), window_(window),
      worker_(new WorkerJob(this, window, tr("Fitting the model to the observed points\u2026"),
                            QStringLiteral("fitProgress"), 300)) {}

// The worker, a child, stops the fit and waits for it.
FitView::~FitView() = default;

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
    worker_->cancel();
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
    worker_->run(
        [job](const WorkerJob::Flags& flags) {
            fit::FitOptions options;
            options.progress = [&](double done) { return flags.report(done); };
            try {
                job->result = fit::fitCurve(job->fit.model, job->fit.start, job->fit.data, options);
            } catch (const fit::FitError& e) {
                job->error = e.what();
            } catch (const std::bad_alloc&) {
                job->error = "there is not enough memory for the fit";
            }
        },
        [this, job] {
            if (!job->error.empty()) {
                tell(tr("Fit"),
                     tr("The fit cannot be made: %1").arg(QString::fromStdString(job->error)),
                     true);
                return;
            }
            // Cancelled: the boxes as they were.
            if (job->result.cancelled || worker_->cancelled()) return;
            before_ = fit::applyFit(window_->form(), job->fit, job->result);
            window_->refresh();
            tell(tr("Fit result"), QString::fromStdString(fit::fitSummary(job->fit, job->result)),
                 false);
            emit finished(job->result);
        });
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
