// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/overviewsection.h"

#include "format/zrdata.h"
#include "report/reportcanvas.h"
#include "report/reportparticulars.h"

#include <QFontMetricsF>
#include <QPainter>

COverviewSection::COverviewSection(const ReportSource &source, int aScanCount,
                                   const CCsvWriter &format, const CReportCanvas &canvas)
    : source(source), aScanCount(aScanCount), format(format),
      statistics(CResultStatistics::compute(*source.data, source.rows,
                                            source.rows.size() == source.data->totalCount())),
      table(canvas,
            {tr("Group"), tr("Unit"), tr("Count"), tr("Minimum"), tr("Maximum"), tr("Mean")})
{
    table.layOut(int(statistics.size()), [this](int i) { return rowOf(i); });
}

double COverviewSection::firstStatisticsTop(const CReportCanvas &canvas) const
{
    return QFontMetricsF(CReportCanvas::titleFont(), canvas.device).lineSpacing() * 1.5 +
           (particulars().size() + 1.5) * canvas.line;
}

int COverviewSection::statisticsRowsFirst(const CReportCanvas &canvas) const
{
    return table.rowsFrom(firstStatisticsTop(canvas));
}

int COverviewSection::pageCount(const CReportCanvas &canvas) const
{
    return CReportCanvas::tablePages(int(statistics.size()), statisticsRowsFirst(canvas),
                                     table.rowsFrom(0));
}

void COverviewSection::drawPage(QPainter &painter, const CReportCanvas &canvas, int page)
{
    const int firstRows = statisticsRowsFirst(canvas);
    const int first = CReportCanvas::firstRowOn(page, firstRows, table.rowsFrom(0));
    if (page == 0) {
        drawFirstPage(painter, canvas);
        drawStatistics(painter, firstStatisticsTop(canvas), first, firstRows);
    } else {
        drawStatistics(painter, 0, first, table.rowsFrom(0));
    }
}

QStringList COverviewSection::particulars() const
{
    const CZRData &data = *source.data;
    const QString unknown = tr("not known");
    QStringList lines{tr("Device: %1").arg(data.deviceType),
                      tr("Downloaded: %1")
                          .arg(source.time.isValid()
                                   ? source.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                   : unknown),
                      tr("Port: %1").arg(source.port.isEmpty() ? unknown : source.port),
                      tr("Results: %1    A-scans: %2").arg(source.rows.size()).arg(aScanCount)};
    if (source.outcome == QLatin1String("incomplete"))
        lines << tr("Outcome: the received data is incomplete");
    return CReportParticulars::lines(source.particulars) + lines;
}

void COverviewSection::drawFirstPage(QPainter &painter, const CReportCanvas &canvas) const
{
    const QFont title = CReportCanvas::titleFont();
    painter.setFont(title);
    painter.drawText(QPointF(0, QFontMetricsF(title, painter.device()).ascent()),
                     tr("Inspection report"));
    painter.setFont(canvas.body);
    const QStringList lines = particulars();
    double y = firstStatisticsTop(canvas) - (lines.size() + 1.5) * canvas.line;
    // A long remark keeps to its line rather than running into the next.
    const QFontMetricsF metrics(canvas.body, painter.device());
    for (const QString &line : lines) {
        painter.drawText(QRectF(0, y, canvas.width, canvas.line), Qt::AlignLeft,
                         metrics.elidedText(line, Qt::ElideRight, canvas.width));
        y += canvas.line;
    }
    QFont bold = canvas.body;
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QRectF(0, y + 0.5 * canvas.line, canvas.width, canvas.line), Qt::AlignLeft,
                     tr("Statistics per group"));
    painter.setFont(canvas.body);
}

QStringList COverviewSection::rowOf(int i) const
{
    const GroupStatistics &s = statistics.at(i);
    const QString none = QStringLiteral("-");
    const auto figure = [this](double value, int decimals) {
        return CResultStatistics::number(value, decimals, format.decimalSeparator);
    };
    const bool empty = s.count == 0;
    return {QString::number(s.group),
            empty ? none : format.unitText(s.unit),
            QString::number(s.count),
            empty ? none : figure(s.minimum, s.decimals),
            empty ? none : figure(s.maximum, s.decimals),
            empty ? none : figure(s.mean, s.decimals)};
}

void COverviewSection::drawStatistics(QPainter &painter, double top, int first, int count) const
{
    table.draw(painter, top, first, count, [this](int i) { return rowOf(i); });
}
