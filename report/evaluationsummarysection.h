// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/groupsummary.h"
#include "format/csvwriter.h"
#include "report/reportsection.h"
#include "report/reporttable.h"

#include <QCoreApplication>
#include <QList>

class CEvaluation;

// The evaluation at a glance: how the figures are found, then per group its limits, its
// readings' spread, the number of points in each status and its worst remaining life.
class CEvaluationSummarySection : public CReportSection
{
    Q_DECLARE_TR_FUNCTIONS(CEvaluationSummarySection)

public:
    CEvaluationSummarySection(const CEvaluation &evaluation, const CCsvWriter &format,
                              const CReportCanvas &canvas);

    int pageCount(const CReportCanvas &canvas) const override;
    void drawPage(QPainter &painter, const CReportCanvas &canvas, int page) override;

private:
    QString method() const;
    double tableTop(const CReportCanvas &canvas) const;
    int firstPageRows(const CReportCanvas &canvas) const;
    void drawIntroduction(QPainter &painter, const CReportCanvas &canvas) const;
    void drawTable(QPainter &painter, double top, int first, int count) const;
    QStringList rowOf(int i) const;
    static QList<EvaluationStatus> shownCounts(const QList<GroupSummary> &summaries);
    QStringList headers() const;

    const CEvaluation &evaluation;
    const CCsvWriter &format;
    QList<GroupSummary> summaries;
    QList<EvaluationStatus> countsShown;
    CReportTable table;
};
