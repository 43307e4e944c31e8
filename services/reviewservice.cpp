// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/reviewservice.h"

#include "archive/archiveset.h"
#include "format/keptdownload.h"
#include "format/zrdata.h"
#include "services/archiveevaluation.h"

#include <QFile>

#include <algorithm>
#include <limits>
#include <map>

namespace
{

// A test point in one unit: readings in another unit are not compared.
using PointKey = std::tuple<int, int, int>;
// The decision in force on each reading: the latest.
using Decisions = std::map<std::tuple<int, int, qint64>, ArchiveDecision>;

ArchiveDecision decisionAt(const Decisions &decisions, int group, int cell, const QDateTime &time)
{
    const auto found = decisions.find({group, cell, time.toMSecsSinceEpoch()});
    return found == decisions.cend() ? ArchiveDecision{} : found->second;
}

void addLines(int group, int cell, const QList<PointReading> &readings, double tolerance,
              const Decisions &decisions, QList<ReviewLine> *lines)
{
    std::vector<const PointReading *> ordered;
    for (const PointReading &r : readings)
        ordered.push_back(&r);
    std::vector<ReadingCheck> findings;
    CReadingChecks::checkAll(ordered, tolerance, &findings);
    for (size_t i = 0; i < ordered.size(); ++i) {
        const PointReading &r = *ordered[i];
        const ArchiveDecision decision = decisionAt(decisions, group, cell, r.time);
        if (CReadingChecks::suspect(findings[i]) || !decision.decision.isEmpty())
            lines->append(ReviewLine{group, cell, r, findings[i], decision});
    }
}

bool keptBytesOf(CArchive &archive, const ArchiveDownload &download, QByteArray *bytes,
                 QString *problem)
{
    QFile file(download.file);
    if (file.open(QIODevice::ReadOnly)) {
        *bytes = file.readAll();
        return true;
    }
    *bytes = archive.keptBytes(download.sha256, problem);
    if (bytes->isEmpty() && problem->isEmpty())
        *problem = file.errorString();
    return !bytes->isEmpty();
}

} // namespace

QList<ReviewLine> CReviewService::list(CArchive &archive, QString *problem)
{
    std::map<PointKey, QList<PointReading>> byPoint;
    Decisions decisions;
    for (const ArchiveDecision &d : archive.decisions(problem))
        decisions[{d.group, d.cell, d.readingTime.toMSecsSinceEpoch()}] = d;
    const QMap<int, QMap<QString, ArchiveSetting>> settings = archive.latestSettings(problem);
    if (!problem->isEmpty())
        return {};
    archive.readDownloadsBefore(
        QDateTime::fromMSecsSinceEpoch(std::numeric_limits<qint64>::max() / 2),
        [&](const QList<ArchiveReading> &readings) {
            for (const ArchiveReading &r : readings) {
                const ReadingDecision decided = CArchiveEvaluation::decisionNamed(
                    decisionAt(decisions, r.record.group, r.record.cell, r.time).decision);
                byPoint[{r.record.group, r.record.cell, r.record.unit}].append(
                    PointReading{r.record, r.time, decided});
            }
            return true;
        },
        problem);
    QList<ReviewLine> lines;
    for (const auto &[key, readings] : byPoint)
        addLines(std::get<0>(key), std::get<1>(key), readings,
                 CArchiveEvaluation::rulesFrom(settings.value(std::get<0>(key)))
                     .toleranceIn(std::get<2>(key)),
                 decisions, &lines);
    std::stable_sort(lines.begin(), lines.end(), [](const ReviewLine &a, const ReviewLine &b) {
        return std::tuple(a.reading.time, a.group, a.cell) <
               std::tuple(b.reading.time, b.group, b.cell);
    });
    return lines;
}

bool CReviewService::decide(CArchiveSet &set, const ArchiveDecision &decision, QString *problem)
{
    CArchive &archive = set.sharedOpen() ? set.chosen() : set.embedded();
    const QList<ArchiveReading> readings = archive.history(decision.group, decision.cell, problem);
    if (!problem->isEmpty())
        return false;
    const qint64 at = decision.readingTime.toMSecsSinceEpoch();
    if (std::none_of(readings.cbegin(), readings.cend(),
                     [at](const ArchiveReading &r) { return r.time.toMSecsSinceEpoch() == at; })) {
        *problem = tr("the archive holds no reading of group %1, cell %2 taken at %3")
                       .arg(decision.group)
                       .arg(decision.cell)
                       .arg(CArchive::timeText(decision.readingTime));
        return false;
    }
    return set.decide(decision, problem);
}

bool CReviewService::aScanOf(CArchive &archive, const QDateTime &time, int group, int cell,
                             AScanEntry *entry, QString *problem)
{
    const QList<ArchiveDownload> downloads = archive.downloads(false, problem);
    const auto download =
        std::find_if(downloads.cbegin(), downloads.cend(), [&time](const ArchiveDownload &d) {
            return d.time.toMSecsSinceEpoch() == time.toMSecsSinceEpoch();
        });
    QByteArray bytes;
    CKeptDownload kept;
    CZRData data;
    QMap<int, AScanEntry> aScans;
    if (download == downloads.cend() || !keptBytesOf(archive, *download, &bytes, problem) ||
        !kept.fromBytes(bytes, false, problem) || !kept.decode(&data, &aScans, problem))
        return false;
    for (auto it = aScans.cbegin(); it != aScans.cend(); ++it) {
        MeasurementRecord r;
        if (data.recordAt(it.key(), &r) && r.group == group && r.cell == cell) {
            *entry = it.value();
            return true;
        }
    }
    return false;
}
