// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/pointevaluation.h"
#include "format/csvwriter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class CEvaluation;
class QIODevice;

// Writes an evaluation as semicolon-separated lines: a header, then one line per result, every
// line ending with CR LF as in the results file. An empty field is a figure not known. Results
// and units come out as in the results file, with its decimal separator, which the figures
// share; the window and the report show the same texts.
class CEvaluationCsvWriter
{
public:
    CEvaluationCsvWriter();

    CCsvWriter results;
    QStringList statusTexts;
    QStringList checkTexts;

    QString statusText(EvaluationStatus status) const;
    // Empty for a counted reading that was never suspect.
    QString checkText(ReadingCheck check) const;
    QString lossText(const std::optional<double> &loss) const;
    QString rateText(const std::optional<double> &rate) const;
    QString lifeText(const std::optional<double> &years) const;
    QString readingText(const std::optional<PointReading> &reading) const;
    static QString dateText(const QDate &date);
    static QString dateText(const std::optional<PointReading> &reading);

    // The fields of a line, in the order of the header: those every evaluation had, then the
    // check, the least-squares figures, the minimum in force and the interval rule's name.
    QStringList fields(const PointEvaluation &point) const;
    QStringList basicFields(const PointEvaluation &point) const;
    QStringList extraFields(const PointEvaluation &point, const QString &rule) const;
    QByteArray headerLine() const;
    QByteArray line(const PointEvaluation &point, const QString &rule) const;
    bool write(QIODevice &out, const CEvaluation &evaluation) const;

private:
    QString fixed(const std::optional<double> &value, int decimals) const;
};
