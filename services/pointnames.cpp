// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/pointnames.h"

#include "archive/archive.h"

#include <QSet>
#include <QStringDecoder>

namespace
{

// The fields of one record of the list and the line it starts on.
struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// Splits the text into records of fields; false with the line and why at the first fault.
class CCsvSplitter
{
public:
    bool split(const QString &text, QList<CsvRecord> *records, QString *problem)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
            if (!take(text.at(i), next, &i, records)) {
                *problem = fault;
                return false;
            }
        }
        if (quoted) {
            *problem = CPointNames::tr("line %1: a quote is not closed").arg(startLine);
            return false;
        }
        endRecord(records);
        return true;
    }

private:
    bool take(QChar c, QChar next, qsizetype *i, QList<CsvRecord> *records)
    {
        if (quoted)
            return takeQuoted(c, next, i);
        if (c == QLatin1Char('\r') && next == QLatin1Char('\n'))
            return true;
        if (c == QLatin1Char('\n')) {
            endRecord(records);
            startLine = ++line;
        } else if (c == QLatin1Char(';')) {
            endField();
        } else if (c == QLatin1Char('"') && field.isEmpty() && !closed) {
            quoted = true;
        } else if (closed || c == QLatin1Char('"')) {
            fault = CPointNames::tr("line %1: a quote in the middle of a field (a field that "
                                    "holds one is quoted whole, its quotes doubled)")
                        .arg(line);
            return false;
        } else {
            field += c;
        }
        return true;
    }
    bool takeQuoted(QChar c, QChar next, qsizetype *i)
    {
        if (c == QLatin1Char('"') && next == QLatin1Char('"')) {
            field += c;
            ++*i;
        } else if (c == QLatin1Char('"')) {
            quoted = false;
            closed = true;
        } else if (!(c == QLatin1Char('\r') && next == QLatin1Char('\n'))) {
            line += c == QLatin1Char('\n');
            field += c;
        }
        return true;
    }
    void endField()
    {
        fields << field;
        field.clear();
        closed = false;
    }
    // A blank line is no record.
    void endRecord(QList<CsvRecord> *records)
    {
        const bool blank = fields.isEmpty() && field.isEmpty() && !closed;
        endField();
        if (!blank)
            records->append({startLine, fields});
        fields.clear();
    }

    QString field;
    QStringList fields;
    QString fault;
    int line = 1;
    int startLine = 1;
    bool quoted = false;
    bool closed = false;
};

bool number(const QString &text, int highest, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok && *value >= 1 && *value <= highest;
}

// The point of a record; false with its line and why.
bool pointOf(const CsvRecord &record, ArchivePointName *point, QString *problem)
{
    const auto bad = [&](const QString &why) {
        *problem = CPointNames::tr("line %1: %2").arg(record.line).arg(why);
        return false;
    };
    if (record.fields.size() != 4)
        return bad(CPointNames::tr("%1 fields where group;cell;name;location are four")
                       .arg(record.fields.size()));
    if (!number(record.fields.at(0), 65535, &point->group) ||
        !number(record.fields.at(1), 65535, &point->cell))
        return bad(CPointNames::tr("'%1;%2' is not a group and a cell number")
                       .arg(record.fields.at(0), record.fields.at(1)));
    point->name = record.fields.at(2).trimmed();
    point->location = record.fields.at(3).trimmed();
    return !point->name.isEmpty() || bad(CPointNames::tr("the point has no name"));
}

} // namespace

const QString CPointNames::kHeader = QStringLiteral("group;cell;name;location");

bool CPointNames::read(const QByteArray &bytes, QList<ArchivePointName> *points, QString *problem)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError()) {
        *problem = tr("the list is not UTF-8 text");
        return false;
    }
    QList<CsvRecord> records;
    if (!CCsvSplitter().split(text, &records, problem))
        return false;
    if (records.isEmpty() || records.first().fields.join(QLatin1Char(';')) != kHeader) {
        *problem = tr("line 1: the list starts with the line %1").arg(kHeader);
        return false;
    }
    points->clear();
    QSet<QPair<int, int>> seen;
    for (const CsvRecord &record : records.mid(1)) {
        ArchivePointName point;
        if (!pointOf(record, &point, problem))
            return false;
        if (seen.contains({point.group, point.cell})) {
            *problem = tr("line %1: group %2, cell %3 is named twice")
                           .arg(record.line)
                           .arg(point.group)
                           .arg(point.cell);
            return false;
        }
        seen.insert({point.group, point.cell});
        points->append(point);
    }
    return true;
}

bool CPointNames::import(CArchive &archive, const QByteArray &bytes, const QString &reason,
                         int *changed, QString *problem)
{
    QList<ArchivePointName> points;
    return read(bytes, &points, problem) &&
           archive.namePoints(points, QDateTime::currentDateTime(), reason, problem, changed);
}

bool CPointNames::name(CArchive &archive, const ArchivePointName &point, QString *problem)
{
    return archive.namePoints({point}, QDateTime::currentDateTime(), point.reason, problem);
}
