// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archivedecision.h"
#include "archive/archivesetting.h"
#include "evaluation/evaluationinput.h"

#include <QString>

class CArchive;
class CCsvWriter;
class CZRData;

// The evaluation of a download against the archive: the readings of its test points in the
// downloads made before it (never those made after) with the decisions on them, the latest
// limits and rules of every group, the objects' names, and which points were read again since.
class CArchiveEvaluation
{
public:
    // The decisions an engineer makes on a reading, as the archive keeps them.
    static const QString kVerified;
    static const QString kRejected;
    static ReadingDecision decisionNamed(const QString &name);
    // An object's rules from its latest settings.
    static ObjectRules rulesFrom(const QMap<QString, ArchiveSetting> &settings);

    // False with the reason in *problem when the archive cannot be read.
    static bool input(CArchive &archive, const CZRData &data, const QDateTime &time,
                      EvaluationInput *input, QString *problem);
    // What holds for every download: the latest limits, rules and point names, today and the
    // longest interval.
    static bool facts(CArchive &archive, EvaluationInput *input, QString *problem);
    // The decision in force on each decided reading, by point and reading time in milliseconds:
    // the last of the decisions, oldest first.
    using Decided = QHash<QPair<TestPoint, qint64>, ReadingDecision>;
    static Decided decisionsInForce(const QList<ArchiveDecision> &decisions);
    // Sets the decision in force on each reading of the history.
    static void markDecisions(const Decided &decided,
                              QHash<TestPoint, QList<PointReading>> *history);
    // Whether limits are set for a group the download holds.
    static bool limitsApply(const EvaluationInput &input);
    // The evaluation CSV that goes beside a results file: results.csv, results-evaluation.csv.
    static QString csvBeside(const QString &resultsPath);
    // Writes the evaluation of input as CSV, its results and units as the results file has
    // them; false with the reason.
    static bool writeCsv(const QString &path, const EvaluationInput &input,
                         const CCsvWriter &results, QString *problem);
    // Sets the group's limits from now on; limits as they stand are not set again. A minimum
    // equal to that of the design data in force is the design's, not a typed one: the typed
    // minimum stays as it was, so that the design goes on deciding.
    static bool setLimits(CArchive &archive, int group, const GroupLimits &limits,
                          QString *problem);
    // Sets the group's design data from now on: its minimum replaces the typed one until a
    // minimum is typed again.
    static bool setDesign(CArchive &archive, int group, const DesignData &design,
                          const QString &reason, QString *problem);

private:
    static bool readRules(CArchive &archive, EvaluationInput *input, QString *problem);
    static bool readDecisions(CArchive &archive, EvaluationInput *input, QString *problem);
    static bool readNames(CArchive &archive, EvaluationInput *input, QString *problem);
};
