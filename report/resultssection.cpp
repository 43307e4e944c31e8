// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/resultssection.h"

#include "format/zrdata.h"

CResultsSection::CResultsSection(const ReportSource &source, const CCsvWriter &format,
                                 const CReportCanvas &canvas)
    : source(source), format(format),
      table(canvas, {tr("Group"), tr("Cell"), tr("Result"), tr("Unit"), tr("A-scan")})
{
    table.layOut(int(source.rows.size()), [this](int i) { return rowOf(i); });
}

QStringList CResultsSection::rowOf(int i) const
{
    MeasurementRecord r;
    source.data->recordAt(source.rows.at(i), &r);
    return {QString::number(r.group), QString::number(r.cell), format.resultText(r),
            format.unitText(r.unit), r.hasAScan ? QStringLiteral("\u2022") : QString()};
}

int CResultsSection::pageCount(const CReportCanvas &) const
{
    return CReportCanvas::pagesFor(int(source.rows.size()), table.rowsFrom(0));
}

void CResultsSection::drawPage(QPainter &painter, const CReportCanvas &, int page)
{
    const int perPage = table.rowsFrom(0);
    table.draw(painter, 0, page * perPage, perPage, [this](int i) { return rowOf(i); });
}
