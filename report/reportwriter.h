// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ascan/ascanwindow.h"
#include "format/ascanentry.h"
#include "format/csvwriter.h"
#include "format/resultstatistics.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFont>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>

class CZRData;
class QPainter;
class QPdfWriter;

// The inspection report: a PDF with the download's particulars and the statistics per group,
// then the results table, then the A-scan pictures, every page numbered. Text is written as
// text, so a reader can search and copy it.
class CReportWriter
{
    Q_DECLARE_TR_FUNCTIONS(CReportWriter)

public:
    // What the report is about. Time, port and outcome are unknown for a bare dump.
    struct Source {
        const CZRData *data = nullptr;
        QList<int> rows;
        std::function<const AScanEntry *(int row)> aScanOf;
        QDateTime time;
        QString port;
        QString outcome;
    };

    CReportWriter(const Source &source, const QString &version);

    // Unit texts and the decimal separator, as in the CSV file.
    CCsvWriter format;
    AScanWindow::Labels labels;

    // The file appears only when every page is done; false with the reason in *problem.
    bool write(const QString &path, QString *problem);
    int pageCount();

private:
    struct Layout {
        double width = 0;
        double bottom = 0; // where the footer starts
        double line = 0;
        double firstStatsTop = 0;
        int statsRowsFirst = 0;
        int rowsPerPage = 0;
        int statsPages = 0;
        int resultPages = 0;
        int picturePages = 0;
        int pages() const { return statsPages + resultPages + picturePages; }
    };
    static constexpr int kPictureColumns = 2;
    static constexpr int kPictureRows = 3;

    void setUp(QPdfWriter &pdf) const;
    Layout layoutOn(QPdfWriter &pdf) const;
    void drawFirstPage(QPainter &painter) const;
    void drawStatistics(QPainter &painter, double top, int first, int count) const;
    void drawResults(QPainter &painter, int first) const;
    void drawPictures(QPainter &painter, int first);
    void drawFooter(QPainter &painter, int page) const;
    void drawColumns(QPainter &painter, double top, const QList<double> &stops,
                     const QList<QStringList> &columns, bool bold) const;
    QStringList particulars() const;
    QString figure(double value, int decimals) const;

    Source source;
    QString version;
    QList<GroupStatistics> statistics;
    QList<QPair<int, AScanEntry>> aScans;
    QFont body;
    Layout layout;
};
