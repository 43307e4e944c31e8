// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ascan/ascanwindow.h"
#include "format/ascanentry.h"
#include "format/csvwriter.h"
#include "format/resultstatistics.h"
#include "report/reportdocument.h"
#include "report/reportsource.h"

#include <QCoreApplication>
#include <QList>
#include <QPair>
#include <QString>

class CReportCanvas;

// The inspection report: a PDF made of sections, one after the other (the download's
// particulars and the statistics per group, the results table, the A-scan pictures, and with
// an evaluation its pages), every page numbered. Text is written as text, so a reader can
// search and copy it.
class CReportWriter
{
    Q_DECLARE_TR_FUNCTIONS(CReportWriter)

public:
    using Source = ReportSource;

    CReportWriter(const Source &source, const QString &version);
    ~CReportWriter();

    // Unit texts and the decimal separator, as in the CSV file.
    CCsvWriter format;
    AScanWindow::Labels labels;

    // The file appears only when every page is done; false with the reason in *problem.
    bool write(const QString &path, QString *problem);
    int pageCount();

private:
    CReportDocument document() const;
    CReportDocument::Sections sections(const CReportCanvas &canvas) const;

    Source source;
    QString version;
    QList<QPair<int, AScanEntry>> aScans;
};
