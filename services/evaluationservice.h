// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archivedecision.h"
#include "archive/archivelogentry.h"
#include "evaluation/evaluationinput.h"

#include <QDateTime>
#include <QMap>
#include <QString>

#include <functional>

class CArchive;
class CArchiveSet;
class CArchiveService;
class CCsvWriter;
class CZRData;
class QObject;

// What the evaluation asks of the archive: the readings a download is evaluated against, the
// limits of each object and the particulars of its reports. Reads wait for their answer, which
// comes from this computer's archive while the shared one is not reached, so they never wait
// behind an attempt to reach it. Writes go through the archive service's thread, so that a limit
// set reaches the archive everyone reads, and are told done later.
class CEvaluationService
{
public:
    explicit CEvaluationService(CArchiveService *archive) : archive(archive) {}

    // How a write went, on the context's thread; the problem is empty when all went well.
    using Done = std::function<void(const QString &problem)>;

    // The reads are false, or empty, with the reason in *problem when the archive cannot be read.
    bool input(const CZRData &data, const QDateTime &time, EvaluationInput *input,
               QString *problem);
    QMap<QString, QString> particulars(const CZRData &data, QString *problem);
    void setLimits(int group, const GroupLimits &limits, QObject *context, const Done &done);
    // The changes that decided the figures of the group, oldest first.
    QList<ArchiveLogEntry> log(int group, QString *problem);
    // Verifies or rejects a reading; the decision waits for a shared archive out of reach.
    void decide(const ArchiveDecision &decision, QObject *context, const Done &done);
    void rememberParticulars(const CZRData &data, const QMap<QString, QString> &values,
                             QObject *context, const Done &done);
    // With limits set for one of the download's groups, the evaluation CSV beside a results
    // file (results.csv, results-evaluation.csv); true when there is none to write. A file that
    // failed is named in *problem.
    bool writeBeside(const QString &resultsPath, const CZRData &data, const QDateTime &time,
                     const CCsvWriter &results, QString *problem);

private:
    void write(const std::function<bool(CArchive &, QString *)> &step, QObject *context,
               const Done &done);
    void writeSet(const std::function<bool(CArchiveSet &, QString *)> &step, QObject *context,
                  const Done &done);

    CArchiveService *archive;
};
