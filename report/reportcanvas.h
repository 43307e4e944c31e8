// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

class QPaintDevice;
class QPainter;

// The geometry every report page shares, measured on the page's device.
class CReportCanvas
{
public:
    CReportCanvas(QPaintDevice *device, const QFont &body);

    QPaintDevice *device;
    QFont body;
    double width = 0;
    double bottom = 0; // where the footer starts
    double line = 0;

    // The same page with a body font of the given size; the footer stays where it is.
    CReportCanvas sized(double points) const;
    // The same page with a smaller body font, for wide tables.
    CReportCanvas compact() const;
    // Text wrapped to the width from top, and the height it takes.
    void drawParagraph(QPainter &painter, double top, const QString &text) const;
    double paragraphHeight(const QString &text) const;
    // A bold heading, a little larger than the body, and the height it takes with the gap
    // below it.
    void drawHeading(QPainter &painter, double top, const QString &text) const;
    double headingHeight() const;
    static int pagesFor(int items, int perPage);
    // A table whose first page holds fewer rows than the pages after it: its pages, and the
    // first row on a page.
    static int tablePages(int rows, int firstPageRows, int perPage);
    static int firstRowOn(int page, int firstPageRows, int perPage);
    static QFont titleFont();
    QFont headingFont() const;
};
