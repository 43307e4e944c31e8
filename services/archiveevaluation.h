// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/evaluationinput.h"

#include <QString>

class CArchive;
class CCsvWriter;
class CZRData;

// The evaluation of a download against the archive: the readings of its test points in the
// downloads made before it (never those made after) and the latest limits of every group.
class CArchiveEvaluation
{
public:
    // False with the reason in *problem when the archive cannot be read.
    static bool input(CArchive &archive, const CZRData &data, const QDateTime &time,
                      EvaluationInput *input, QString *problem);
    // Whether limits are set for a group the download holds.
    static bool limitsApply(const EvaluationInput &input);
    // The evaluation CSV that goes beside a results file: results.csv, results-evaluation.csv.
    static QString csvBeside(const QString &resultsPath);
    // Writes the evaluation of input as CSV, its results and units as the results file has
    // them; false with the reason.
    static bool writeCsv(const QString &path, const EvaluationInput &input,
                         const CCsvWriter &results, QString *problem);
};
