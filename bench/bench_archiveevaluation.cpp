// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation of the largest download (240 groups of 1302 readings, 312,480 results) against
// an embedded archive that holds ten earlier surveys of the same points: reading the earlier
// readings and the limits from the archive, then evaluating, with the process's peak memory.
// Exits with 1 when a target is missed.
#include "archive/archive.h"
#include "archivetesting.h"
#include "benchtiming.h"
#include "services/archiveevaluation.h"
#include "evaluation/evaluation.h"
#include "format/zrdata.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

constexpr double kTarget = 2.0;
constexpr long kMemoryLimitMb = 1024;
constexpr int kGroups = 240;
constexpr int kCells = 1302;
constexpr int kEarlierSurveys = 10;

CKeptDownload survey(int year)
{
    QList<std::array<int, 5>> records;
    records.reserve(kGroups * kCells);
    for (int g = 1; g <= kGroups; ++g) {
        for (int c = 1; c <= kCells; ++c)
            records.append({g, c, 1200 - year * (1 + (g * 7 + c * 13) % 5), 1, 0});
    }
    return keptAt(QStringLiteral("%1-03-01T10:00:00+01:00").arg(2012 + year), records);
}

bool fill(CArchive &archive)
{
    QString problem;
    if (!archive.open(&problem))
        return false;
    for (int year = 0; year < kEarlierSurveys; ++year) {
        const CKeptDownload kept = survey(year);
        if (archive.record(kept, kept.toBytes(), QStringLiteral("/kept/%1").arg(year), &problem) !=
            CArchive::Recorded::New)
            return false;
    }
    for (int g = 1; g <= kGroups; ++g)
        archive.setLimits(ArchiveLimits{g, 12.0, 11.4, 0.2, QDateTime::currentDateTime()},
                          &problem);
    return problem.isEmpty();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    CArchive archive(CArchiveLocation::embedded(dir.filePath(QStringLiteral("a.sqlite"))));
    std::printf("recording %d surveys of %d results...\n", kEarlierSurveys, kGroups * kCells);
    if (!fill(archive)) {
        std::printf("the archive could not be filled: FAIL\n");
        return 1;
    }
    const CKeptDownload latest = survey(kEarlierSurveys);
    CZRData data;
    QMap<int, AScanEntry> aScans;
    QString problem;
    if (!latest.decode(&data, &aScans, &problem))
        return 1;
    const bool pass = bench::measure(
        "archive", kTarget,
        [&] {
            return bench::secondsOf([&] {
                EvaluationInput input;
                QString why;
                if (!CArchiveEvaluation::input(archive, data, latest.time, &input, &why))
                    return false;
                const CEvaluation evaluation(input);
                return !evaluation.actionList().isEmpty();
            });
        },
        3);
    const long peak = bench::peakMemoryMb();
    const bool small = peak > 0 && peak < kMemoryLimitMb;
    std::printf("archive  peak memory %ld MB, the archive's filling included (limit: under %ld "
                "MB): %s\n",
                peak, kMemoryLimitMb, small ? "PASS" : "FAIL");
    return pass && small ? 0 : 1;
}
