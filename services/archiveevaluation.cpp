// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/archiveevaluation.h"

#include "archive/archive.h"
#include "evaluation/evaluation.h"
#include "evaluation/evaluationcsvwriter.h"
#include "format/atomicfile.h"
#include "format/zrdata.h"
#include "services/evaluationsettings.h"
#include "services/objectparticulars.h"

#include <QFileInfo>

#include <algorithm>

namespace
{

// A test point in the unit the download reads it in: only readings in that unit compare.
using PointInUnit = std::pair<TestPoint, int>;

QSet<PointInUnit> pointsOf(const CZRData &data)
{
    QSet<PointInUnit> points;
    for (int group : CObjectParticulars::groupsOf(data)) {
        for (const MeasurementRecord &r : data.groups[group - 1])
            points.insert({TestPoint{r.group, r.cell}, r.unit});
    }
    return points;
}

// Adds to history the first reading of every point still missing that the download holds;
// false once none is missing.
bool takeFirst(const QList<ArchiveReading> &readings, QSet<PointInUnit> *missing,
               QHash<TestPoint, QList<PointReading>> *history)
{
    for (const ArchiveReading &r : readings) {
        const TestPoint point{r.record.group, r.record.cell};
        if (missing->remove({point, r.record.unit}))
            (*history)[point].append(PointReading{r.record, r.time});
    }
    return !missing->isEmpty();
}

} // namespace

// The method needs the earliest and the latest earlier reading of each point, so the archive is
// read from both ends and only as far as a point is still missing.
bool CArchiveEvaluation::input(CArchive &archive, const CZRData &data, const QDateTime &time,
                               EvaluationInput *input, QString *problem)
{
    input->data = &data;
    input->time = time;
    input->maximumIntervalYears = CEvaluationSettings::maximumIntervalYears();
    input->history.clear();
    input->limits.clear();
    const QSet<PointInUnit> points = pointsOf(data);
    QString why;
    for (bool newestFirst : {false, true}) {
        QSet<PointInUnit> missing = points;
        if (!missing.isEmpty() && why.isEmpty())
            archive.readDownloadsBefore(
                time, newestFirst,
                [&](const QList<ArchiveReading> &readings) {
                    return takeFirst(readings, &missing, &input->history);
                },
                &why);
    }
    const QMap<int, ArchiveLimits> latest =
        why.isEmpty() ? archive.latestLimits(&why) : QMap<int, ArchiveLimits>();
    if (!why.isEmpty()) {
        *problem = why;
        return false;
    }
    for (const ArchiveLimits &l : latest)
        input->limits.insert(l.group, GroupLimits{l.nominal, l.minimum, l.warning});
    return true;
}

bool CArchiveEvaluation::limitsApply(const EvaluationInput &input)
{
    const QList<int> groups = CObjectParticulars::groupsOf(*input.data);
    return std::any_of(groups.cbegin(), groups.cend(),
                       [&input](int group) { return input.limits.contains(group); });
}

QString CArchiveEvaluation::csvBeside(const QString &resultsPath)
{
    const QFileInfo info(resultsPath);
    return info.path() + QLatin1Char('/') + info.completeBaseName() +
           QStringLiteral("-evaluation.csv");
}

bool CArchiveEvaluation::writeCsv(const QString &path, const EvaluationInput &input,
                                  const CCsvWriter &results, QString *problem)
{
    const CEvaluation evaluation(input);
    CEvaluationCsvWriter writer;
    writer.results = results;
    return CAtomicFile::write(
        path, [&](QIODevice &out) { return writer.write(out, evaluation); }, problem);
}
