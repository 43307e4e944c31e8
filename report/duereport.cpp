// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/duereport.h"

#include "evaluation/evaluationcsvwriter.h"
#include "report/reportcanvas.h"
#include "report/reportdocument.h"
#include "services/duelist.h"

#include <QFontMetricsF>
#include <QPainter>

CDueReport::CDueReport(const QList<DueLine> &lines, const Heading &heading,
                       const CReportCanvas &canvas)
    : lines(lines), heading(heading), table(canvas, headers())
{
    table.layOut(int(lines.size()), [this](int i) { return cells(this->lines.at(i)); });
}

bool CDueReport::write(const QString &path, const QList<DueLine> &lines, const Heading &heading,
                       const QString &version, QString *problem)
{
    const CReportDocument document(
        tr("Inspections due"), version, [&lines, &heading](const CReportCanvas &canvas) {
            CReportDocument::Sections all;
            all.push_back(std::make_unique<CDueReport>(lines, heading, canvas));
            return all;
        });
    return document.write(path, problem);
}

QStringList CDueReport::headers()
{
    return {tr("Group"),   tr("Last survey"), tr("Points"), tr("Below minimum"),  tr("Warning"),
            tr("Suspect"), tr("Overdue"),     tr("Point"),  tr("Next inspection")};
}

// An object without a date waits for a review of its points before one can be given.
QStringList CDueReport::cells(const DueLine &line)
{
    return {CDueList::objectLabel(line),
            CEvaluationCsvWriter::dateText(line.lastSurvey.date()),
            QString::number(line.points),
            QString::number(line.belowMinimum),
            QString::number(line.warning),
            QString::number(line.suspect),
            QString::number(line.overdue),
            CDueList::pointLabel(line),
            line.nextInspection.isValid() ? CEvaluationCsvWriter::dateText(line.nextInspection)
                                          : tr("to review")};
}

QStringList CDueReport::particulars() const
{
    return QStringList{tr("Date: %1").arg(CEvaluationCsvWriter::dateText(heading.day)),
                       tr("Archive: %1").arg(heading.archive)} +
           heading.narrowing + QStringList{tr("Objects: %1").arg(lines.size())};
}

double CDueReport::tableTop(const CReportCanvas &canvas) const
{
    return QFontMetricsF(CReportCanvas::titleFont(), canvas.device).lineSpacing() * 1.5 +
           (particulars().size() + 1) * canvas.line;
}

int CDueReport::rowsFirst(const CReportCanvas &canvas) const
{
    return table.rowsFrom(tableTop(canvas));
}

int CDueReport::pageCount(const CReportCanvas &canvas) const
{
    return CReportCanvas::tablePages(int(lines.size()), rowsFirst(canvas), table.rowsFrom(0));
}

void CDueReport::drawPage(QPainter &painter, const CReportCanvas &canvas, int page)
{
    const int first = CReportCanvas::firstRowOn(page, rowsFirst(canvas), table.rowsFrom(0));
    double top = 0;
    int count = table.rowsFrom(0);
    if (page == 0) {
        drawHeading(painter, canvas);
        top = tableTop(canvas);
        count = rowsFirst(canvas);
    }
    if (lines.isEmpty()) {
        canvas.drawParagraph(painter, top, tr("No object with limits is listed."));
        return;
    }
    table.draw(painter, top, first, count, [this](int i) { return cells(lines.at(i)); });
}

void CDueReport::drawHeading(QPainter &painter, const CReportCanvas &canvas) const
{
    const QFont title = CReportCanvas::titleFont();
    painter.setFont(title);
    painter.drawText(QPointF(0, QFontMetricsF(title, painter.device()).ascent()),
                     tr("Inspections due"));
    painter.setFont(canvas.body);
    const QFontMetricsF metrics(canvas.body, painter.device());
    double y = QFontMetricsF(title, canvas.device).lineSpacing() * 1.5;
    // A long archive location keeps to its line rather than running into the next.
    for (const QString &line : particulars()) {
        painter.drawText(QRectF(0, y, canvas.width, canvas.line), Qt::AlignLeft,
                         metrics.elidedText(line, Qt::ElideRight, canvas.width));
        y += canvas.line;
    }
}
