// SPDX-License-Identifier: GPL-3.0-or-later
// The review of an embedded archive of 1,000 downloads of 300 readings each, some of them grown
// or halved: the list of every doubtful reading (collatrix-cli review), and what the Review window
// opens with, the evaluation of the newest download against all the others. Exits with 1 when a
// target is missed.
#include "archive/archive.h"
#include "archivetesting.h"
#include "benchtiming.h"
#include "evaluation/evaluation.h"
#include "format/zrdata.h"
#include "services/archiveevaluation.h"
#include "services/reviewservice.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

constexpr double kTarget = 0.2;
constexpr int kDownloads = 1000;
constexpr int kCells = 300;

// A wall that loses a hundredth every tenth download; every 97th download one cell reads far
// too thick and every 89th one reads half.
CKeptDownload download(int n)
{
    QList<std::array<int, 5>> records;
    for (int c = 1; c <= kCells; ++c) {
        int hundredths = 1200 - n / 10;
        if (n % 97 == 0 && c == n % kCells + 1)
            hundredths += 150;
        if (n % 89 == 0 && c == n % kCells + 1)
            hundredths /= 2;
        records.append({1, c, hundredths, 1, 0});
    }
    return keptAt(QDateTime(QDate(2000, 1, 1), QTime(10, 0), Qt::UTC)
                      .addDays(7 * n)
                      .toString(Qt::ISODate),
                  records);
}

bool fill(CArchive &archive)
{
    QString problem;
    if (!archive.open(&problem))
        return false;
    for (int n = 0; n < kDownloads; ++n) {
        const CKeptDownload kept = download(n);
        if (archive.record(kept, kept.toBytes(), QStringLiteral("/kept/%1").arg(n), &problem) !=
            CArchive::Recorded::New)
            return false;
    }
    return archive.setLimits(ArchiveLimits{1, 12.0, 8.0, 0.5, QDateTime::currentDateTime()},
                             &problem);
}

bool openWindow(CArchive &archive)
{
    const CKeptDownload newest = download(kDownloads - 1);
    CZRData data;
    QMap<int, AScanEntry> aScans;
    QString problem;
    if (!newest.decode(&data, &aScans, &problem))
        return false;
    return bench::measure("window", kTarget, [&] {
        return bench::secondsOf([&] {
            EvaluationInput input;
            QString why;
            if (!CArchiveEvaluation::input(archive, data, newest.time, &input, &why))
                return false;
            const CEvaluation evaluation(input);
            return int(evaluation.points().size()) == kCells;
        });
    });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    CArchive archive(CArchiveLocation::embedded(dir.filePath(QStringLiteral("a.sqlite"))));
    std::printf("recording %d downloads of %d results...\n", kDownloads, kCells);
    if (!fill(archive)) {
        std::printf("the archive could not be filled: FAIL\n");
        return 1;
    }
    const bool list = bench::measure("review", kTarget, [&] {
        return bench::secondsOf([&] {
            QString problem;
            return !CReviewService::list(archive, &problem).isEmpty() && problem.isEmpty();
        });
    });
    const bool window = openWindow(archive);
    return list && window ? 0 : 1;
}
