// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/reportwriter.h"

#include "format/atomicfile.h"
#include "format/zrdata.h"
#include "report/actionlistsection.h"
#include "report/evaluationsummarysection.h"
#include "report/limitssection.h"
#include "report/overviewsection.h"
#include "report/picturessection.h"
#include "report/reportcanvas.h"
#include "report/resultssection.h"
#include "report/thicknessmapsection.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

namespace
{

constexpr int kBodyPoints = 9;

} // namespace

CReportWriter::CReportWriter(const Source &source, const QString &version)
    : source(source), version(version), body(QStringLiteral("DejaVu Sans"), kBodyPoints)
{
    const CZRData &data = *source.data;
    for (int row : source.rows) {
        MeasurementRecord record;
        const AScanEntry *entry =
            data.recordAt(row, &record) && record.hasAScan ? source.aScanOf(row) : nullptr;
        if (entry != nullptr)
            aScans.append({row, *entry});
    }
}

CReportWriter::~CReportWriter() = default;

CReportWriter::Sections CReportWriter::sections(const CReportCanvas &canvas) const
{
    Sections all;
    all.push_back(std::make_unique<COverviewSection>(source, int(aScans.size()), format, canvas));
    all.push_back(std::make_unique<CResultsSection>(source, format, canvas));
    all.push_back(std::make_unique<CPicturesSection>(source, aScans, format, labels));
    if (source.evaluation != nullptr) {
        const CEvaluation &evaluation = *source.evaluation;
        all.push_back(std::make_unique<CEvaluationSummarySection>(evaluation, format, canvas));
        all.push_back(std::make_unique<CLimitsSection>(evaluation, format));
        all.push_back(std::make_unique<CThicknessMapSection>(evaluation, source.mapWidths, format));
        all.push_back(std::make_unique<CActionListSection>(evaluation, format, canvas));
    }
    return all;
}

void CReportWriter::setUp(QPdfWriter &pdf) const
{
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(300);
    pdf.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
    pdf.setTitle(tr("Inspection report"));
    pdf.setCreator(QStringLiteral("Collatrix ") + version);
}

int CReportWriter::pagesOf(const Sections &all, const CReportCanvas &canvas)
{
    int pages = 0;
    for (const auto &section : all)
        pages += section->pageCount(canvas);
    return pages;
}

int CReportWriter::pageCount()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    setUp(pdf);
    const CReportCanvas canvas(&pdf, body);
    return pagesOf(sections(canvas), canvas);
}

bool CReportWriter::write(const QString &path, QString *problem)
{
    return CAtomicFile::write(
        path, [this](QIODevice &out) { return writePages(out); }, problem);
}

bool CReportWriter::writePages(QIODevice &out) const
{
    QPdfWriter pdf(&out);
    setUp(pdf);
    const CReportCanvas canvas(&pdf, body);
    const Sections all = sections(canvas);
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

void CReportWriter::drawFooter(QPainter &painter, const CReportCanvas &canvas, int page,
                               int pages) const
{
    const QRectF footer(0, canvas.bottom + canvas.line, canvas.width, canvas.line);
    painter.drawLine(QPointF(0, footer.top() - 0.3 * canvas.line),
                     QPointF(canvas.width, footer.top() - 0.3 * canvas.line));
    painter.drawText(footer, Qt::AlignLeft, QStringLiteral("Collatrix ") + version);
    painter.drawText(footer, Qt::AlignRight, tr("Page %1 of %2").arg(page).arg(pages));
}
