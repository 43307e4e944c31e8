// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluation/evaluationcsvwriter.h"

#include "evaluation/evaluation.h"
#include "format/resultstatistics.h"

#include <QIODevice>

#include <cmath>

namespace
{

const char kLineEnd[] = "\r\n";

} // namespace

CEvaluationCsvWriter::CEvaluationCsvWriter()
    : statusTexts({QStringLiteral("below minimum"), QStringLiteral("warning"), QStringLiteral("ok"),
                   QStringLiteral("no limit"), QStringLiteral("not a thickness"),
                   QStringLiteral("overdue"), QStringLiteral("suspect"),
                   QStringLiteral("rejected")}),
      checkTexts({QString(), QStringLiteral("suspect: thicker"), QStringLiteral("suspect: half"),
                  QStringLiteral("verified"), QStringLiteral("rejected")})
{
}

QString CEvaluationCsvWriter::checkText(ReadingCheck check) const
{
    return checkTexts.value(int(check));
}

QString CEvaluationCsvWriter::statusText(EvaluationStatus status) const
{
    return statusTexts.value(int(status));
}

// A figure that rounds to zero is written without a sign: "-0.0" would read as a loss.
QString CEvaluationCsvWriter::fixed(const std::optional<double> &value, int decimals) const
{
    if (!value)
        return QString();
    const double scale = std::pow(10.0, decimals);
    const double shown = std::round(*value * scale) == 0 ? 0.0 : *value;
    return CResultStatistics::number(shown, decimals, results.decimalSeparator);
}

QString CEvaluationCsvWriter::lossText(const std::optional<double> &loss) const
{
    return fixed(loss, 1);
}

QString CEvaluationCsvWriter::rateText(const std::optional<double> &rate) const
{
    return fixed(rate, 3);
}

QString CEvaluationCsvWriter::lifeText(const std::optional<double> &years) const
{
    return fixed(years, 1);
}

QString CEvaluationCsvWriter::readingText(const std::optional<PointReading> &reading) const
{
    return reading ? results.resultText(reading->record()) : QString();
}

QString CEvaluationCsvWriter::dateText(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QString CEvaluationCsvWriter::dateText(const std::optional<PointReading> &reading)
{
    return reading ? dateText(reading->time.date()) : QString();
}

QByteArray CEvaluationCsvWriter::headerLine() const
{
    return QByteArrayLiteral(
               "Group;Cell;Result;Unit;Status;Loss %;Initial;Initial date;Previous;"
               "Previous date;LT rate;ST rate;Rate;Remaining life;Next inspection;Check;"
               "LS rate;LS error;LS upper;Minimum;Rule") +
           kLineEnd;
}

QStringList CEvaluationCsvWriter::fields(const PointEvaluation &p) const
{
    return basicFields(p) << extraFields(p, QString());
}

QStringList CEvaluationCsvWriter::extraFields(const PointEvaluation &p, const QString &rule) const
{
    return {checkText(p.check),
            rateText(p.leastSquaresRate),
            rateText(p.leastSquaresError),
            rateText(p.leastSquaresUpper),
            rateText(p.minimum),
            rule};
}

QStringList CEvaluationCsvWriter::basicFields(const PointEvaluation &p) const
{
    return {QString::number(p.record.group),
            QString::number(p.record.cell),
            results.resultText(p.record),
            results.unitText(p.record.unit),
            statusText(p.status),
            lossText(p.loss),
            readingText(p.initial),
            dateText(p.initial),
            readingText(p.previous),
            dateText(p.previous),
            rateText(p.longTermRate),
            rateText(p.shortTermRate),
            rateText(p.rate),
            lifeText(p.remainingLife),
            dateText(p.nextInspection)};
}

QByteArray CEvaluationCsvWriter::line(const PointEvaluation &point, const QString &rule) const
{
    return (basicFields(point) << extraFields(point, rule)).join(QLatin1Char(';')).toLocal8Bit() +
           kLineEnd;
}

bool CEvaluationCsvWriter::write(QIODevice &out, const CEvaluation &evaluation) const
{
    const QByteArray header = headerLine();
    bool written = out.write(header) == header.size();
    for (const PointEvaluation &point : evaluation.points()) {
        const bool thickness = point.status != EvaluationStatus::NotThickness;
        const QByteArray bytes =
            line(point, thickness ? ObjectRules::nameOf(evaluation.rulesOf(point.record.group).rule)
                                  : QString());
        written = written && out.write(bytes) == bytes.size();
    }
    return written;
}
