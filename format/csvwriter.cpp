// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/csvwriter.h"

#include <QIODevice>
#include <QRegularExpression>

namespace
{

const char kLineEnd[] = "\r\n";

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

CCsvWriter::CCsvWriter()
    : csvHeader(QStringLiteral("\"Group\";\"Cell\";\"Result\";\"Unit\"")),
      csvHeaderWithAScan(QStringLiteral("\"Group\";\"Cell\";\"Result\";\"Unit\";\"Ascan\"")),
      unitTexts({QStringLiteral("m/s"), QStringLiteral("us"), QStringLiteral("mm"),
                 QStringLiteral("Inches")})
{
}

QString CCsvWriter::aScanFileName(int group, int cell)
{
    return QStringLiteral("ascan_%1_%2.bmp").arg(group).arg(cell);
}

QString CCsvWriter::unitText(int unit) const
{
    return unit >= 0 && unit < unitTexts.size() ? unitTexts.at(unit) : QString();
}

QByteArray CCsvWriter::headerLine(bool hasAScans) const
{
    return (hasAScans ? csvHeaderWithAScan : csvHeader).toLocal8Bit() + kLineEnd;
}

QString CCsvWriter::resultText(const MeasurementRecord &record) const
{
    return formatResult(record).replace(QLatin1Char('.'), decimalSeparator);
}

QByteArray CCsvWriter::rowLine(const MeasurementRecord &record, bool hasAScans) const
{
    const QString result = resultText(record);
    const QChar sep = QLatin1Char(';');
    QString line = QString::number(record.group) + sep + QString::number(record.cell) + sep +
                   result + sep + quoted(unitText(record.unit));
    if (hasAScans && record.hasAScan)
        line += sep + quoted(aScanFileName(record.group, record.cell));
    return line.toLocal8Bit() + kLineEnd;
}

bool CCsvWriter::writeRow(QIODevice &out, const MeasurementRecord &record, bool hasAScans) const
{
    const QByteArray line = rowLine(record, hasAScans);
    return out.write(line) == line.size();
}

bool CCsvWriter::write(QIODevice &out, const CZRData &data, const QList<int> &rows) const
{
    const QByteArray header = headerLine(data.hasAScans);
    if (out.write(header) != header.size())
        return false;
    for (int row : rows) {
        MeasurementRecord record;
        if (data.recordAt(row, &record) && !writeRow(out, record, data.hasAScans))
            return false;
    }
    return true;
}

QList<int> CCsvWriter::allRows(const CZRData &data)
{
    QList<int> rows;
    const int n = data.totalCount();
    rows.reserve(n);
    for (int r = 0; r < n; ++r)
        rows.append(r);
    return rows;
}

QString CCsvWriter::field(const QString &text)
{
    static const QRegularExpression special(QStringLiteral("[;\"\r\n]"));
    if (!text.contains(special))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}
