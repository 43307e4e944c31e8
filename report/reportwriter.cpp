// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/reportwriter.h"

#include "format/zrdata.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

namespace
{

const QList<double> kStatisticsStops{0.0, 0.12, 0.27, 0.44, 0.61, 0.78};
const QList<double> kResultStops{0.0, 0.15, 0.32, 0.55, 0.75};
constexpr double kHeaderRows = 1.4; // a table's header row and the gap below it, in lines
constexpr int kTitlePoints = 18;
constexpr int kBodyPoints = 9;

int pagesFor(int items, int perPage)
{
    return items <= 0 ? 0 : (items + perPage - 1) / perPage;
}

QFont titleFont()
{
    QFont font(QStringLiteral("DejaVu Sans"), kTitlePoints);
    font.setBold(true);
    return font;
}

} // namespace

CReportWriter::CReportWriter(const Source &source, const QString &version)
    : source(source), version(version), body(QStringLiteral("DejaVu Sans"), kBodyPoints)
{
    const CZRData &data = *source.data;
    statistics =
        CResultStatistics::compute(data, source.rows, source.rows.size() == data.totalCount());
    for (int row : source.rows) {
        MeasurementRecord record;
        const AScanEntry *entry =
            data.recordAt(row, &record) && record.hasAScan ? source.aScanOf(row) : nullptr;
        if (entry != nullptr)
            aScans.append({row, *entry});
    }
}

void CReportWriter::setUp(QPdfWriter &pdf) const
{
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(300);
    pdf.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
    pdf.setTitle(tr("Inspection report"));
    pdf.setCreator(QStringLiteral("Collatrix ") + version);
}

CReportWriter::Layout CReportWriter::layoutOn(QPdfWriter &pdf) const
{
    Layout l;
    // The step between the lines of one drawText, which is what the tables are drawn with; the
    // font's line spacing alone is a little short of it.
    const QString hundredLines = QStringLiteral("0\n").repeated(99) + QLatin1Char('0');
    l.line = QFontMetricsF(body, &pdf)
                 .boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, hundredLines)
                 .height() /
             100;
    l.width = pdf.width();
    l.bottom = pdf.height() - 2 * l.line;
    l.firstStatsTop = QFontMetricsF(titleFont(), &pdf).lineSpacing() * 1.5 +
                      (particulars().size() + 1.5) * l.line;
    l.rowsPerPage = int((l.bottom - kHeaderRows * l.line) / l.line);
    l.statsRowsFirst = int((l.bottom - l.firstStatsTop - kHeaderRows * l.line) / l.line);
    l.statsPages = 1 + pagesFor(int(statistics.size()) - l.statsRowsFirst, l.rowsPerPage);
    l.resultPages = pagesFor(int(source.rows.size()), l.rowsPerPage);
    l.picturePages = pagesFor(int(aScans.size()), kPictureColumns * kPictureRows);
    return l;
}

int CReportWriter::pageCount()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    setUp(pdf);
    return layoutOn(pdf).pages();
}

bool CReportWriter::write(const QString &path, QString *problem)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *problem = file.errorString();
        return false;
    }
    QPdfWriter pdf(&file);
    setUp(pdf);
    layout = layoutOn(pdf);
    QPainter painter(&pdf);
    // Pictures go in as they are drawn; a lossy encoding would smear the trace's thin lines.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.setFont(body);
    int page = 0;
    const auto finishPage = [&]() {
        drawFooter(painter, ++page);
        if (page < layout.pages())
            pdf.newPage();
    };
    drawFirstPage(painter);
    drawStatistics(painter, layout.firstStatsTop, 0, layout.statsRowsFirst);
    finishPage();
    for (int i = layout.statsRowsFirst; i < statistics.size(); i += layout.rowsPerPage) {
        drawStatistics(painter, 0, i, layout.rowsPerPage);
        finishPage();
    }
    for (int i = 0; i < source.rows.size(); i += layout.rowsPerPage) {
        drawResults(painter, i);
        finishPage();
    }
    for (int i = 0; i < aScans.size(); i += kPictureColumns * kPictureRows) {
        drawPictures(painter, i);
        finishPage();
    }
    if (!painter.end() || !file.commit()) {
        *problem = file.errorString();
        return false;
    }
    return true;
}

QStringList CReportWriter::particulars() const
{
    const CZRData &data = *source.data;
    const QString unknown = tr("not known");
    QStringList lines{tr("Device: %1").arg(data.deviceType),
                      tr("Downloaded: %1")
                          .arg(source.time.isValid()
                                   ? source.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                   : unknown),
                      tr("Port: %1").arg(source.port.isEmpty() ? unknown : source.port),
                      tr("Results: %1    A-scans: %2").arg(source.rows.size()).arg(aScans.size())};
    if (source.outcome == QLatin1String("incomplete"))
        lines << tr("Outcome: the received data is incomplete");
    return lines;
}

void CReportWriter::drawFirstPage(QPainter &painter) const
{
    painter.setFont(titleFont());
    painter.drawText(QPointF(0, QFontMetricsF(titleFont(), painter.device()).ascent()),
                     tr("Inspection report"));
    painter.setFont(body);
    double y = layout.firstStatsTop - (particulars().size() + 1.5) * layout.line;
    for (const QString &line : particulars()) {
        painter.drawText(QRectF(0, y, layout.width, layout.line), Qt::AlignLeft, line);
        y += layout.line;
    }
    QFont bold = body;
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QRectF(0, y + 0.5 * layout.line, layout.width, layout.line), Qt::AlignLeft,
                     tr("Statistics per group"));
    painter.setFont(body);
}

