// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/readingsimport.h"

#include "archive/archiveset.h"
#include "format/csvreader.h"
#include "format/importeddump.h"
#include "format/zrdata.h"
#include "services/keptfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <limits>

namespace
{

const QStringList kHeader{QStringLiteral("time"), QStringLiteral("group"), QStringLiteral("cell"),
                          QStringLiteral("result"), QStringLiteral("unit")};
constexpr int kMaxCell = 0xffff; // a cell is 16 bits wide in a tester's memory
// Not a word of the file: the same readings of the same time always make the same bytes.
const QString kFixedText = QStringLiteral("CSV");
const QString kOutcome = QStringLiteral("imported");

bool allDigits(const QString &text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

bool wholeNumber(const QString &text, int highest, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return !text.isEmpty() && allDigits(text) && ok && *value >= 1 && *value <= highest;
}

// A point or a comma before the decimals; the decimals given make the divisor.
bool result(QString text, MeasurementRecord *record)
{
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? text : text.left(point);
    const QString fraction = point < 0 ? QString() : text.mid(point + 1);
    if (whole.isEmpty() || (point >= 0 && fraction.isEmpty()) ||
        fraction.size() > CImportedDump::kMaxDecimals || !allDigits(whole) || !allDigits(fraction))
        return false;
    bool ok = false;
    const qint64 raw = (whole + fraction).toLongLong(&ok);
    // A tester keeps no zero: nothing was measured there.
    if (!ok || raw == 0 || raw > std::numeric_limits<qint32>::max())
        return false;
    record->rawValue = int(raw);
    record->divisor = 1;
    for (int i = 0; i < fraction.size(); ++i)
        record->divisor *= 10;
    return true;
}

// "inches" too, as archive history writes it, so that its lines can be read back.
bool unit(const QString &text, MeasurementRecord *record)
{
    const QString name = text.toLower();
    const bool inches = name == QLatin1String("in") || name == QLatin1String("inches");
    record->unit = inches ? UnitInches : UnitMillimetres;
    return inches || name == QLatin1String("mm");
}

} // namespace

bool CReadingsImport::read(const QString &path, QString *problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = tr("%1 cannot be read: %2").arg(path, file.errorString());
        return false;
    }
    parse(file.readAll(), QFileInfo(path).fileName());
    return true;
}

void CReadingsImport::parse(const QByteArray &bytes, const QString &fileName)
{
    *this = CReadingsImport();
    source = fileName;
    QList<CCsvReader::Record> records;
    CCsvReader reader;
    if (!reader.read(bytes, &records)) {
        bad.append({reader.faultLine(), reader.fault()});
        return;
    }
    if (records.isEmpty())
        records.append(CCsvReader::Record{1, {}});
    for (qsizetype r = 0; r < records.size(); ++r) {
        const CCsvReader::Record &line = records.at(r);
        QStringList fields;
        for (const QString &field : line.fields)
            fields << field.trimmed();
        if (r == 0) {
            if (fields.join(QLatin1Char(';')).toLower() != kHeader.join(QLatin1Char(';')))
                bad.append(
                    {line.line, tr("the first line must be the header %1").arg(kHeader.join(';'))});
            continue;
        }
        QDateTime time;
        MeasurementRecord record;
        QString reason;
        if (!parseLine(fields, &time, &record, &reason)) {
            bad.append({line.line, reason});
            continue;
        }
        auto &survey = surveys[time.toMSecsSinceEpoch()];
        if (survey.second.isEmpty())
            survey.first = time;
        survey.second.append(record);
        ++readings;
    }
}

bool CReadingsImport::parseLine(const QStringList &fields, QDateTime *time,
                                MeasurementRecord *record, QString *reason)
{
    if (fields.size() != kHeader.size())
        *reason = tr("%1 fields where %2 are wanted").arg(fields.size()).arg(kHeader.size());
    else if (!parseTime(fields.at(0), time))
        *reason = tr("'%1' is not a time (as 2024-05-01T09:30:00+02:00, 2024-05-01T09:30 or "
                     "2024-05-01)")
                      .arg(fields.at(0));
    else if (!wholeNumber(fields.at(1), CZRData::kMaxGroups, &record->group))
        *reason = tr("the group '%1' is not a whole number from 1 to %2")
                      .arg(fields.at(1))
                      .arg(CZRData::kMaxGroups);
    else if (!wholeNumber(fields.at(2), kMaxCell, &record->cell))
        *reason =
            tr("the cell '%1' is not a whole number from 1 to %2").arg(fields.at(2)).arg(kMaxCell);
    else if (!result(fields.at(3), record))
        *reason = tr("the result '%1' is not a number above 0 with at most %2 decimals")
                      .arg(fields.at(3))
                      .arg(CImportedDump::kMaxDecimals);
    else if (!unit(fields.at(4), record))
        *reason = tr("the unit '%1' is neither mm nor in").arg(fields.at(4));
    return reason->isEmpty();
}

