// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/csvwriter.h"
#include "report/reportsection.h"

#include <QCoreApplication>
#include <QStringList>

class CEvaluation;

// The limits and rules in force for each object the evaluation judged, who set them and when,
// and where its minimum comes from: a paragraph an object, as many pages as they take.
class CLimitsSection : public CReportSection
{
    Q_DECLARE_TR_FUNCTIONS(CLimitsSection)

public:
    CLimitsSection(const CEvaluation &evaluation, const CCsvWriter &format);

    int pageCount(const CReportCanvas &canvas) const override;
    void drawPage(QPainter &painter, const CReportCanvas &canvas, int page) override;

private:
    QString paragraphOf(int group) const;
    // The first paragraph of each page.
    QList<int> pageStarts(const CReportCanvas &canvas) const;

    const CEvaluation &evaluation;
    CCsvWriter format;
    QStringList paragraphs;
};
