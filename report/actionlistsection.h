// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/evaluationcsvwriter.h"
#include "format/csvwriter.h"
#include "report/reportsection.h"
#include "report/reporttable.h"

#include <QCoreApplication>
#include <QList>

class CEvaluation;

// The points that need action, the shortest remaining life first, each with the readings and
// dates its figures come from.
class CActionListSection : public CReportSection
{
    Q_DECLARE_TR_FUNCTIONS(CActionListSection)

public:
    CActionListSection(const CEvaluation &evaluation, const CCsvWriter &format,
                       const CReportCanvas &canvas);

    int pageCount(const CReportCanvas &canvas) const override;
    void drawPage(QPainter &painter, const CReportCanvas &canvas, int page) override;

private:
    static QStringList headers();
    QStringList rowOf(int i) const;
    int rowsPerPage(const CReportCanvas &canvas) const;

    const CEvaluation &evaluation;
    CEvaluationCsvWriter texts;
    QList<int> points;
    CReportTable table;
};
