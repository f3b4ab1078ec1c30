// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic fit in the window (Ctrl+F): the dialog that ticks the free parameters, the
// fit on a worker thread with a progress window and Cancel, the result in the boxes and in a
// message beside the window, and Ctrl+Z back to the values before it.
#pragma once

#include "fit/window_fit.h"
#include "qt/worker_job.h"

#include <QDialog>
#include <QMessageBox>
#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QProgressDialog;

namespace orvanta::view {

class MainWindow;

class FitView : public QObject {
    Q_OBJECT
public:
    explicit FitView(MainWindow* window);
    ~FitView() override;
    FitView(const FitView&) = delete;
    FitView& operator=(const FitView&) = delete;

    /// Ctrl+F: the dialog of the free parameters, or a message when no observed light curve
    /// is shown.
    void openDialog();
    /// Starts a fit over these parameters on a copy of the window's values.
    void start(const std::vector<std::string>& free);
    /// Stops a running fit; the boxes stay as they were.
    void cancel();
    /// Ctrl+Z: the values before the last fit back in their boxes, and a plot. One level:
    /// false when there is nothing to put back.
    bool undo();
    [[nodiscard]] bool canUndo() const { return before_.has_value(); }
    [[nodiscard]] bool busy() const { return worker_->busy(); }
    /// The parameters the dialog ticks: the last choice of this session.
    [[nodiscard]] const std::vector<std::string>& ticked() const { return ticked_; }
    [[nodiscard]] QDialog* dialog() const { return dialog_; }
    [[nodiscard]] QProgressDialog* progress() const { return worker_->progress(); }
    /// The message of the last result or refusal, while it is open.
    [[nodiscard]] QMessageBox* message() const { return message_; }

signals:
    /// A fit's values are in the boxes and the window has plotted them.
    void finished(const orvanta::fit::FitResult& result);

private:
    void tell(const QString& title, const QString& text, bool warning);

    MainWindow* window_;
    std::vector<std::string> ticked_ = fit::defaultWindowFree();
    std::optional<fit::BoxesBefore> before_;
    QPointer<QDialog> dialog_;
    QPointer<QMessageBox> message_;
    WorkerJob* worker_;
};

} // namespace orvanta::view
