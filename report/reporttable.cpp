// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/reporttable.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{

// Smaller print is hard to read: headers take two lines before the font goes below this.
constexpr double kFloorPoints = 5.5;
// Below the floor only when even two-line headers do not fit, as small print is better than
// text cut or overprinted; the search ends here.
constexpr double kLeastPoints = 2.0;
constexpr double kPointStep = 0.05;
// The gap after a column's widest text, in ems of the table's font.
constexpr double kGapEms = 0.6;
// The rule below the header and the first row, in lines below the header's last line.
constexpr double kRuleBelow = 0.15;
constexpr double kRowsBelow = 0.4;

double widthOf(const QFontMetricsF &metrics, const QString &text)
{
    double widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The header on two lines, broken at the blank that makes it narrowest; as it is without one.
QString wrapped(const QString &header, const QFontMetricsF &metrics)
{
    QString best = header;
    for (qsizetype at = header.indexOf(QLatin1Char(' ')); at >= 0;
         at = header.indexOf(QLatin1Char(' '), at + 1)) {
        const QString broken = header.left(at) + QLatin1Char('\n') + header.mid(at + 1);
        if (widthOf(metrics, broken) < widthOf(metrics, best))
            best = broken;
    }
    return best;
}

} // namespace

CReportTable::CReportTable(const CReportCanvas &page, const QStringList &headers)
    : table(page), headers(headers), fitted(headers.size())
{
}

void CReportTable::fit(int column, const QString &text)
{
    fitted[column].insert(text);
}

CReportTable::Columns CReportTable::columnsAt(double points, bool wrap) const
{
    QFont font = table.body;
    font.setPointSizeF(points);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF cells(font, table.device);
    const QFontMetricsF heads(bold, table.device);
    const double gap = kGapEms * points / 72 * table.device->logicalDpiX();
    Columns columns;
    columns.points = points;
    for (int c = 0; c < headers.size(); ++c) {
        double widest = 0;
        for (const QString &text : fitted.at(c))
            widest = std::max(widest, cells.horizontalAdvance(text));
        const QString &header = headers.at(c);
        columns.headers << (wrap && heads.horizontalAdvance(header) > widest
                                ? wrapped(header, heads)
                                : header);
        columns.widths << std::max(widest, widthOf(heads, columns.headers.last())) + gap;
        columns.total += columns.widths.last();
    }
    return columns;
}

// The columns at the largest size from `from` down to `least` at which they fit the width, or
// at `least`. Widths grow with the size nearly in proportion, so a step or two finds it.
CReportTable::Columns CReportTable::fitting(double from, double least, bool wrap) const
{
    Columns columns = columnsAt(from, wrap);
    while (columns.total > table.width && columns.points > least) {
        const double scaled =
            std::floor(columns.points * table.width / columns.total / kPointStep) * kPointStep;
        columns = columnsAt(std::max(least, std::min(scaled, columns.points - kPointStep)), wrap);
    }
    return columns;
}

void CReportTable::layOut(int count, const Rows &rows)
{
    rowCount = count;
    for (int i = 0; i < count; ++i) {
        const QStringList row = rows(i);
        for (int c = 0; c < std::min<int>(row.size(), fitted.size()); ++c)
            fit(c, row.at(c));
    }
    const double body = table.body.pointSizeF();
    const double floor = std::min(body, kFloorPoints);
    Columns columns = fitting(body, floor, false);
    if (columns.total > table.width)
        columns = fitting(floor, kLeastPoints, true);
    table = table.sized(columns.points);
    place(columns);
}

void CReportTable::place(const Columns &columns)
{
    shownHeaders = columns.headers;
    headerLines = shownHeaders.join(QString()).contains(QLatin1Char('\n')) ? 2 : 1;
    const double spare = std::max(0.0, table.width - columns.total) / columns.widths.size();
    lefts.clear();
    double left = 0;
    for (double width : columns.widths) {
        lefts << left;
        left += width + spare;
    }
}

double CReportTable::headerHeight() const
{
    return (headerLines + kRowsBelow) * table.line;
}

int CReportTable::rowsFrom(double top) const
{
    return int((table.bottom - top - headerHeight()) / table.line);
}

void CReportTable::drawHeader(QPainter &painter, double top) const
{
    QFont bold = table.body;
    bold.setBold(true);
    painter.setFont(bold);
    drawTexts(painter, top, shownHeaders);
    const double rule = top + (headerLines + kRuleBelow) * table.line;
    painter.drawLine(QPointF(0, rule), QPointF(table.width, rule));
}

// One drawText per column: a page of 300,000 rows' worth of cells would otherwise take minutes.
void CReportTable::draw(QPainter &painter, double top, int first, int count, const Rows &rows) const
{
    painter.save();
    drawHeader(painter, top);
    painter.setFont(table.body);
    QList<QStringList> columns(lefts.size());
    for (int i = first; i < std::min(first + count, rowCount); ++i) {
        const QStringList row = rows(i);
        for (int c = 0; c < columns.size(); ++c)
            columns[c] << row.value(c);
    }
    QStringList texts;
    for (const QStringList &column : columns)
        texts << column.join(QLatin1Char('\n'));
    drawTexts(painter, top + headerHeight(), texts);
    painter.restore();
}

void CReportTable::drawTexts(QPainter &painter, double top, const QStringList &perColumn) const
{
    for (int c = 0; c < lefts.size(); ++c) {
        const double right = c + 1 < lefts.size() ? lefts.at(c + 1) : table.width;
        painter.drawText(QRectF(lefts.at(c), top, right - lefts.at(c), table.bottom - top),
                         Qt::AlignLeft | Qt::AlignTop, perColumn.at(c));
    }
}
