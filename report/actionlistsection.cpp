// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/actionlistsection.h"

#include "evaluation/evaluation.h"
#include "format/resultstatistics.h"
#include "report/reportcanvas.h"

#include <QPainter>

namespace
{

constexpr int kStatusColumn = 4;

} // namespace

CActionListSection::CActionListSection(const CEvaluation &evaluation, const CCsvWriter &format,
                                       const CReportCanvas &canvas)
    : evaluation(evaluation), points(evaluation.actionList()), table(canvas.compact(), headers())
{
    texts.results = format;
    // A suspect reading needs an engineer's eye before it is anything else.
    texts.statusTexts =
        QStringList{tr("below minimum"),   tr("warning"), tr("ok"),        tr("no limit"),
                    tr("not a thickness"), tr("overdue"), tr("to review"), tr("rejected")};
    // Every status, not only those listed, so that the column is the same whatever the points.
    for (const QString &status : texts.statusTexts)
        table.fit(kStatusColumn, status);
    table.layOut(int(points.size()), [this](int i) { return rowOf(i); });
}

QStringList CActionListSection::headers()
{
    return {tr("Group"),   tr("Cell"),    tr("Result"), tr("Unit"),     tr("Status"),
            tr("Loss %"),  tr("Initial"), tr("Date"),   tr("Previous"), tr("Date"),
            tr("LT rate"), tr("ST rate"), tr("Rate"),   tr("Life"),     tr("Next")};
}

// The columns are named here, not taken from the evaluation file's fields: the file holds more
// figures than the page has room for.
QStringList CActionListSection::rowOf(int i) const
{
    const PointEvaluation &p = evaluation.points().at(size_t(points.at(i)));
    return {evaluation.groupLabel(p.record.group),
            evaluation.pointLabel(p.record.group, p.record.cell),
            texts.results.resultText(p.record),
            texts.results.unitText(p.record.unit),
            texts.statusText(p.status),
            texts.lossText(p.loss),
            texts.readingText(p.initial),
            CEvaluationCsvWriter::dateText(p.initial),
            texts.readingText(p.previous),
            CEvaluationCsvWriter::dateText(p.previous),
            texts.rateText(p.longTermRate),
            texts.rateText(p.shortTermRate),
            texts.rateText(p.rate),
            texts.lifeText(p.remainingLife),
            CEvaluationCsvWriter::dateText(p.nextInspection)};
}

int CActionListSection::rowsPerPage(const CReportCanvas &canvas) const
{
    return table.rowsFrom(canvas.headingHeight());
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
    table.draw(painter, top, page * rows, rows, [this](int i) { return rowOf(i); });
}
