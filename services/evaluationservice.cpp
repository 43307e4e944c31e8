// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/evaluationservice.h"

#include "archive/archiveset.h"
#include "services/archiveevaluation.h"
#include "services/archiveservice.h"
#include "services/objectparticulars.h"
#include "services/reviewservice.h"

#include "format/zrdata.h"

#include <QDir>

#include <memory>

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

QMap<QString, QString> CEvaluationService::particulars(const CZRData &data, QString *problem)
{
    QMap<QString, QString> values;
    archive->read(
        [&](CArchiveSet &set) { values = CObjectParticulars::of(set.chosen(), data, problem); },
        problem);
    return values;
}

void CEvaluationService::setLimits(int group, const GroupLimits &limits, QObject *context,
                                   const Done &done)
{
    write(
        [group, limits](CArchive &archive, QString *problem) {
            return CArchiveEvaluation::setLimits(archive, group, limits, problem);
        },
        context, done);
}

// The results are copied: the window may show others by the time the archive's thread gets here.
void CEvaluationService::rememberParticulars(const CZRData &data,
                                             const QMap<QString, QString> &values, QObject *context,
                                             const Done &done)
{
    const QDateTime at = QDateTime::currentDateTime();
    write(
        [data, values, at](CArchive &archive, QString *problem) {
            return CObjectParticulars::remember(archive, data, values, at, problem);
        },
        context, done);
}

QList<ArchiveLogEntry> CEvaluationService::log(int group, QString *problem)
{
    QList<ArchiveLogEntry> entries;
    archive->read([&](CArchiveSet &set) { entries = set.chosen().log(group, problem); }, problem);
    return entries;
}

void CEvaluationService::decide(const ArchiveDecision &decision, QObject *context, const Done &done)
{
    writeSet(
        [decision](CArchiveSet &set, QString *problem) {
            return CReviewService::decide(set, decision, problem);
        },
        context, done);
}

void CEvaluationService::write(const std::function<bool(CArchive &, QString *)> &step,
                               QObject *context, const Done &done)
{
    writeSet([step](CArchiveSet &set, QString *problem) { return step(set.chosen(), problem); },
             context, done);
}

void CEvaluationService::writeSet(const std::function<bool(CArchiveSet &, QString *)> &step,
                                  QObject *context, const Done &done)
{
    struct Outcome {
        bool written = false;
        QString problem;
    };
    auto outcome = std::make_shared<Outcome>();
    archive->query(
        [step, outcome](CArchiveSet &set) { outcome->written = step(set, &outcome->problem); },
        context,
        [this, outcome, done] {
            done(outcome->written || !outcome->problem.isEmpty() ? outcome->problem
                                                                 : archive->state().problem);
        });
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