QString CReportWriter::figure(double value, int decimals) const
{
    return CResultStatistics::number(value, decimals, format.decimalSeparator);
}

void CReportWriter::drawStatistics(QPainter &painter, double top, int first, int count) const
{
    drawColumns(painter, top, kStatisticsStops,
                {{tr("Group")},
                 {tr("Unit")},
                 {tr("Count")},
                 {tr("Minimum")},
                 {tr("Maximum")},
                 {tr("Mean")}},
                true);
    QList<QStringList> columns(kStatisticsStops.size());
    const QString none = QStringLiteral("-");
    for (int i = first; i < std::min<int>(first + count, statistics.size()); ++i) {
        const GroupStatistics &s = statistics.at(i);
        const bool empty = s.count == 0;
        columns[0] << QString::number(s.group);
        columns[1] << (empty ? none : format.unitText(s.unit));
        columns[2] << QString::number(s.count);
        columns[3] << (empty ? none : figure(s.minimum, s.decimals));
        columns[4] << (empty ? none : figure(s.maximum, s.decimals));
        columns[5] << (empty ? none : figure(s.mean, s.decimals));
    }
    drawColumns(painter, top + kHeaderRows * layout.line, kStatisticsStops, columns, false);
}

void CReportWriter::drawResults(QPainter &painter, int first) const
{
    drawColumns(painter, 0, kResultStops,
                {{tr("Group")}, {tr("Cell")}, {tr("Result")}, {tr("Unit")}, {tr("A-scan")}}, true);
    QList<QStringList> columns(kResultStops.size());
    const int end = std::min<int>(first + layout.rowsPerPage, source.rows.size());
    for (int i = first; i < end; ++i) {
        MeasurementRecord r;
        source.data->recordAt(source.rows.at(i), &r);
        columns[0] << QString::number(r.group);
        columns[1] << QString::number(r.cell);
        columns[2] << format.resultText(r);
        columns[3] << format.unitText(r.unit);
        columns[4] << (r.hasAScan ? QStringLiteral("\u2022") : QString());
    }
    drawColumns(painter, kHeaderRows * layout.line, kResultStops, columns, false);
}

// One drawText per column: a page of 300,000 rows' worth of cells would otherwise take minutes.
void CReportWriter::drawColumns(QPainter &painter, double top, const QList<double> &stops,
                                const QList<QStringList> &columns, bool bold) const
{
    QFont font = body;
    font.setBold(bold);
    painter.setFont(font);
    for (int c = 0; c < stops.size(); ++c) {
        const double left = stops.at(c) * layout.width;
        const double right = c + 1 < stops.size() ? stops.at(c + 1) * layout.width : layout.width;
        painter.drawText(QRectF(left, top, right - left, layout.bottom - top),
                         Qt::AlignLeft | Qt::AlignTop, columns.at(c).join(QLatin1Char('\n')));
    }
    if (bold) {
        const double y = top + 1.15 * layout.line;
        painter.drawLine(QPointF(0, y), QPointF(layout.width, y));
    }
    painter.setFont(body);
}

void CReportWriter::drawPictures(QPainter &painter, int first)
{
    AScanWindow window;
    window.setup();
    window.labels = labels;
    const double gap = 2 * layout.line;
    const double cellWidth = (layout.width - gap) / kPictureColumns;
    const double cellHeight = layout.bottom / kPictureRows;
    const int end = std::min<int>(first + kPictureColumns * kPictureRows, aScans.size());
    for (int i = first; i < end; ++i) {
        MeasurementRecord r;
        source.data->recordAt(aScans.at(i).first, &r);
        const QPixmap picture = window.pictureOf(r, aScans.at(i).second);
        const int slot = i - first;
        const QPointF corner((slot % kPictureColumns) * (cellWidth + gap),
                             (slot / kPictureColumns) * cellHeight);
        const double height =
            std::min(cellWidth * picture.height() / picture.width(), cellHeight - 2 * layout.line);
        const double width = height * picture.width() / picture.height();
        painter.drawPixmap(QRectF(corner, QSizeF(width, height)), picture, picture.rect());
        painter.drawText(
            QRectF(corner.x(), corner.y() + height + 0.3 * layout.line, cellWidth, layout.line),
            Qt::AlignLeft,
            tr("Group %1, cell %2: %3 %4")
                .arg(r.group)
                .arg(r.cell)
                .arg(format.resultText(r), format.unitText(r.unit)));
    }
}

void CReportWriter::drawFooter(QPainter &painter, int page) const
{
    const QRectF footer(0, layout.bottom + layout.line, layout.width, layout.line);
    painter.drawLine(QPointF(0, footer.top() - 0.3 * layout.line),
                     QPointF(layout.width, footer.top() - 0.3 * layout.line));
    painter.drawText(footer, Qt::AlignLeft, QStringLiteral("Collatrix ") + version);
    painter.drawText(footer, Qt::AlignRight, tr("Page %1 of %2").arg(page).arg(layout.pages()));
}
