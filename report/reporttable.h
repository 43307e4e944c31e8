// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/reportcanvas.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class QPainter;

// A table of the report, its columns laid out from what they hold: each is as wide as its
// widest text, header or cell, plus a gap, and what is left of the page's width is shared out
// among them. A table too wide for the page is set in a smaller font, down to a floor; only
// then does a header take two lines. A cell never wraps, so no text is cut or runs into the
// next column.
class CReportTable
{
public:
    // The table starts out in the page's body font.
    CReportTable(const CReportCanvas &page, const QStringList &headers);

    // Texts the columns must find room for, whichever page their row is drawn on: every row is
    // fitted before the table is laid out, so that the columns are the same on every page.
    void fit(const QStringList &row);
    void fit(int column, const QString &text);
    void layOut();

    // The table's font and line step, once laid out.
    const CReportCanvas &canvas() const { return table; }
    // The header, the rule below it and the gap to the first row.
    double headerHeight() const;
    // The rows that fit between top and the footer.
    int rowsFrom(double top) const;
    // The header and, below it, the rows, one text per column.
    void draw(QPainter &painter, double top, const QList<QStringList> &rows) const;

private:
    // The columns at one size of the font: the headers as drawn and the width each column
    // takes, gap included.
    struct Columns {
        double points = 0;
        QStringList headers;
        QList<double> widths;
        double total = 0;
    };

    Columns columnsAt(double points, bool wrap) const;
    Columns fitting(double from, double least, bool wrap) const;
    void place(const Columns &columns);
    void drawTexts(QPainter &painter, double top, const QStringList &texts) const;

    CReportCanvas table;
    QStringList headers;
    QList<QSet<QString>> fitted;
    QStringList shownHeaders;
    QList<double> lefts;
    int headerLines = 1;
};
