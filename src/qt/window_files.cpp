// SPDX-License-Identifier: GPL-3.0-or-later
// What the window saves: the light curve as CSV, the picture as PNG, through the standard save
// dialog, written whole or not at all.
#include "qt/main_window.h"

#include "cli/atomic_file.h"
#include "render/curve_table.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>

#include <string>
#include <string_view>

namespace orvanta::view {

QSettings MainWindow::settings() {
    return QSettings(QStringLiteral("Orvanta"), QStringLiteral("Orvanta"));
}

QString MainWindow::saveFolder() {
    const QString folder = settings().value(QStringLiteral("saveFolder")).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void MainWindow::askWhereToSave(const QString& title, const QString& fileName,
                                const QString& filter, const QString& suffix,
                                std::function<void(const QString&)> save) {
    if (saveDialog_ != nullptr) saveDialog_->close();
    auto* dialog = new QFileDialog(this, title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(filter);
    dialog->setDefaultSuffix(suffix);
    dialog->setDirectory(saveFolder());
    dialog->selectFile(fileName);
    connect(dialog, &QFileDialog::fileSelected, this,
            [save = std::move(save)](const QString& path) {
                settings().setValue(QStringLiteral("saveFolder"), QFileInfo(path).absolutePath());
                save(path);
            });
    saveDialog_ = dialog;
    dialog->open();
}

bool MainWindow::saveFile(const QString& path, const QByteArray& contents) {
    const std::string why = cli::writeFileAtomically(
        QFile::encodeName(path).toStdString(),
        std::string_view(contents.constData(), static_cast<std::size_t>(contents.size())));
    if (why.empty()) return true;
    auto* box =
        new QMessageBox(QMessageBox::Warning, QString::fromLatin1(WindowCaption),
                        tr("The file could not be saved:\n%1\n%2")
                            .arg(QDir::toNativeSeparators(path), QString::fromStdString(why)),
                        QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("saveFailed"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return false;
}

void MainWindow::exportCurve() {
    // The table of the boxes as they are now; the window's own state stays as it is.
    std::string csv;
    bool made = false;
    form_->Run([&] {
        csv = CurveCsv(LightCurveTable(*form_, CurveOptions{form_->LightOptions, false, 0}));
        made = true;
    });
    refresh();
    if (!made) return;
    askWhereToSave(tr("Export Light Curve"), QStringLiteral("light-curve.csv"),
                   tr("CSV files (*.csv)"), QStringLiteral("csv"),
                   [this, data = QByteArray::fromStdString(csv)](const QString& path) {
                       saveFile(path, data);
                   });
}

QImage MainWindow::windowPicture() {
    // The client area at its own 794 x 568 pixels, whatever size the window is shown at.
    const qreal ratio = devicePixelRatioF();
    QImage picture(QSize(WindowWidth, WindowHeight) * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::black);
    client_->render(&picture);
    return picture;
}

void MainWindow::savePicture() {
    // What is shown when the keys are pressed, not when the dialog closes.
    const QImage picture = windowPicture();
    askWhereToSave(tr("Save Window as Picture"), QStringLiteral("orvanta.png"),
                   tr("PNG images (*.png)"), QStringLiteral("png"),
                   [this, picture](const QString& path) {
                       QByteArray png;
                       QBuffer buffer(&png);
                       buffer.open(QIODevice::WriteOnly);
                       picture.save(&buffer, "PNG");
                       saveFile(path, png);
                   });
}

} // namespace orvanta::view
