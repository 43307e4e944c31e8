// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ascan/ascanwindow.h"
#include "format/ascanentry.h"
#include "format/csvwriter.h"
#include "report/reportsection.h"
#include "report/reportsource.h"

#include <QCoreApplication>
#include <QList>
#include <QPair>

// The A-scan pictures, six to a page, each with its caption.
class CPicturesSection : public CReportSection
{
    Q_DECLARE_TR_FUNCTIONS(CPicturesSection)

public:
    static constexpr int kColumns = 2;
    static constexpr int kRows = 3;

    // The pictures of the given rows and their A-scans.
    CPicturesSection(const ReportSource &source, const QList<QPair<int, AScanEntry>> &aScans,
                     const CCsvWriter &format, const AScanWindow::Labels &labels);

    int pageCount(const CReportCanvas &canvas) const override;
    void drawPage(QPainter &painter, const CReportCanvas &canvas, int page) override;

private:
    const ReportSource &source;
    const QList<QPair<int, AScanEntry>> &aScans;
    const CCsvWriter &format;
    const AScanWindow::Labels &labels;
};
