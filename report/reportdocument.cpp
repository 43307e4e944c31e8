// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/reportdocument.h"

#include "format/atomicfile.h"
#include "report/reportcanvas.h"
#include "report/reportsection.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

namespace
{

constexpr int kBodyPoints = 9;

} // namespace

CReportDocument::CReportDocument(const QString &title, const QString &version, const Make &make)
    : title(title), version(version), make(make), body(QStringLiteral("DejaVu Sans"), kBodyPoints)
{
}

void CReportDocument::setUp(QPdfWriter &pdf) const
{
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(300);
    pdf.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Collatrix ") + version);
}

int CReportDocument::pagesOf(const Sections &all, const CReportCanvas &canvas)
{
    int pages = 0;
    for (const auto &section : all)
        pages += section->pageCount(canvas);
    return pages;
}

int CReportDocument::pageCount() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    setUp(pdf);
    const CReportCanvas canvas(&pdf, body);
    return pagesOf(make(canvas), canvas);
}

bool CReportDocument::write(const QString &path, QString *problem) const
{
    return CAtomicFile::write(
        path, [this](QIODevice &out) { return writePages(out); }, problem);
}

bool CReportDocument::writePages(QIODevice &out) const
{
    QPdfWriter pdf(&out);
    setUp(pdf);
    const CReportCanvas canvas(&pdf, body);
    const Sections all = make(canvas);
    const int pages = pagesOf(all, canvas);
    QPainter painter(&pdf);
    // Pictures go in as they are drawn; a lossy encoding would smear the trace's thin lines.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.setFont(body);
    int page = 0;
    for (const auto &section : all) {
        for (int i = 0; i < section->pageCount(canvas); ++i) {
            section->drawPage(painter, canvas, i);
            drawFooter(painter, canvas, ++page, pages);
            if (page < pages)
                pdf.newPage();
        }
    }
    return painter.end();
}

void CReportDocument::drawFooter(QPainter &painter, const CReportCanvas &canvas, int page,
                                 int pages) const
{
    const QRectF footer(0, canvas.bottom + canvas.line, canvas.width, canvas.line);
    painter.drawLine(QPointF(0, footer.top() - 0.3 * canvas.line),
                     QPointF(canvas.width, footer.top() - 0.3 * canvas.line));
    painter.drawText(footer, Qt::AlignLeft, QStringLiteral("Collatrix ") + version);
    painter.drawText(footer, Qt::AlignRight, tr("Page %1 of %2").arg(page).arg(pages));
}
