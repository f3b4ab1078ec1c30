// SPDX-License-Identifier: GPL-3.0-or-later
// The window: owns the model, shows it, and hands it every user input and timer tick.
#pragma once

#include "core/form1.h"
#include "qt/marks.h"

#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class QMessageBox;

namespace orvanta::view {

class Canvas;
class PanelFrame;
struct Binding;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    [[nodiscard]] Form1& form() { return *form_; }
    /// Runs the model's load event once the widgets exist, then shows its result.
    void load();
    /// Shows what the model holds now: widget values, the picture, the timer, the error
    /// window. Runs after every event handed to the model.
    void refresh();

    [[nodiscard]] Canvas* canvas() const { return canvas_; }
    [[nodiscard]] const QTimer& animationTimer() const { return timer_; }
    /// The error window, or nullptr before the first error.
    [[nodiscard]] QMessageBox* errorWindow() const { return errorBox_; }

    /// The animation's pace: the model asks for 1 ms ticks; about 60 steps a second.
    static constexpr int TickMilliseconds = 16;

private:
    void showError();

    std::unique_ptr<Form1> form_;
    Pictures pictures_;
    Canvas* canvas_ = nullptr;
    std::vector<PanelFrame*> frames_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    QTimer timer_;
    QMessageBox* errorBox_ = nullptr;
    unsigned errorsShown_ = 0;
};

} // namespace orvanta::view
