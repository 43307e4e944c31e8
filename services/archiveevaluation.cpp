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

// Adds to history every reading of the download's points.
void takeAll(const QList<ArchiveReading> &readings, const QSet<PointInUnit> &points,
             QHash<TestPoint, QList<PointReading>> *history)
{
    for (const ArchiveReading &r : readings) {
        const TestPoint point{r.record.group, r.record.cell};
        if (points.contains({point, r.record.unit}))
            (*history)[point].append(PointReading{r.record, r.time});
    }
}

} // namespace

// The checks walk every earlier reading of a point, and least squares fits them all.
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
    if (!points.isEmpty())
        archive.readDownloadsBefore(
            time, false,
            [&](const QList<ArchiveReading> &readings) {
                takeAll(readings, points, &input->history);
                return true;
            },
            &why);
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
