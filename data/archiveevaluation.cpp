// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/archiveevaluation.h"

#include "archive/archive.h"
#include "data/evaluationsettings.h"
#include "data/objectparticulars.h"
#include "evaluation/evaluation.h"
#include "evaluation/evaluationcsvwriter.h"
#include "format/zrdata.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

bool CArchiveEvaluation::input(CArchive &archive, const CZRData &data, const QDateTime &time,
                               EvaluationInput *input, QString *problem)
{
    input->data = &data;
    input->time = time;
    input->maximumIntervalYears = CEvaluationSettings::maximumIntervalYears();
    input->history.clear();
    input->limits.clear();
    QString why;
    const QList<ArchiveReading> earlier = archive.readingsBefore(time, &why);
    const QMap<int, ArchiveLimits> latest =
        why.isEmpty() ? archive.latestLimits(&why) : QMap<int, ArchiveLimits>();
    if (!why.isEmpty()) {
        *problem = why;
        return false;
    }
    QSet<TestPoint> points;
    for (int group : CObjectParticulars::groupsOf(data)) {
        for (const MeasurementRecord &r : data.groups[group - 1])
            points.insert(TestPoint{r.group, r.cell});
    }
    for (const ArchiveReading &r : earlier) {
        const TestPoint point{r.record.group, r.record.cell};
        if (points.contains(point))
            input->history[point].append(PointReading{r.record, r.time});
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
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || !writer.write(out, evaluation) || !out.commit()) {
        *problem = out.errorString();
        return false;
    }
    return true;
}
