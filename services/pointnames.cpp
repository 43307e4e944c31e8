// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/pointnames.h"

#include "archive/archive.h"
#include "format/csvreader.h"

#include <QSet>

namespace
{

bool number(const QString &text, int highest, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok && *value >= 1 && *value <= highest;
}

// The point of a record; false with its line and why.
bool pointOf(const CCsvReader::Record &record, ArchivePointName *point, QString *problem)
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
    QList<CCsvReader::Record> records;
    CCsvReader reader;
    if (!reader.read(bytes, &records)) {
        *problem = tr("line %1: %2").arg(reader.faultLine()).arg(reader.fault());
        return false;
    }
    if (records.isEmpty() || records.first().fields.join(QLatin1Char(';')) != kHeader) {
        *problem = tr("line 1: the list starts with the line %1").arg(kHeader);
        return false;
    }
    points->clear();
    QSet<QPair<int, int>> seen;
    for (const CCsvReader::Record &record : records.mid(1)) {
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
