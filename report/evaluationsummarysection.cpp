// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/evaluationsummarysection.h"

#include "evaluation/evaluation.h"
#include "format/resultstatistics.h"
#include "report/reportcanvas.h"

#include <QPainter>

CEvaluationSummarySection::CEvaluationSummarySection(const CEvaluation &evaluation,
                                                     const CCsvWriter &format,
                                                     const CReportCanvas &canvas)
    : evaluation(evaluation), format(format), summaries(evaluation.summaries()),
      table(canvas.compact(),
            {tr("Group"), tr("Unit"), tr("Nominal"), tr("Minimum"), tr("Margin"), tr("Count"),
             tr("Thinnest"), tr("Cell"), tr("Thickest"), tr("Mean"), tr("Std. dev."), tr("Below"),
             tr("Warning"), tr("OK"), tr("Life, years")})
{
    table.layOut(int(summaries.size()), [this](int i) { return rowOf(i); });
}

QString CEvaluationSummarySection::method() const
{
    return tr("Each reading is compared with the earlier readings of the same test point "
              "(group and cell). Long-term rate = (initial - actual) / years between them; "
              "short-term rate = (previous - actual) / years between them; the larger governs. "
              "Remaining life = (actual - minimum) / rate. The next inspection is due after half "
              "the remaining life, at most %1 years after this download, and now for a point "
              "below its minimum. A year is 365.25 days. These figures are estimates: the rules "
              "of the inspection code that applies decide.")
        .arg(CResultStatistics::number(evaluation.maximumIntervalYears(), 1,
                                       format.decimalSeparator));
}

void CEvaluationSummarySection::drawIntroduction(QPainter &painter,
                                                 const CReportCanvas &canvas) const
{
    canvas.drawHeading(painter, 0, tr("Evaluation"));
    canvas.drawParagraph(painter, canvas.headingHeight(), method());
}

double CEvaluationSummarySection::tableTop(const CReportCanvas &canvas) const
{
    return canvas.headingHeight() + canvas.paragraphHeight(method()) + canvas.line;
}

int CEvaluationSummarySection::firstPageRows(const CReportCanvas &canvas) const
{
    return table.rowsFrom(tableTop(canvas));
}

int CEvaluationSummarySection::pageCount(const CReportCanvas &canvas) const
{
    return CReportCanvas::tablePages(int(summaries.size()), firstPageRows(canvas),
                                     table.rowsFrom(0));
}

void CEvaluationSummarySection::drawPage(QPainter &painter, const CReportCanvas &canvas, int page)
{
    const int firstRows = firstPageRows(canvas);
    const int first = CReportCanvas::firstRowOn(page, firstRows, table.rowsFrom(0));
    if (page == 0) {
        drawIntroduction(painter, canvas);
        drawTable(painter, tableTop(canvas), first, firstRows);
    } else {
        drawTable(painter, 0, first, table.rowsFrom(0));
    }
}

QStringList CEvaluationSummarySection::rowOf(int i) const
{
    const GroupSummary &s = summaries.at(i);
    const auto figure = [this](double value, int decimals) {
        return CResultStatistics::number(value, decimals, format.decimalSeparator);
    };
    const QString none = QStringLiteral("-");
    const GroupLimits *limits = evaluation.limitsOf(s.group);
    const bool figures = s.figureCount > 0;
    const int shown = s.decimals;
    const auto count = [&s](EvaluationStatus status) {
        return QString::number(s.statusCounts[size_t(status)]);
    };
    return {QString::number(s.group),
            figures ? format.unitText(s.unit) : none,
            limits ? figure(limits->nominal, shown) : none,
            limits ? figure(limits->minimum, shown) : none,
            limits && limits->warning > 0 ? figure(limits->warning, shown) : none,
            QString::number(s.count),
            figures ? figure(s.minimum, shown) : none,
            figures ? QString::number(s.minimumCell) : none,
            figures ? figure(s.maximum, shown) : none,
            figures ? figure(s.mean, shown + 1) : none,
            s.standardDeviation ? figure(*s.standardDeviation, shown + 1) : none,
            count(EvaluationStatus::BelowMinimum),
            count(EvaluationStatus::Warning),
            count(EvaluationStatus::Ok),
            s.worstRemainingLife ? figure(*s.worstRemainingLife, 1) : none};
}

void CEvaluationSummarySection::drawTable(QPainter &painter, double top, int first, int count) const
{
    table.draw(painter, top, first, count, [this](int i) { return rowOf(i); });
}
