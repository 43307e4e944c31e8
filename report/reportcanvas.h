// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QList>
#include <QStringList>

class QPaintDevice;
class QPainter;

// The geometry every report page shares, measured on the page's device, and the way its tables
// are drawn.
class CReportCanvas
{
public:
    // A table's header row and the gap below it, in lines.
    static constexpr double kHeaderRows = 1.4;

    CReportCanvas(QPaintDevice *device, const QFont &body);

    QPaintDevice *device;
    QFont body;
    double width = 0;
    double bottom = 0; // where the footer starts
    double line = 0;

    int rowsPerPage() const;
    static int pagesFor(int items, int perPage);
    static QFont titleFont();
    // Columns from the given stops (fractions of the width), one text per column; a bold one
    // is a header with a rule below it.
    void drawColumns(QPainter &painter, double top, const QList<double> &stops,
                     const QList<QStringList> &columns, bool bold) const;
};
