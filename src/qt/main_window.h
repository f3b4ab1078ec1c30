// SPDX-License-Identifier: GPL-3.0-or-later
// The window: owns the model, shows it, and hands it every user input and timer tick.
#pragma once

#include "fit/least_squares.h"
#include "fit/velocity_fit.h"
#include "form1.h"
#include "qt/marks.h"
#include "ui/keyboard.h"

#include <QDialog>
#include <QFileDialog>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QGraphicsProxyWidget;
class QGraphicsScene;
class QGraphicsView;

namespace orvanta {
struct ObservedSet;
}

class QLabel;
class QLineEdit;
class QMessageBox;
class QSettings;
class QKeyEvent;
class QShortcut;

namespace orvanta::view {

class Canvas;
class FitView;
class ObservedLoader;
class AnalysisPanel;
class PeriodView;
class PanelFrame;
struct Binding;

class MainWindow : public QMainWindow {
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
    /// The title shown in the bars in full screen (hidden otherwise).
    [[nodiscard]] const QLabel* fullScreenTitle() const { return fullScreenTitle_; }

    /// Reads an observed light curve off the event loop and shows it over the graph; a file
    /// that cannot be used is reported and changes nothing.
    void openObserved(const QString& path);
    /// Ctrl+O: the standard open dialog, in the folder last chosen.
    void chooseObserved();
    /// Ctrl+Shift+O: removes the observed points and the radial velocities.
    void removeObserved();
    /// The radial velocities opened (beside any light curve, by the same commands), or none.
    [[nodiscard]] std::shared_ptr<const VelocitySet> velocities() const;
    /// Their fit with the model's orbit as it stands now, or none (no velocities, or none
    /// possible: `velocityMasses().failure()` says why).
    [[nodiscard]] const std::optional<fit::VelocityFit>& velocityFit() const;
    [[nodiscard]] const fit::VelocityMasses& velocityMasses() const { return velocityMasses_; }
    /// Forgets the radial velocities, keeping any light curve.
    void removeVelocities();
    /// Ctrl+Shift+B: reads the file again keeping its next band (of a file with several).
    void nextObservedBand();
    /// Ctrl+I: what was read of the file shown.
    void showObservedSummary();
    [[nodiscard]] const ObservedLoader& observedLoader() const { return *loader_; }
    /// Ctrl+Shift+P: finds the period of the observed points in their times again (a file
    /// without a period is searched as it opens), and folds on it.
    void findPeriodAgain();
    /// Ctrl+Alt+P: folds on the other of two close candidates of the last search.
    void switchPeriod();
    [[nodiscard]] const PeriodView& periodView() const { return *periodView_; }
    /// Ctrl+E: the light curve of the boxes as CSV, saved through a file dialog. A run-time
    /// error shows in the error window instead, and no dialog opens.
    void exportCurve();
    /// Ctrl+R: the dialog of the options of real stars (limb darkening, third light), kept
    /// for this session only. OK with a box at fault explains it and keeps the options.
    void editLightOptions();
    /// The dialog of the options while it is open.
    [[nodiscard]] QDialog* lightOptionsDialog() const { return optionsDialog_; }
    /// Ctrl+F: the automatic fit of the observed points (qt/fit_view.h).
    void startFit();
    /// Ctrl+Z: the values before the last automatic fit back in their boxes (one level).
    void undoFit();
    [[nodiscard]] FitView& fitView() const { return *fitView_; }
    /// Ctrl+S: the window as shown now, saved as PNG through a file dialog.
    void savePicture();
    /// The client area as shown, at the screen's device pixel ratio (794 x 568 at 1).
    [[nodiscard]] QImage windowPicture();
    /// Writes the file whole or not at all, through a symbolic link and keeping an existing
    /// file's permissions; says why in a message box when it cannot (a folder, a device or
    /// a FIFO is refused).
    bool saveFile(const QString& path, const QByteArray& contents);
    /// The save dialog opened last, while it is open.
    [[nodiscard]] QFileDialog* saveDialog() const { return saveDialog_; }
    /// The folder the save dialogs open in: the one last saved to, else the documents.
    [[nodiscard]] static QString saveFolder();
    /// F9: shows or hides the analysis panel beside the picture.
    void togglePanel();
    /// The analysis panel (a dock, hidden at the first start).
    [[nodiscard]] AnalysisPanel* panel() const { return panel_; }
    /// Ctrl+P: the worksheet (a PDF and a CSV beside it) through the standard save dialog.
    void writeWorksheet();
    /// Writes the worksheet to `pdfPath` and its numbers to the CSV beside it (the same name
    /// ending in .csv); false, with a message box, when either cannot be written. The
    /// window's state is as before afterwards.
    bool writeWorksheetTo(const QString& pdfPath);
    /// Where the window keeps what it remembers: the dialogs' folders, its size, place and
    /// full-screen state (~/.config/Orvanta/Orvanta.conf).
    [[nodiscard]] static QSettings settings();
    /// The size, place and full-screen state of the last run, on a screen that is still
    /// there; the opening size when there is none. Call before show().
    void restorePlace();
    /// Remembers the size, place and full-screen state, and the panel's (shown, floating,
    /// where), for the next run.
    void savePlace();

