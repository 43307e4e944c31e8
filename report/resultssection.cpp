// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/resultssection.h"

#include "format/zrdata.h"
#include "report/reportcanvas.h"

namespace
{

const QList<double> kResultStops{0.0, 0.15, 0.32, 0.55, 0.75};

} // namespace

CResultsSection::CResultsSection(const ReportSource &source, const CCsvWriter &format)
    : source(source), format(format)
{
}

int CResultsSection::pageCount(const CReportCanvas &canvas) const
{
    return CReportCanvas::pagesFor(int(source.rows.size()), canvas.rowsPerPage());
}

void CResultsSection::drawPage(QPainter &painter, const CReportCanvas &canvas, int page)
{
    canvas.drawColumns(painter, 0, kResultStops,
                       {{tr("Group")}, {tr("Cell")}, {tr("Result")}, {tr("Unit")}, {tr("A-scan")}},
                       true);
    QList<QStringList> columns(kResultStops.size());
    const int first = page * canvas.rowsPerPage();
    const int end = std::min<int>(first + canvas.rowsPerPage(), source.rows.size());
    for (int i = first; i < end; ++i) {
        MeasurementRecord r;
        source.data->recordAt(source.rows.at(i), &r);
        columns[0] << QString::number(r.group);
        columns[1] << QString::number(r.cell);
        columns[2] << format.resultText(r);
        columns[3] << format.unitText(r.unit);
        columns[4] << (r.hasAScan ? QStringLiteral("\u2022") : QString());
    }
    canvas.drawColumns(painter, CReportCanvas::kHeaderRows * canvas.line, kResultStops, columns,
                       false);
}
