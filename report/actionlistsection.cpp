// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/actionlistsection.h"

#include "evaluation/evaluation.h"
#include "format/resultstatistics.h"
#include "report/reportcanvas.h"

#include <QPainter>

namespace
{

const QList<double> kActionStops{0.0,   0.042, 0.089, 0.147, 0.203, 0.303, 0.356, 0.408,
                                 0.497, 0.567, 0.656, 0.708, 0.761, 0.814, 0.861};

} // namespace

CActionListSection::CActionListSection(const CEvaluation &evaluation, const CCsvWriter &format)
    : evaluation(evaluation), points(evaluation.actionList())
{
    texts.results = format;
    texts.statusTexts = QStringList{tr("below minimum"), tr("warning"), tr("ok"), tr("no limit"),
                                    tr("not a thickness")};
}

int CActionListSection::rowsPerPage(const CReportCanvas &canvas) const
{
    const CReportCanvas table = canvas.compact();
    return int((table.bottom - canvas.headingHeight() - CReportCanvas::kHeaderRows * table.line) /
               table.line);
}

int CActionListSection::pageCount(const CReportCanvas &canvas) const
{
    return std::max(1, CReportCanvas::pagesFor(int(points.size()), rowsPerPage(canvas)));
}

void CActionListSection::drawPage(QPainter &painter, const CReportCanvas &canvas, int page)
{
    canvas.drawHeading(painter, 0, tr("Points needing action"));
    const double top = canvas.headingHeight();
    if (points.isEmpty()) {
        canvas.drawParagraph(
            painter, top,
            tr("No point is below its minimum or within its warning margin, and none reaches "
               "its minimum within %1 years.")
                .arg(CResultStatistics::number(evaluation.maximumIntervalYears(), 1,
                                               texts.results.decimalSeparator)));
        return;
    }
    const int rows = rowsPerPage(canvas);
    drawTable(painter, canvas.compact(), top, page * rows, rows);
    painter.setFont(canvas.body);
}

void CActionListSection::drawTable(QPainter &painter, const CReportCanvas &table, double top,
                                   int first, int count) const
{
    table.drawColumns(painter, top, kActionStops,
                      {{tr("Group")},
                       {tr("Cell")},
                       {tr("Result")},
                       {tr("Unit")},
                       {tr("Status")},
                       {tr("Loss %")},
                       {tr("Initial")},
                       {tr("Date")},
                       {tr("Previous")},
                       {tr("Date")},
                       {tr("LT rate")},
                       {tr("ST rate")},
                       {tr("Rate")},
                       {tr("Life")},
                       {tr("Next")}},
                      true);
    QList<QStringList> columns(kActionStops.size());
    for (int i = first; i < std::min<int>(first + count, points.size()); ++i) {
        const PointEvaluation &p = evaluation.points().at(size_t(points.at(i)));
        const QStringList row = texts.fields(p);
        for (int c = 0; c < columns.size(); ++c)
            columns[c] << row.at(c);
    }
    table.drawColumns(painter, top + CReportCanvas::kHeaderRows * table.line, kActionStops, columns,
                      false);
}
