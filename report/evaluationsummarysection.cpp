// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/evaluationsummarysection.h"

#include "evaluation/evaluation.h"
#include "format/resultstatistics.h"
#include "report/reportcanvas.h"

#include <QMap>
#include <QPainter>

#include <algorithm>

CEvaluationSummarySection::CEvaluationSummarySection(const CEvaluation &evaluation,
                                                     const CCsvWriter &format,
                                                     const CReportCanvas &canvas)
    : evaluation(evaluation), format(format), summaries(evaluation.summaries()),
      countsShown(shownCounts(summaries)), table(canvas.compact(), headers())
{
    table.layOut(int(summaries.size()), [this](int i) { return rowOf(i); });
}

// Overdue points and readings to review are counted only when there are any: the table is wide.
QList<EvaluationStatus> CEvaluationSummarySection::shownCounts(const QList<GroupSummary> &summaries)
{
    QList<EvaluationStatus> shown{EvaluationStatus::BelowMinimum, EvaluationStatus::Warning,
                                  EvaluationStatus::Ok};
    for (EvaluationStatus status : {EvaluationStatus::Overdue, EvaluationStatus::Suspect}) {
        if (std::any_of(summaries.cbegin(), summaries.cend(), [status](const GroupSummary &s) {
                return s.statusCounts[size_t(status)] > 0;
            }))
            shown << status;
    }
    return shown;
}

QStringList CEvaluationSummarySection::headers() const
{
    const QMap<EvaluationStatus, QString> countHeaders{
        {EvaluationStatus::BelowMinimum, tr("Below")},
        {EvaluationStatus::Warning, tr("Warning")},
        {EvaluationStatus::Ok, tr("OK")},
        {EvaluationStatus::Overdue, tr("Overdue")},
        {EvaluationStatus::Suspect, tr("To review")}};
    QStringList all{tr("Group"),    tr("Unit"),  tr("Nominal"),  tr("Minimum"),
                    tr("Margin"),   tr("Count"), tr("Thinnest"), tr("Cell"),
                    tr("Thickest"), tr("Mean"),  tr("Std. dev.")};
    for (EvaluationStatus status : countsShown)
        all << countHeaders.value(status);
    return all << tr("Life, years");
}

QString CEvaluationSummarySection::method() const
{
    return tr("Each reading is first checked against the previous counted reading of the same "
              "test point (group and cell): one thicker by more than the object's tolerance, or "
              "under 60 % of it, is suspect and counts nowhere until an engineer verifies it; a "
              "rejected reading never counts. The initial and previous readings are the earliest "
              "and the latest counted readings taken at least the object's minimum interval "
              "before. Long-term rate = (initial - actual) / years between them; short-term rate "
              "= (previous - actual) / years between them. With three counted readings or more "
              "over a year, the least-squares rate is the slope of thickness against time, with "
              "its standard error and a one-sided 95 % upper bound (Student's t). The object's "
              "choice of rate governs. Remaining life = (actual - minimum) / rate. The next "
              "inspection is due after the interval the object's rule gives (by default half the "
              "remaining life, at most %1 years), and now for a point below its minimum; a point "
              "whose date has passed without a later reading is overdue. A year is 365.25 days. "
              "These figures are estimates: the rules of the inspection code that applies "
              "decide.")
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
    QStringList row{evaluation.groupLabel(s.group),
                    figures ? format.unitText(s.unit) : none,
                    limits ? figure(limits->nominal, shown) : none,
                    limits ? figure(limits->minimum, shown) : none,
                    limits && limits->warning > 0 ? figure(limits->warning, shown) : none,
                    QString::number(s.count),
                    figures ? figure(s.minimum, shown) : none,
                    figures ? QString::number(s.minimumCell) : none,
                    figures ? figure(s.maximum, shown) : none,
                    figures ? figure(s.mean, shown + 1) : none,
                    s.standardDeviation ? figure(*s.standardDeviation, shown + 1) : none};
    for (EvaluationStatus status : countsShown)
        row << QString::number(s.statusCounts[size_t(status)]);
    return row << (s.worstRemainingLife ? figure(*s.worstRemainingLife, 1) : none);
}

void CEvaluationSummarySection::drawTable(QPainter &painter, double top, int first, int count) const
{
    table.draw(painter, top, first, count, [this](int i) { return rowOf(i); });
}
