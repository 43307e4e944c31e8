// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/overviewsection.h"

#include "format/zrdata.h"
#include "report/reportcanvas.h"
#include "report/reportparticulars.h"

#include <QFontMetricsF>
#include <QPainter>

namespace
{

const QList<double> kStatisticsStops{0.0, 0.12, 0.27, 0.44, 0.61, 0.78};

} // namespace

COverviewSection::COverviewSection(const ReportSource &source, int aScanCount,
                                   const CCsvWriter &format)
    : source(source), aScanCount(aScanCount), format(format),
      statistics(CResultStatistics::compute(*source.data, source.rows,
                                            source.rows.size() == source.data->totalCount()))
{
}

double COverviewSection::firstStatisticsTop(const CReportCanvas &canvas) const
{
    return QFontMetricsF(CReportCanvas::titleFont(), canvas.device).lineSpacing() * 1.5 +
           (particulars().size() + 1.5) * canvas.line;
}

int COverviewSection::statisticsRowsFirst(const CReportCanvas &canvas) const
{
    return int(
        (canvas.bottom - firstStatisticsTop(canvas) - CReportCanvas::kHeaderRows * canvas.line) /
        canvas.line);
}

int COverviewSection::pageCount(const CReportCanvas &canvas) const
{
    return CReportCanvas::tablePages(int(statistics.size()), statisticsRowsFirst(canvas),
                                     canvas.rowsPerPage());
}

void COverviewSection::drawPage(QPainter &painter, const CReportCanvas &canvas, int page)
{
    const int firstRows = statisticsRowsFirst(canvas);
    const int first = CReportCanvas::firstRowOn(page, firstRows, canvas.rowsPerPage());
    if (page == 0) {
        drawFirstPage(painter, canvas);
        drawStatistics(painter, canvas, firstStatisticsTop(canvas), first, firstRows);
    } else {
        drawStatistics(painter, canvas, 0, first, canvas.rowsPerPage());
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

void COverviewSection::drawStatistics(QPainter &painter, const CReportCanvas &canvas, double top,
                                      int first, int count) const
{
    canvas.drawColumns(painter, top, kStatisticsStops,
                       {{tr("Group")},
                        {tr("Unit")},
                        {tr("Count")},
                        {tr("Minimum")},
                        {tr("Maximum")},
                        {tr("Mean")}},
                       true);
    QList<QStringList> columns(kStatisticsStops.size());
    const QString none = QStringLiteral("-");
    const auto figure = [this](double value, int decimals) {
        return CResultStatistics::number(value, decimals, format.decimalSeparator);
    };
    for (int i = first; i < std::min<int>(first + count, statistics.size()); ++i) {
        const GroupStatistics &s = statistics.at(i);
        const bool empty = s.count == 0;
        columns[0] << QString::number(s.group);
        columns[1] << (empty ? none : format.unitText(s.unit));
        columns[2] << QString::number(s.count);
        columns[3] << (empty ? none : figure(s.minimum, s.decimals));
        columns[4] << (empty ? none : figure(s.maximum, s.decimals));
        columns[5] << (empty ? none : figure(s.mean, s.decimals));
    }
    canvas.drawColumns(painter, top + CReportCanvas::kHeaderRows * canvas.line, kStatisticsStops,
                       columns, false);
}