    /// The animation's pace at start: the model asks for 1 ms ticks; about 60 steps a second.
    static constexpr int TickMilliseconds = 16;

signals:
    /// An automatic fit's values are in the boxes and plotted.
    void fitFinished(const orvanta::fit::FitResult& result);
    /// A radial-velocity file was loaded, or the velocities removed.
    void velocitiesChanged();
    /// The velocities were fitted again: loaded, or the model's parameters changed.
    void velocityFitChanged();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    /// Ctrl+Q: closes the window, which ends the program.
    void quit();
    void showError();
    QPointer<QDialog> optionsDialog_;
    /// Shows a text in the one error window, as an error or as a warning, with an
    /// explanation below it when there is one.
    void showMessage(const QString& text, bool error, const QString& hint = {});
    void observedLoaded(const std::shared_ptr<const ObservedSet>& set,
                        const std::shared_ptr<const ObservedOverlay::Sample>& sample);
    void velocitiesLoaded(const std::shared_ptr<const VelocitySet>& set);
    /// Fits the velocities again when the model's parameters changed, for the title.
    void followVelocities();
    fit::VelocityMasses velocityMasses_;
    QString openingPath_; ///< the file being read
    /// Takes a drag or drop of one local file as a file to open.
    bool acceptsDrop(QEvent* event);
    void fitPicture();
    /// The area the picture and its bars fill: the whole window unless the panel is docked
    /// beside it.
    [[nodiscard]] QSize pictureArea() const;
    void keyLeftOver(QKeyEvent* event);
    /// A key in portable text as the keyboard table has it ("Space", "Ctrl+L", "Esc").
    static QString portableKeys(const QKeyEvent* event);
    void addKeyCommand(const char* name, const QKeySequence& keys, void (MainWindow::*run)());
    void askWhereToSave(const QString& title, const QString& fileName, const QString& filter,
                        const QString& suffix, std::function<void(const QString&)> save);

    std::unique_ptr<Form1> form_;
    Pictures pictures_;
    QWidget* client_ = nullptr;
    /// The central widget: the picture between its black bars.
    QWidget* centre_ = nullptr;
    AnalysisPanel* panel_ = nullptr;
    QGraphicsScene* scene_ = nullptr;
    QGraphicsView* view_ = nullptr;
    QGraphicsProxyWidget* proxy_ = nullptr;
    QShortcut* leaveFullScreen_ = nullptr;
    /// The window's title inside the black bars while the window is full screen.
    QLabel* fullScreenTitle_ = nullptr;
    void showFullScreenTitle();
    int pace_ = DefaultPace;
    Canvas* canvas_ = nullptr;
    std::vector<PanelFrame*> frames_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    QTimer timer_;
    QMessageBox* errorBox_ = nullptr;
    unsigned errorsShown_ = 0;
    ObservedLoader* loader_ = nullptr;
    QString observedPath_; ///< the file last opened, read again for another band
    PeriodView* periodView_ = nullptr;
    FitView* fitView_ = nullptr;
    QPointer<QFileDialog> saveDialog_;
    std::vector<QKeySequence> keyCommands_;
    /// The value box in which Enter last plotted, until it is edited or left.
    QPointer<QLineEdit> plottedBox_;
};

} // namespace orvanta::view
