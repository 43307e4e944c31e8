// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/reportcanvas.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;

// A table of the report, its columns laid out from what they hold: each is as wide as its
// widest text, header or cell, plus a gap, and what is left of the page's width is shared out
// among them. A table too wide for the page is set in a smaller font, down to a floor; only
// then does a header take two lines. A cell never wraps, so no text is cut or runs into the
// next column.
class CReportTable
{
public:
    // Row i of the table, one text per column.
    using Rows = std::function<QStringList(int i)>;

    // The table starts out in the page's body font.
    CReportTable(const CReportCanvas &page, const QStringList &headers);

    // A text the column must find room for though no row holds it yet.
    void fit(int column, const QString &text);
    // Every row is measured, not only those of one page, so that the columns are the same on
    // every page.
    void layOut(int count, const Rows &rows);

    // The rows that fit between top and the footer.
    int rowsFrom(double top) const;
    // The header and, below it, the rows from first on, as many as there are up to count.
    void draw(QPainter &painter, double top, int first, int count, const Rows &rows) const;

private:
    // The columns at one size of the font: the headers as drawn and the width each column
    // takes, gap included.
    struct Columns {
        double points = 0;
        QStringList headers;
        QList<double> widths;
        double total = 0;
    };

    double headerHeight() const;
    Columns columnsAt(double points, bool wrap) const;
    Columns fitting(double from, double least, bool wrap) const;
    void place(const Columns &columns);
    void drawHeader(QPainter &painter, double top) const;
    void drawTexts(QPainter &painter, double top, const QStringList &texts) const;

    CReportCanvas table;
    QStringList headers;
    QList<QSet<QString>> fitted;
    QStringList shownHeaders;
    QList<double> lefts;
    int headerLines = 1;
    int rowCount = 0;
};
