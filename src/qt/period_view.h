// SPDX-License-Identifier: GPL-3.0-or-later
// The period search of an observed light curve in the window: on a worker thread, with a
// progress window and Cancel when it takes more than a moment, and the switch between two
// close candidates.
#pragma once

#include "qt/worker_job.h"
#include "render/observed_overlay.h"
#include "ui/found_period.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace orvanta::view {

class PeriodView : public QObject {
    Q_OBJECT
public:
    /// `show` puts a set over the graph, with its sample when one was taken (for the graph
    /// shown then), and the note for the title (empty: none).
    using Show = std::function<void(std::shared_ptr<const ObservedSet>, ObservedOverlay::Sample,
                                    const std::string& note)>;
    PeriodView(QWidget* window, Show show);
    /// What the graph shows, for the sample taken beside a search.
    void setGraph(std::function<ObservedOverlay::Graph()> graph) { graph_ = std::move(graph); }
    ~PeriodView() override;
    PeriodView(const PeriodView&) = delete;
    PeriodView& operator=(const PeriodView&) = delete;

    /// A set just read, with its sample: searched first when it has no period of its own,
    /// else shown.
    void loaded(const std::shared_ptr<const ObservedSet>& set,
                const std::shared_ptr<const ObservedOverlay::Sample>& sample = nullptr);
    /// Searches the set shown last again, its own period or not (Ctrl+Shift+P).
    void searchAgain();
    /// Folds on the other candidate of the last search (Ctrl+Alt+P); false when none.
    bool switchCandidate();
    /// Forgets the set (the points were removed).
    void forget();
    /// Whether a search is running.
    [[nodiscard]] bool busy() const { return worker_->busy(); }
    [[nodiscard]] const std::optional<FoundPeriod>& found() const { return found_; }

signals:
    /// A search could not find a period; the message is the window's text.
    void failed(const QString& message);
    /// A search ended (found, failed or cancelled).
    void finished();

private:
    void start(const std::shared_ptr<const ObservedSet>& set);
    void cancel();

    Show show_;
    std::function<ObservedOverlay::Graph()> graph_;
    std::shared_ptr<const ObservedSet> set_; ///< as read, without a period found
    std::optional<FoundPeriod> found_;
    WorkerJob* worker_;
};

} // namespace orvanta::view
