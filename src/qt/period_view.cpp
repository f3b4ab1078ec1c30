// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/period_view.h"

#include "qt/main_window.h"

#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <new>

namespace orvanta::view {

namespace {

struct Search {
    std::shared_ptr<const ObservedSet> set;
    ObservedOverlay::Graph graph;
    /// The set folded on the period found, and its sample: made beside the search.
    std::shared_ptr<const ObservedSet> shown;
    ObservedOverlay::Sample sample;
    std::optional<FoundPeriod> found;
    std::string error;
    bool cancelled = false;
};

} // namespace

PeriodView::PeriodView(QWidget* window, Show show)
    : QObject(window), window_(window), show_(std::move(show)) {}

PeriodView::~PeriodView() {
    if (thread_ != nullptr) {
        cancelled_->store(true);
        thread_->wait();
    }
}

void PeriodView::loaded(const std::shared_ptr<const ObservedSet>& set,
                        const std::shared_ptr<const ObservedOverlay::Sample>& sample) {
    cancel();
    found_.reset();
    set_ = set;
    if (needsPeriodSearch(*set)) {
        start(set_);
        return;
    }
    show_(set, sample ? *sample : ObservedOverlay::Sample{}, {});
}

void PeriodView::searchAgain() {
    if (!set_ || set_->phased || busy()) return;
    start(set_);
}

bool PeriodView::switchCandidate() {
    if (!set_ || !found_ || busy() || !found_->switchCandidate()) return false;
    auto set = std::make_shared<ObservedSet>(*set_);
    applyFoundPeriod(*set, *found_);
    show_(std::move(set), {}, found_->note());
    return true;
}

void PeriodView::forget() {
    cancel();
    set_.reset();
    found_.reset();
}

void PeriodView::cancel() {
    if (thread_ == nullptr) return;
    cancelled_->store(true);
    thread_->disconnect(this);
    thread_->wait();
    thread_->deleteLater();
    thread_ = nullptr;
    poll_->stop();
    if (progress_ != nullptr) progress_->hide();
}

void PeriodView::start(const std::shared_ptr<const ObservedSet>& set) {
    cancel();
    auto job = std::make_shared<Search>();
    job->set = set;
    if (graph_) job->graph = graph_();
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
    permille_ = std::make_shared<std::atomic<int>>(0);
    thread_ = QThread::create([job, cancelled = cancelled_, permille = permille_] {
        try {
            job->found = findPeriodOf(*job->set, [&](double done) {
                permille->store(static_cast<int>(done * 1000));
                return !cancelled->load();
            });
            if (job->found) {
                auto shown = std::make_shared<ObservedSet>(*job->set);
                applyFoundPeriod(*shown, *job->found);
                job->sample = ObservedOverlay::sample(*shown, job->graph);
                job->shown = std::move(shown);
            }
        } catch (const analysis::PeriodSearchError& e) {
            job->error = e.what();
        } catch (const analysis::PeriodSearchCancelled&) {
            job->cancelled = true;
        } catch (const std::bad_alloc&) {
            job->error = "there is not enough memory for the search";
        }
    });
    // The progress window appears only if the search takes more than a moment.
    if (progress_ == nullptr) {
        progress_ = new QProgressDialog(QStringLiteral("Finding the period in the data\u2026"),
                                        QStringLiteral("Cancel"), 0, 1000, window_);
        progress_->setObjectName(QStringLiteral("periodProgress"));
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setMinimumDuration(500);
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
        });
    }
    poll_->start();
    connect(thread_, &QThread::finished, this, [this, job] {
        thread_->deleteLater();
        thread_ = nullptr;
        poll_->stop();
        progress_->hide();
        if (job->found) {
            found_ = job->found;
            show_(job->shown, std::move(job->sample), found_->note());
        } else {
            // Cancelled or nothing found: the points as read, folded as before.
            found_.reset();
            show_(job->set, {}, {});
            if (!job->cancelled)
                emit failed(QString::fromStdString(periodNotFoundText(job->set->name, job->error)));
        }
        emit finished();
    });
    thread_->start();
}

} // namespace orvanta::view

// ---- the window's side ------------------------------------------------------------------

namespace orvanta::view {

void MainWindow::findPeriodAgain() {
    periodView_->searchAgain();
}

void MainWindow::switchPeriod() {
    periodView_->switchCandidate();
}

} // namespace orvanta::view
