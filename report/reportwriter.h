// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ascan/ascanwindow.h"
#include "format/ascanentry.h"
#include "format/csvwriter.h"
#include "format/resultstatistics.h"
#include "report/reportsource.h"

#include <QCoreApplication>
#include <QFont>
#include <QList>
#include <QPair>
#include <QString>

class QIODevice;

#include <memory>
#include <vector>

class CReportCanvas;
class CReportSection;
class QPainter;
class QPdfWriter;

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
    using Sections = std::vector<std::unique_ptr<CReportSection>>;

    // The sections lay their tables out on the canvas's page as they are made.
    Sections sections(const CReportCanvas &canvas) const;
    bool writePages(QIODevice &out) const;
    void setUp(QPdfWriter &pdf) const;
    static int pagesOf(const Sections &all, const CReportCanvas &canvas);
    void drawFooter(QPainter &painter, const CReportCanvas &canvas, int page, int pages) const;

    Source source;
    QString version;
    QList<QPair<int, AScanEntry>> aScans;
    QFont body;
};
