// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/duelist.h"

#include "archive/archive.h"
#include "evaluation/evaluation.h"
#include "evaluation/evaluationcsvwriter.h"
#include "format/csvwriter.h"
#include "format/icalendar.h"
#include "format/zrdata.h"
#include "services/archiveevaluation.h"

#include <QCryptographicHash>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <limits>

namespace
{

const char kLineEnd[] = "\r\n";

using Histories = QHash<TestPoint, QList<PointReading>>;

// Every reading of the objects with limits, by object and cell, and the newest download of each
// object. Millions of readings are put in place by index: a hash of every point of the archive
// costs a cache miss a reading.
struct ArchiveReadings {
    std::vector<std::vector<QList<PointReading>>> byGroup =
        std::vector<std::vector<QList<PointReading>>>(CZRData::kMaxGroups + 1);
    QMap<int, QPair<QDateTime, qint64>> newestOf;
};

bool readAll(CArchive &archive, const QMap<int, GroupLimits> &limits, ArchiveReadings *all,
             QString *problem)
{
    std::vector<bool> limited(CZRData::kMaxGroups + 1);
    for (auto it = limits.keyBegin(); it != limits.keyEnd(); ++it) {
        if (*it >= 1 && *it <= CZRData::kMaxGroups)
            limited[size_t(*it)] = true;
    }
    const QDateTime end = QDateTime::fromMSecsSinceEpoch(std::numeric_limits<qint64>::max() / 2);
    return archive.readDownloadsBefore(
        end,
        [&](const QList<ArchiveReading> &readings) {
            // A download's readings share its time, and a group's stand together.
            int previous = 0;
            for (const ArchiveReading &r : readings) {
                const int group = r.record.group;
                if (group < 1 || group > CZRData::kMaxGroups || !limited[size_t(group)])
                    continue;
                std::vector<QList<PointReading>> &cells = all->byGroup[size_t(group)];
                if (cells.size() <= size_t(r.record.cell))
                    cells.resize(size_t(r.record.cell) + 1);
                cells[size_t(r.record.cell)].append(PointReading{r.record, r.time});
                if (group != previous)
                    all->newestOf[group] = {r.time, r.downloadId};
                previous = group;
            }
            return true;
        },
        problem);
}

Histories historiesOf(int group, std::vector<QList<PointReading>> *cells)
{
    Histories history;
    for (size_t cell = 0; cell < cells->size(); ++cell) {
        if (!(*cells)[cell].isEmpty())
            history.insert(TestPoint{group, int(cell)}, std::move((*cells)[cell]));
    }
    cells->clear();
    return history;
}

// A rejected reading counts as never taken: the point's newest is the one before it.
const PointReading *newestOf(const QList<PointReading> &readings)
{
    const PointReading *newest = nullptr;
    for (const PointReading &r : readings) {
        if (r.decision != ReadingDecision::Rejected &&
            (newest == nullptr || r.time >= newest->time))
            newest = &r;
    }
    return newest;
}

// The points whose newest readings share a time are evaluated together, as one download.
struct Survey {
    QDateTime time;
    CZRData data;
    QHash<TestPoint, ReadingDecision> decisions;
};

QMap<qint64, Survey> surveysOf(const Histories &history)
{
    QMap<qint64, Survey> surveys;
    for (auto it = history.cbegin(); it != history.cend(); ++it) {
        const PointReading *newest = newestOf(*it);
        if (newest == nullptr)
            continue;
        Survey &survey = surveys[newest->time.toMSecsSinceEpoch()];
        survey.time = newest->time;
        survey.data.append(newest->record(it.key().group, it.key().cell));
        survey.decisions.insert(it.key(), newest->decision);
    }
    return surveys;
}

void count(const PointEvaluation &p, DueLine *line)
{
    ++line->points;
    line->belowMinimum += int(p.status == EvaluationStatus::BelowMinimum);
    line->warning += int(p.status == EvaluationStatus::Warning);
    line->suspect += int(p.status == EvaluationStatus::Suspect);
    line->overdue += int(p.status == EvaluationStatus::Overdue);
    const bool earlier = line->cell == 0 || p.nextInspection < line->nextInspection ||
                         (p.nextInspection == line->nextInspection && p.record.cell < line->cell);
    if (p.nextInspection.isValid() && earlier) {
        line->cell = p.record.cell;
        line->nextInspection = p.nextInspection;
    }
}

// The object's line from the evaluation of the newest reading of each of its points.
DueLine evaluateObject(EvaluationInput input, const CArchiveEvaluation::Decided &decided, int group,
                       std::vector<QList<PointReading>> *cells)
{
    DueLine line;
    line.group = group;
    input.history = historiesOf(group, cells);
    CArchiveEvaluation::markDecisions(decided, &input.history);
    const QMap<qint64, Survey> surveys = surveysOf(input.history);
    for (const Survey &survey : surveys) {
        input.data = &survey.data;
        input.time = survey.time;
        input.decisions = survey.decisions;
        const CEvaluation evaluation(input);
        for (const PointEvaluation &p : evaluation.points())
            count(p, &line);
    }
    line.name = input.names.value(group);
    line.pointName = input.pointNames.value(TestPoint{group, line.cell}).name;
    return line;
}

bool sooner(const DueLine &a, const DueLine &b)
{
    if (a.nextInspection.isValid() != b.nextInspection.isValid())
        return a.nextInspection.isValid();
    return std::tie(a.nextInspection, a.group) < std::tie(b.nextInspection, b.group);
}

void describeDownloads(CArchive &archive, const ArchiveReadings &all, QList<DueLine> *lines,
                       QString *problem)
{
    QHash<qint64, ArchiveDownload> byId;
    for (const ArchiveDownload &d : archive.downloads(false, problem))
        byId.insert(d.id, d);
    for (DueLine &line : *lines) {
        const auto &[time, id] = all.newestOf.value(line.group);
        line.lastSurvey = time;
        line.lastFile = byId.value(id).file;
        line.lastSha256 = byId.value(id).sha256;
    }
}

} // namespace

