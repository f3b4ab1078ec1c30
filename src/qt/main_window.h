// The window: owns the model, shows it, and hands it every user input and timer tick.
#pragma once

#include "core/form1.h"
#include "qt/marks.h"
#include "ui/keyboard.h"

#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class QGraphicsProxyWidget;
class QGraphicsScene;
class QGraphicsView;
class QMessageBox;
class QKeyEvent;
class QShortcut;

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

    /// The 794 x 568 client area where every control stands as the layout places it, shown
    /// scaled to fit the window in `stage()`.
    [[nodiscard]] QWidget* client() const { return client_; }
    [[nodiscard]] QGraphicsView* stage() const { return view_; }
    /// Window pixels per client pixel.
    [[nodiscard]] double pictureScale() const;

    /// Runs a command of the keyboard table.
    void command(Command command);
    /// The animation's pace, steps a second.
    [[nodiscard]] int pace() const { return pace_; }

    [[nodiscard]] Canvas* canvas() const { return canvas_; }
    [[nodiscard]] const QTimer& animationTimer() const { return timer_; }
    /// The error window, or nullptr before the first error.
    [[nodiscard]] QMessageBox* errorWindow() const { return errorBox_; }

    /// The animation's pace at start: the model asks for 1 ms ticks; about 60 steps a second.
    static constexpr int TickMilliseconds = 16;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showError();
    void fitPicture();
    void keyLeftOver(QKeyEvent* event);

    std::unique_ptr<Form1> form_;
    Pictures pictures_;
    QWidget* client_ = nullptr;
    QGraphicsScene* scene_ = nullptr;
    QGraphicsView* view_ = nullptr;
    QGraphicsProxyWidget* proxy_ = nullptr;
    QShortcut* leaveFullScreen_ = nullptr;
    int pace_ = DefaultPace;
    Canvas* canvas_ = nullptr;
    std::vector<PanelFrame*> frames_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    QTimer timer_;
    QMessageBox* errorBox_ = nullptr;
    unsigned errorsShown_ = 0;
};

} // namespace orvanta::view
