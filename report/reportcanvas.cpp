// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/reportcanvas.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace
{

constexpr int kTitlePoints = 18;
constexpr double kCompactPoints = 7.0;
constexpr int kParagraphFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// The step between the lines of one drawText, which is what the tables are drawn with; the
// font's line spacing alone is a little short of it.
double lineStep(const QFont &font, QPaintDevice *device)
{
    const QString hundredLines = QStringLiteral("0\n").repeated(99) + QLatin1Char('0');
    return QFontMetricsF(font, device)
               .boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, hundredLines)
               .height() /
           100;
}

} // namespace

CReportCanvas::CReportCanvas(QPaintDevice *device, const QFont &body)
    : device(device), body(body), width(device->width()), line(lineStep(body, device))
{
    bottom = device->height() - 2 * line;
}

CReportCanvas CReportCanvas::sized(double points) const
{
    QFont font = body;
    font.setPointSizeF(points);
    CReportCanvas other(device, font);
    other.bottom = bottom;
    return other;
}

CReportCanvas CReportCanvas::compact() const
{
    return sized(kCompactPoints);
}

void CReportCanvas::drawParagraph(QPainter &painter, double top, const QString &text) const
{
    painter.setFont(body);
    painter.drawText(QRectF(0, top, width, bottom - top), kParagraphFlags, text);
}

double CReportCanvas::paragraphHeight(const QString &text) const
{
    return QFontMetricsF(body, device)
        .boundingRect(QRectF(0, 0, width, bottom), kParagraphFlags, text)
        .height();
}

void CReportCanvas::drawHeading(QPainter &painter, double top, const QString &text) const
{
    painter.setFont(headingFont());
    painter.drawText(QRectF(0, top, width, headingHeight()), Qt::AlignLeft, text);
    painter.setFont(body);
}

double CReportCanvas::headingHeight() const
{
    return QFontMetricsF(headingFont(), device).lineSpacing() + 0.5 * line;
}

QFont CReportCanvas::headingFont() const
{
    QFont bold = body;
    bold.setBold(true);
    bold.setPointSizeF(body.pointSizeF() * 1.4);
    return bold;
}

int CReportCanvas::pagesFor(int items, int perPage)
{
    return items <= 0 ? 0 : (items + perPage - 1) / perPage;
}

int CReportCanvas::tablePages(int rows, int firstPageRows, int perPage)
{
    return 1 + pagesFor(rows - firstPageRows, perPage);
}

int CReportCanvas::firstRowOn(int page, int firstPageRows, int perPage)
{
    return page == 0 ? 0 : firstPageRows + (page - 1) * perPage;
}

QFont CReportCanvas::titleFont()
{
    QFont font(QStringLiteral("DejaVu Sans"), kTitlePoints);
    font.setBold(true);
    return font;
}
