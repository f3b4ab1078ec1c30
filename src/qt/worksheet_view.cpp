// SPDX-License-Identifier: GPL-3.0-or-later
// The worksheet: one PDF with the inputs, the picture at four phases, the panel's plots and
// the numbers (the measurements, the fit), and a CSV of the same numbers beside it.
#include "qt/analysis_panel.h"
#include "qt/canvas.h"
#include "qt/main_window.h"

#include "ui/worksheet.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>

#include <algorithm>
#include <array>

namespace orvanta::view {

namespace {

/// The size a plot is drawn at on paper, in its own pixels.
constexpr QSize PlotSize(760, 420);

QString lineOf(const WorksheetRow& r) {
    QString text =
        QString::fromStdString(r.quantity) + QStringLiteral(": ") + QString::fromStdString(r.value);
    if (!r.unit.empty()) text += QLatin1Char(' ') + QString::fromStdString(r.unit);
    if (!r.error.empty()) text += QStringLiteral(" ± ") + QString::fromStdString(r.error);
    if (!r.model.empty())
        text += QStringLiteral("   (model: ") + QString::fromStdString(r.model) + QLatin1Char(')');
    return text;
}

} // namespace

void MainWindow::writeWorksheet() {
    askWhereToSave(tr("Write Worksheet"), QStringLiteral("worksheet.pdf"), tr("PDF files (*.pdf)"),
                   QStringLiteral("pdf"), [this](const QString& path) { writeWorksheetTo(path); });
}

bool MainWindow::writeWorksheetTo(const QString& pdfPath) {
    Form1& f = *form_;
    // The window at four phases of the period, then as it was.
    constexpr std::array<double, 4> Phases = {0, 0.25, 0.5, 0.75};
    std::vector<QImage> pictures;
    atPhases(f, Phases, [&](double) {
        canvas_->refresh();
        pictures.push_back(windowPicture());
    });
    refresh();

    // The plots at a fixed size, whether the panel is shown or not.
    panel_->updateNow();
    std::vector<std::pair<QChart*, QSizeF>> charts;
    for (QChartView* v : panel_->plots()) {
        charts.emplace_back(v->chart(), v->chart()->size());
        v->chart()->resize(PlotSize);
    }
    panel_->updateNow();
    const std::vector<WorksheetRow> rows = panel_->worksheetRows();

    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(tr("Orvanta worksheet"));
        writer.setCreator(QStringLiteral("Orvanta"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(150);
        QPainter painter(&writer);
        const QRect page = painter.viewport();
        const int margin = 60;
        const QRect body = page.adjusted(margin, margin, -margin, -margin);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(18);
        // No ligatures: "fi" stays two letters that a search of the PDF finds.
        font.setStyleStrategy(QFont::PreferNoShaping);
        QFont heading = font;
        heading.setPixelSize(28);
        heading.setBold(true);
        const int line = QFontMetrics(font).lineSpacing();
        int y = body.top();
        auto title = [&](const QString& text) {
            painter.setFont(heading);
            painter.drawText(QRect(body.left(), y, body.width(), 2 * line), Qt::AlignLeft, text);
            y += QFontMetrics(heading).lineSpacing() + line / 2;
            painter.setFont(font);
        };
        auto text = [&](const QString& t) {
            painter.drawText(QRect(body.left(), y, body.width(), line), Qt::AlignLeft, t);
            y += line;
        };

        // Page 1: the inputs and the picture at four phases.
        title(tr("Orvanta worksheet: inputs"));
        for (const WorksheetRow& r : rows)
            if (r.section == "Inputs") text(lineOf(r));
        y += line;
        const int w = (body.width() - margin / 2) / 2;
        const int h = w * WindowHeight / WindowWidth;
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const int left = body.left() + static_cast<int>(i % 2) * (w + margin / 2);
            const int top = y + static_cast<int>(i / 2) * (h + 2 * line);
            painter.drawText(QRect(left, top, w, line), Qt::AlignLeft,
                             tr("phase %1").arg(Phases[i]));
            painter.drawImage(QRect(left, top + line, w, h), pictures[i]);
        }

        // Page 2: the panel's plots.
        writer.newPage();
        y = body.top();
        title(tr("Plots"));
        // The plots one above the other (room for three at least), each its own shape.
        const int plotRows = std::max(3, static_cast<int>(charts.size()));
        const int plotHeight = (body.bottom() - y) / plotRows - line;
        const int plotWidth =
            std::min(body.width(), plotHeight * PlotSize.width() / PlotSize.height());
        for (const auto& [chart, size] : charts) {
            if (y + plotHeight > body.bottom()) break;
            chart->scene()->render(&painter, QRectF(body.left(), y, plotWidth, plotHeight),
                                   chart->sceneBoundingRect());
            y += plotHeight + line;
        }

        // Page 3: the numbers.
        writer.newPage();
        y = body.top();
        title(tr("Measurements and fit"));
        std::string section;
        for (const WorksheetRow& r : rows) {
            if (r.section == "Inputs") continue;
            if (r.section != section) {
                section = r.section;
                y += line / 2;
                painter.setFont(heading);
                text(QString::fromStdString(section));
                painter.setFont(font);
            }
            text(lineOf(r));
        }
        painter.end();
    }
    for (const auto& [chart, size] : charts)
        chart->resize(size);
    panel_->modelChanged();

    const QFileInfo info(pdfPath);
    const QString csvPath =
        info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".csv");
    return saveFile(pdfPath, pdf) &&
           saveFile(csvPath, QByteArray::fromStdString(worksheetCsv(rows)));
}

} // namespace orvanta::view
