// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/evaluationservice.h"

#include "archive/archiveset.h"
#include "services/archiveevaluation.h"
#include "services/archiveservice.h"
#include "services/objectparticulars.h"

#include <QDir>

bool CEvaluationService::input(const CZRData &data, const QDateTime &time, EvaluationInput *input,
                               QString *problem)
{
    bool read = false;
    return archive->read(
               [&](CArchiveSet &set) {
                   read = CArchiveEvaluation::input(set.chosen(), data, time, input, problem);
               },
               problem) &&
           read;
}

bool CEvaluationService::setLimits(int group, const GroupLimits &limits, QString *problem)
{
    bool set = false;
    return archive->run(
               [&](CArchiveSet &archives) {
                   set = archives.chosen().setLimits(ArchiveLimits{group, limits.nominal,
                                                                   limits.minimum, limits.warning,
                                                                   QDateTime::currentDateTime()},
                                                     problem);
               },
               problem) &&
           set;
}

QMap<QString, QString> CEvaluationService::particulars(const CZRData &data, QString *problem)
{
    QMap<QString, QString> values;
    archive->read(
        [&](CArchiveSet &set) { values = CObjectParticulars::of(set.chosen(), data, problem); },
        problem);
    return values;
}

bool CEvaluationService::rememberParticulars(const CZRData &data,
                                             const QMap<QString, QString> &values, QString *problem)
{
    bool remembered = false;
    return archive->run(
               [&](CArchiveSet &set) {
                   remembered = CObjectParticulars::remember(set.chosen(), data, values,
                                                             QDateTime::currentDateTime(), problem);
               },
               problem) &&
           remembered;
}

// Without an archive or limits there is nothing to evaluate, and the results file is all.
bool CEvaluationService::writeBeside(const QString &resultsPath, const CZRData &data,
                                     const QDateTime &time, const CCsvWriter &results,
                                     QString *problem)
{
    EvaluationInput evaluation;
    QString unused;
    if (!input(data, time, &evaluation, &unused) || !CArchiveEvaluation::limitsApply(evaluation))
        return true;
    const QString path = CArchiveEvaluation::csvBeside(resultsPath);
    if (CArchiveEvaluation::writeCsv(path, evaluation, results, problem))
        return true;
    *problem = QDir::toNativeSeparators(path) + QStringLiteral(": ") + *problem;
    return false;
}
