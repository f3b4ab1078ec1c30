// SPDX-License-Identifier: GPL-3.0-or-later
// Work slower than a moment on a worker thread, with a progress window and Cancel: the work
// reports its share done and reads Cancel through `Flags`; the event loop shows the share
// every 50 ms and runs `done` when the thread ends.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QProgressDialog;
class QThread;
class QTimer;
class QWidget;

namespace orvanta::view {

class WorkerJob : public QObject {
    Q_OBJECT
public:
    /// What the work and the window share.
    struct Flags {
        std::shared_ptr<std::atomic<bool>> cancelled = std::make_shared<std::atomic<bool>>(false);
        std::shared_ptr<std::atomic<int>> permille = std::make_shared<std::atomic<int>>(0);
        /// For the work's progress callback: keeps the share done (0 to 1); false once
        /// Cancel is pressed.
        bool report(double done) const;
    };

    /// The progress window over `window`, with `text` and `objectName`, shows once the work
    /// has taken `minimumMs`. Owned by `parent`, whose `done` it runs.
    WorkerJob(QObject* parent, QWidget* window, QString text, QString objectName, int minimumMs);
    /// Cancels the work and waits for it.
    ~WorkerJob() override;
    WorkerJob(const WorkerJob&) = delete;
    WorkerJob& operator=(const WorkerJob&) = delete;

    /// Runs `work` on a new thread, then `done` on the event loop (not after cancel()).
    void run(std::function<void(const Flags&)> work, std::function<void()> done);
    /// Cancels running work and waits for it; its `done` does not run.
    void cancel();
    [[nodiscard]] bool busy() const { return thread_ != nullptr; }
    /// Whether Cancel was pressed for the last work.
    [[nodiscard]] bool cancelled() const;
    /// The progress window, once work has run.
    [[nodiscard]] QProgressDialog* progress() const { return progress_; }

private:
    void stop();

    QWidget* window_;
    QString text_, objectName_;
    int minimumMs_;
    QThread* thread_ = nullptr;
    QTimer* poll_ = nullptr;
    QProgressDialog* progress_ = nullptr;
    Flags flags_;
};

} // namespace orvanta::view
