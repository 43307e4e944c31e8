// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/picturessection.h"

#include "format/zrdata.h"
#include "report/reportcanvas.h"

#include <QPainter>

CPicturesSection::CPicturesSection(const ReportSource &source,
                                   const QList<QPair<int, AScanEntry>> &aScans,
                                   const CCsvWriter &format, const AScanWindow::Labels &labels)
    : source(source), aScans(aScans), format(format), labels(labels)
{
}

int CPicturesSection::pageCount(const CReportCanvas &) const
{
    return CReportCanvas::pagesFor(int(aScans.size()), kColumns * kRows);
}

void CPicturesSection::drawPage(QPainter &painter, const CReportCanvas &canvas, int page)
{
    AScanWindow window;
    window.setup();
    window.labels = labels;
    const double gap = 2 * canvas.line;
    const double cellWidth = (canvas.width - gap) / kColumns;
    const double cellHeight = canvas.bottom / kRows;
    const int first = page * kColumns * kRows;
    const int end = std::min<int>(first + kColumns * kRows, aScans.size());
    for (int i = first; i < end; ++i) {
        MeasurementRecord r;
        source.data->recordAt(aScans.at(i).first, &r);
        const QPixmap picture = window.pictureOf(r, aScans.at(i).second);
        const int slot = i - first;
        const QPointF corner((slot % kColumns) * (cellWidth + gap), (slot / kColumns) * cellHeight);
        const double height =
            std::min(cellWidth * picture.height() / picture.width(), cellHeight - 2 * canvas.line);
        const double width = height * picture.width() / picture.height();
        painter.drawPixmap(QRectF(corner, QSizeF(width, height)), picture, picture.rect());
        painter.drawText(
            QRectF(corner.x(), corner.y() + height + 0.3 * canvas.line, cellWidth, canvas.line),
            Qt::AlignLeft,
            tr("Group %1, cell %2: %3 %4")
                .arg(r.group)
                .arg(r.cell)
                .arg(format.resultText(r), format.unitText(r.unit)));
    }
}
