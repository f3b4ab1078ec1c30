// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/worker_job.h"

#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace orvanta::view {

bool WorkerJob::Flags::report(double done) const {
    permille->store(static_cast<int>(done * 1000));
    return !cancelled->load();
}

WorkerJob::WorkerJob(QObject* parent, QWidget* window, QString text, QString objectName,
                     int minimumMs)
    : QObject(parent), window_(window), text_(std::move(text)), objectName_(std::move(objectName)),
      minimumMs_(minimumMs) {}

WorkerJob::~WorkerJob() {
    if (thread_ != nullptr) {
        flags_.cancelled->store(true);
        thread_->disconnect(this);
        thread_->wait();
    }
}

void WorkerJob::run(std::function<void(const Flags&)> work, std::function<void()> done) {
    cancel();
    flags_ = Flags{};
    thread_ = QThread::create([work = std::move(work), flags = flags_] { work(flags); });
    if (progress_ == nullptr) {
        progress_ = new QProgressDialog(text_, tr("Cancel"), 0, 1000, window_);
        progress_->setObjectName(objectName_);
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setMinimumDuration(minimumMs_);
        progress_->setAutoReset(false);
        progress_->setAutoClose(false);
        connect(progress_, &QProgressDialog::canceled, this,
                [this] { flags_.cancelled->store(true); });
    }
    progress_->reset();
    progress_->setValue(0);
    if (poll_ == nullptr) {
        poll_ = new QTimer(this);
        poll_->setInterval(50);
        connect(poll_, &QTimer::timeout, this, [this] {
            progress_->setValue(flags_.permille->load());
            if (progress_->wasCanceled()) flags_.cancelled->store(true);
        });
    }
    poll_->start();
    connect(thread_, &QThread::finished, this, [this, done = std::move(done)] {
        thread_->deleteLater();
        thread_ = nullptr;
        stop();
        done();
    });
    thread_->start();
}

void WorkerJob::cancel() {
    if (thread_ == nullptr) return;
    flags_.cancelled->store(true);
    thread_->disconnect(this);
    thread_->wait();
    thread_->deleteLater();
    thread_ = nullptr;
    stop();
}

bool WorkerJob::cancelled() const {
    return flags_.cancelled->load() || (progress_ != nullptr && progress_->wasCanceled());
}

void WorkerJob::stop() {
    poll_->stop();
    progress_->hide();
}

} // namespace orvanta::view
