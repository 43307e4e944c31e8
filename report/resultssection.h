// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/csvwriter.h"
#include "report/reportsection.h"
#include "report/reportsource.h"
#include "report/reporttable.h"

#include <QCoreApplication>

// The results table, its header on every page.
class CResultsSection : public CReportSection
{
    Q_DECLARE_TR_FUNCTIONS(CResultsSection)

public:
    CResultsSection(const ReportSource &source, const CCsvWriter &format,
                    const CReportCanvas &canvas);

    int pageCount(const CReportCanvas &canvas) const override;
    void drawPage(QPainter &painter, const CReportCanvas &canvas, int page) override;

private:
    QStringList rowOf(int i) const;

    const ReportSource &source;
    const CCsvWriter &format;
    CReportTable table;
};
