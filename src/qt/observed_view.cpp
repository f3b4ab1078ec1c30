// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/observed_view.h"

#include "qt/canvas.h"
#include "qt/main_window.h"
#include "qt/period_view.h"
#include "render/observed_fit.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>
#include <QThread>

#include <algorithm>
#include <new>

namespace orvanta::view {

namespace {

struct Job {
    std::string path; ///< in the file system's encoding
    std::string name; ///< UTF-8, as shown
    ObservedOptions options;
    ObservedOverlay::Graph graph;
    unsigned generation = 0;
    std::shared_ptr<const ObservedSet> set;
    std::shared_ptr<const VelocitySet> velocities;
    std::shared_ptr<const ObservedOverlay::Sample> sample;
    std::string error;
};

QString qText(const std::string& s) {
    return QString::fromStdString(s);
}

/// The one local file of a drag, or nothing.
std::optional<QString> droppedFile(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls() || mime->urls().size() != 1) return std::nullopt;
    const QUrl url = mime->urls().front();
    if (!url.isLocalFile()) return std::nullopt;
    return url.toLocalFile();
}

constexpr const char* FolderKey = "observed/folder";

} // namespace

ObservedLoader::~ObservedLoader() {
    for (QThread* t : threads_) {
        t->wait();
        delete t;
    }
}

void ObservedLoader::load(const QString& path, const ObservedOverlay::Graph& graph,
                          const std::optional<std::string>& band) {
    auto job = std::make_shared<Job>();
    job->options.band = band;
    job->graph = graph;
    job->path = QFile::encodeName(path).toStdString();
    job->name = QFileInfo(path).fileName().toStdString();
    job->generation = ++generation_;
    pending_ = true;
    QThread* thread = QThread::create([job] {
        try {
            ObservedFile file = readObservedFile(job->path, job->name, job->options);
            if (auto* v = std::get_if<VelocitySet>(&file)) {
                job->velocities = std::make_shared<const VelocitySet>(std::move(*v));
            } else {
                auto set = std::make_shared<const ObservedSet>(
                    prepareObserved(std::move(std::get<ObservedData>(file))));
                // Folded (and a large set thinned) for the graph, so that showing it is quick.
                job->sample = std::make_shared<const ObservedOverlay::Sample>(
                    ObservedOverlay::sample(*set, job->graph));
                job->set = std::move(set);
            }
        } catch (const DataFileError& e) {
            job->error = e.what();
        } catch (const std::bad_alloc&) {
            job->error = "there is not enough memory to read it";
        }
    });
    threads_.push_back(thread);
    connect(thread, &QThread::finished, this, [this, job, thread] {
        std::erase(threads_, thread);
        thread->deleteLater();
        if (job->generation != generation_) return;
        pending_ = false;
        if (job->velocities)
            emit velocitiesLoaded(job->velocities);
        else if (job->set)
            emit loaded(job->set, job->sample);
        else
            emit failed(qText(observedErrorText(job->name, job->error)));
    });
    thread->start();
}

// ---- the window's side ------------------------------------------------------------------

void MainWindow::openObserved(const QString& path) {
    openingPath_ = path;
    loader_->load(path, form_->observedGraph(true));
}

void MainWindow::nextObservedBand() {
    const ObservedSet* set = form_->observed.set();
    if (set == nullptr || set->bands.size() < 2 || !set->band || loader_->busy()) return;
    const auto at = std::find(set->bands.begin(), set->bands.end(), *set->band);
    const std::size_t next =
        at == set->bands.end()
            ? 0
            : (static_cast<std::size_t>(at - set->bands.begin()) + 1) % set->bands.size();
    openingPath_ = observedPath_;
    loader_->load(observedPath_, form_->observedGraph(true), set->bands[next]);
}

void MainWindow::showObservedSummary() {
    std::string text;
    if (const ObservedSet* set = form_->observed.set()) text = observedSummaryText(*set);
    if (form_->velocities) text += (text.empty() ? "" : "\n\n") + velocityMasses_.summary();
    if (!text.empty()) showMessage(qText(text), false);
}

void MainWindow::chooseObserved() {
    auto* dialog = new QFileDialog(this, QStringLiteral("Open an observed light curve"));
    dialog->setObjectName(QStringLiteral("observedDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilters(
        {QStringLiteral("Light curves (*.txt *.csv *.dat *.tsv *.fits *.fit *.fts)"),
         QStringLiteral("All files (*)")});
    const QString folder = settings().value(QString::fromLatin1(FolderKey)).toString();
    if (!folder.isEmpty()) dialog->setDirectory(folder);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
        settings().setValue(QString::fromLatin1(FolderKey), QFileInfo(file).absolutePath());
        openObserved(file);
    });
    dialog->open();
}

void MainWindow::removeObserved() {
    removeVelocities();
    periodView_->forget();
    form_->observedNote.clear();
    form_->observed.remove();
    form_->refreshObserved();
    refresh();
}

void MainWindow::observedLoaded(const std::shared_ptr<const ObservedSet>& set,
                                const std::shared_ptr<const ObservedOverlay::Sample>& sample) {
    // A file read as it was meant to be says nothing; anything else is said on loading.
    observedPath_ = openingPath_;
    const std::string summary = set->notable ? observedSummaryText(*set) : std::string();
    periodView_->loaded(set, sample); // shown now, or once its period is found
    if (!summary.empty()) showMessage(qText(summary), false);
}

bool MainWindow::acceptsDrop(QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!droppedFile(drag->mimeData())) return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::optional<QString> file = droppedFile(drop->mimeData());
        if (!file) return false;
        drop->acceptProposedAction();
        openObserved(*file);
        return true;
    }
    default:
        return false;
    }
}

} // namespace orvanta::view