// Object by object, so that the points an evaluation looks up are few, and the objects on every
// core the machine has.
bool CDueList::build(CArchive &archive, QList<DueLine> *lines, QString *problem)
{
    lines->clear();
    EvaluationInput input;
    ArchiveReadings all;
    QString why;
    if (!CArchiveEvaluation::facts(archive, &input, &why) ||
        !readAll(archive, input.limits, &all, &why)) {
        *problem = why;
        return false;
    }
    const CArchiveEvaluation::Decided decided =
        CArchiveEvaluation::decisionsInForce(archive.decisions(&why));
    input.names = why.isEmpty() ? archive.groupNames(QDateTime::currentDateTime(), &why)
                                : QMap<int, QString>();
    if (!why.isEmpty()) {
        *problem = why;
        return false;
    }
    *lines = QtConcurrent::blockingMapped(all.newestOf.keys(), [&](int group) {
        return evaluateObject(input, decided, group, &all.byGroup[size_t(group)]);
    });
    describeDownloads(archive, all, lines, &why);
    std::stable_sort(lines->begin(), lines->end(), sooner);
    *problem = why;
    return why.isEmpty();
}

QList<DueLine> CDueList::within(const QList<DueLine> &lines, int days, const QDate &today)
{
    QList<DueLine> due;
    const QDate last = today.addDays(days);
    std::copy_if(lines.cbegin(), lines.cend(), std::back_inserter(due), [&last](const DueLine &l) {
        return !l.nextInspection.isValid() || l.nextInspection <= last;
    });
    return due;
}

QByteArray CDueList::csv(const QList<DueLine> &lines)
{
    QByteArray bytes = QByteArrayLiteral("Group;Name;Last survey;Points;Below minimum;Warning;"
                                         "Suspect;Overdue;Cell;Point;Next inspection") +
                       kLineEnd;
    for (const DueLine &l : lines) {
        const QStringList fields{QString::number(l.group),
                                 CCsvWriter::field(l.name),
                                 CEvaluationCsvWriter::dateText(l.lastSurvey.date()),
                                 QString::number(l.points),
                                 QString::number(l.belowMinimum),
                                 QString::number(l.warning),
                                 QString::number(l.suspect),
                                 QString::number(l.overdue),
                                 l.cell == 0 ? QString() : QString::number(l.cell),
                                 CCsvWriter::field(l.pointName),
                                 CEvaluationCsvWriter::dateText(l.nextInspection)};
        bytes += fields.join(QLatin1Char(';')).toUtf8() + kLineEnd;
    }
    return bytes;
}

QString CDueList::objectLabel(const DueLine &line)
{
    return CEvaluation::labelOf(line.group, line.name);
}

QString CDueList::pointLabel(const DueLine &line)
{
    return line.cell == 0 ? QString() : PointName{line.pointName, QString()}.labelOf(line.cell);
}

QByteArray CDueList::calendar(const QList<DueLine> &lines, const QString &archiveKey,
                              const QDateTime &stamp)
{
    // The archive's part of the UID: the same archive gives the same events, another archive
    // other ones, however its objects are numbered.
    const QString archivePart = QString::fromLatin1(
        QCryptographicHash::hash(archiveKey.toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
    QList<CICalendar::Event> events;
    for (const DueLine &l : lines) {
        if (!l.nextInspection.isValid())
            continue;
        const QString description =
            tr("Governing point: %1\nPoints: %2, below minimum: %3, warning: %4, suspect: %5, "
               "overdue: %6\nLast survey: %7")
                .arg(pointLabel(l))
                .arg(l.points)
                .arg(l.belowMinimum)
                .arg(l.warning)
                .arg(l.suspect)
                .arg(l.overdue)
                .arg(CEvaluationCsvWriter::dateText(l.lastSurvey.date()));
        events.append({QStringLiteral("%1-object-%2@collatrix").arg(archivePart).arg(l.group),
                       l.nextInspection, tr("Inspection due: %1").arg(objectLabel(l)),
                       description});
    }
    return CICalendar::write(events, stamp, QStringLiteral("-//Collatrix//Due list//EN"));
}