// A date alone stands for its noon, local time: a time zone between the spreadsheet and here
// cannot move it to another day. Times repeat on many lines, so each text is read once.
bool CReadingsImport::parseTime(const QString &text, QDateTime *time)
{
    const auto known = times.constFind(text);
    if (known != times.constEnd()) {
        *time = *known;
        return time->isValid();
    }
    const QDate date = text.size() == 10 ? QDate::fromString(text, Qt::ISODate) : QDate();
    if (date.isValid()) {
        *time = QDateTime(date, QTime(12, 0));
    } else {
        QString iso = text;
        if (iso.size() > 10 && iso.at(10) == QLatin1Char(' '))
            iso[10] = QLatin1Char('T');
        *time = iso.size() > 10 ? QDateTime::fromString(iso, Qt::ISODateWithMs) : QDateTime();
    }
    times.insert(text, *time);
    return time->isValid();
}

QList<CKeptDownload> CReadingsImport::downloads() const
{
    QList<CKeptDownload> kept;
    if (!bad.isEmpty())
        return kept;
    for (const auto &survey : surveys) {
        CKeptDownload download;
        download.time = survey.first;
        download.port = kFixedText;
        download.outcome = kOutcome;
        download.programVersion = kFixedText;
        download.dump = CImportedDump::encode(testerName(source), survey.second);
        kept << download;
    }
    return kept;
}

CReadingsImport::Tally CReadingsImport::record(CArchiveSet &set, const CKeptFolder &folder,
                                               const Progress &progress) const
{
    Tally tally;
    QSet<QString> known;
    for (const ArchiveDownload &d : set.embedded().downloads(false, &tally.problem))
        known.insert(d.sha256);
    const QList<CKeptDownload> kept = downloads();
    for (int i = 0; i < kept.size() && tally.problem.isEmpty(); ++i) {
        const QByteArray bytes = kept.at(i).toBytes();
        const int count = int(surveys.value(kept.at(i).time.toMSecsSinceEpoch()).second.size());
        if (known.contains(CArchive::sha256Of(bytes))) {
            ++tally.knownDownloads;
            tally.knownReadings += count;
        } else {
            QString note;
            const QString file = folder.keep(kept.at(i), &tally.problem);
            if (file.isEmpty() || !set.record(kept.at(i), bytes, file, &note)) {
                tally.problem += note;
                break;
            }
            if (!note.isEmpty())
                tally.note = note;
            ++tally.downloads;
            tally.readings += count;
        }
        if (progress)
            progress(i + 1, int(kept.size()));
    }
    return tally;
}

// Part of the kept bytes, so not translated: the identity of a download is the same everywhere.
QString CReadingsImport::testerName(const QString &fileName)
{
    return QStringLiteral("imported from %1").arg(fileName);
}

QStringList CReadingsImport::badLineReport() const
{
    QStringList lines;
    for (int i = 0; i < std::min<int>(int(bad.size()), kBadLinesShown); ++i)
        lines << tr("line %1: %2").arg(bad.at(i).line).arg(bad.at(i).reason);
    if (bad.size() > kBadLinesShown)
        lines << tr("%1 more bad lines").arg(bad.size() - kBadLinesShown);
    return lines;
}

QString CReadingsImport::describe(const Tally &tally)
{
    return tr("Downloads recorded: %1 (%2 readings); already in the archive: %3 (%4 readings).")
        .arg(tally.downloads)
        .arg(tally.readings)
        .arg(tally.knownDownloads)
        .arg(tally.knownReadings);
}

CReadingsImport::Outcome CReadingsImport::importFile(const QString &path, CArchiveSet &set,
                                                     const CKeptFolder &folder, QStringList *lines,
                                                     const Progress &progress)
{
    CReadingsImport readings;
    QString problem;
    if (!readings.read(path, &problem)) {
        *lines = QStringList{problem};
        return Outcome::Unreadable;
    }
    if (!readings.badLines().isEmpty()) {
        *lines = readings.badLineReport()
                 << tr("Nothing of %1 was recorded.").arg(QFileInfo(path).fileName());
        return Outcome::BadLines;
    }
    const Tally tally = readings.record(set, folder, progress);
    *lines = QStringList{describe(tally)};
    for (const QString &text : {tally.note, tally.problem}) {
        if (!text.isEmpty())
            *lines << text;
    }
    return tally.problem.isEmpty() ? Outcome::Recorded : Outcome::Failed;
}
