// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/reportwriter.h"

#include "format/zrdata.h"
#include "report/actionlistsection.h"
#include "report/evaluationsummarysection.h"
#include "report/limitssection.h"
#include "report/overviewsection.h"
#include "report/picturessection.h"
#include "report/reportcanvas.h"
#include "report/resultssection.h"
#include "report/thicknessmapsection.h"

CReportWriter::CReportWriter(const Source &source, const QString &version)
    : source(source), version(version)
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

CReportDocument::Sections CReportWriter::sections(const CReportCanvas &canvas) const
{
    CReportDocument::Sections all;
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

CReportDocument CReportWriter::document() const
{
    return CReportDocument(tr("Inspection report"), version,
                           [this](const CReportCanvas &canvas) { return sections(canvas); });
}

int CReportWriter::pageCount()
{
    return document().pageCount();
}

bool CReportWriter::write(const QString &path, QString *problem)
{
    return document().write(path, problem);
}
