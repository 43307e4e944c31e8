// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/groupsummary.h"
#include "format/csvwriter.h"
#include "report/reportsection.h"

#include <QCoreApplication>
#include <QList>
#include <QMap>

class CEvaluation;
class CThicknessMap;

// A page per group with thickness readings: its map, with the scale and the thinnest cell
// named above it.
class CThicknessMapSection : public CReportSection
{
    Q_DECLARE_TR_FUNCTIONS(CThicknessMapSection)

public:
    CThicknessMapSection(const CEvaluation &evaluation, const QMap<int, int> &widths,
                         const CCsvWriter &format);

    int pageCount(const CReportCanvas &canvas) const override;
    void drawPage(QPainter &painter, const CReportCanvas &canvas, int page) override;

private:
    QString legend(const GroupSummary &s, const CThicknessMap &map) const;
    void drawScale(QPainter &painter, const CReportCanvas &canvas, double top,
                   const CThicknessMap &map) const;

    const CEvaluation &evaluation;
    const QMap<int, int> &widths;
    const CCsvWriter &format;
    QList<GroupSummary> groups;
};
