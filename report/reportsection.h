// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CReportCanvas;
class QPainter;

// A part of the report: it knows how many pages it needs and draws each of them; the report
// writer numbers the pages and draws the footers.
class CReportSection
{
public:
    virtual ~CReportSection();
    virtual int pageCount(const CReportCanvas &canvas) const = 0;
    virtual void drawPage(QPainter &painter, const CReportCanvas &canvas, int page) = 0;
};
