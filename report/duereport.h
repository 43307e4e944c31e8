// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/dueline.h"
#include "report/reportsection.h"
#include "report/reporttable.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QStringList>

// What falls due across every object, as a PDF: the title, the day, the archive and what the
// list was narrowed to on page one, then the list as the Due window shows it, over as many pages
// as it takes.
class CDueReport : public CReportSection
{
    Q_DECLARE_TR_FUNCTIONS(CDueReport)

public:
    // What page one says above the list.
    struct Heading {
        QDate day;
        QString archive;
        // A line for each narrowing of the list ("Due within: 30 days"); none for all of it.
        QStringList narrowing;
    };

    CDueReport(const QList<DueLine> &lines, const Heading &heading, const CReportCanvas &canvas);

    // The file appears only when every page is done; false with the reason in *problem.
    static bool write(const QString &path, const QList<DueLine> &lines, const Heading &heading,
                      const QString &version, QString *problem);
    // The list's columns and a line's texts in them, which the window shows too.
    static QStringList headers();
    static QStringList cells(const DueLine &line);

    int pageCount(const CReportCanvas &canvas) const override;
    void drawPage(QPainter &painter, const CReportCanvas &canvas, int page) override;

private:
    QStringList particulars() const;
    double tableTop(const CReportCanvas &canvas) const;
    int rowsFirst(const CReportCanvas &canvas) const;
    void drawHeading(QPainter &painter, const CReportCanvas &canvas) const;

    const QList<DueLine> &lines;
    const Heading &heading;
    CReportTable table;
};
