// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/period_view.h"

#include "qt/main_window.h"

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

// The progress window appears only if the search takes more than a moment.
PeriodView::PeriodView(QWidget* window, Show show)
    : QObject(window), show_(std::move(show)),
      worker_(new WorkerJob(this, window, tr("Finding the period in the data\u2026"),
                            QStringLiteral("periodProgress"), 500)) {}

// The worker, a child, stops the search and waits for it.
PeriodView::~PeriodView() = default;

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
    worker_->cancel();
}

void PeriodView::start(const std::shared_ptr<const ObservedSet>& set) {
    cancel();
    auto job = std::make_shared<Search>();
    job->set = set;
    if (graph_) job->graph = graph_();
    worker_->run(
        [job](const WorkerJob::Flags& flags) {
            try {
                job->found =
                    findPeriodOf(*job->set, [&](double done) { return flags.report(done); });
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
        },
        [this, job] {
            if (job->found) {
                found_ = job->found;
                show_(job->shown, std::move(job->sample), found_->note());
            } else {
                // Cancelled or nothing found: the points as read, folded as before.
                found_.reset();
                show_(job->set, {}, {});
                if (!job->cancelled)
                    emit failed(
                        QString::fromStdString(periodNotFoundText(job->set->name, job->error)));
            }
            emit finished();
        });
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
