// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/csvwriter.h"
#include "format/resultstatistics.h"
#include "report/reportsection.h"
#include "report/reportsource.h"
#include "report/reporttable.h"

#include <QCoreApplication>
#include <QStringList>

// Page one: the title, the download's particulars and the statistics per group, which go on
// over further pages when there are many groups.
class COverviewSection : public CReportSection
{
    Q_DECLARE_TR_FUNCTIONS(COverviewSection)

public:
    COverviewSection(const ReportSource &source, int aScanCount, const CCsvWriter &format,
                     const CReportCanvas &canvas);

    int pageCount(const CReportCanvas &canvas) const override;
    void drawPage(QPainter &painter, const CReportCanvas &canvas, int page) override;

private:
    double firstStatisticsTop(const CReportCanvas &canvas) const;
    int statisticsRowsFirst(const CReportCanvas &canvas) const;
    QStringList particulars() const;
    void drawFirstPage(QPainter &painter, const CReportCanvas &canvas) const;
    QStringList rowOf(int i) const;
    void drawStatistics(QPainter &painter, double top, int first, int count) const;

    const ReportSource &source;
    int aScanCount;
    const CCsvWriter &format;
    QList<GroupStatistics> statistics;
    CReportTable table;
};
