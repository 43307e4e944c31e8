// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/evaluationinput.h"

#include <QDateTime>
#include <QMap>
#include <QString>

class CArchiveService;
class CCsvWriter;
class CZRData;

// What the evaluation asks of the archive: the readings a download is evaluated against, the
// limits of each object and the particulars of its reports. Each call waits for its answer:
// reads come from this computer's archive while the shared one is not reached, so they never
// wait behind an attempt to reach it; writes go through the archive service's thread, after
// whatever it is busy with, so that a limit set reaches the archive everyone reads.
class CEvaluationService
{
public:
    explicit CEvaluationService(CArchiveService *archive) : archive(archive) {}

    // Every call is false, or empty, with the reason in *problem when the archive cannot be read.
    bool input(const CZRData &data, const QDateTime &time, EvaluationInput *input,
               QString *problem);
    bool setLimits(int group, const GroupLimits &limits, QString *problem);
    QMap<QString, QString> particulars(const CZRData &data, QString *problem);
    bool rememberParticulars(const CZRData &data, const QMap<QString, QString> &values,
                             QString *problem);
    // With limits set for one of the download's groups, the evaluation CSV beside a results
    // file (results.csv, results-evaluation.csv); true when there is none to write. A file that
    // failed is named in *problem.
    bool writeBeside(const QString &resultsPath, const CZRData &data, const QDateTime &time,
                     const CCsvWriter &results, QString *problem);

private:
    CArchiveService *archive;
};
