// SPDX-License-Identifier: GPL-3.0-or-later
// The archive at its sizes, each against its time target: recording a download of 10,000
// results, importing 1,000 kept downloads of 300 results each, and a test point's history over
// 1,000,000 readings. The embedded archive always; PostgreSQL when run through
// tests/with-postgres.sh (scripts/bench.sh does). Exits with 1 when a target is missed.
#include "archive/archive.h"
#include "archive/archiveset.h"
#include "archivetesting.h"
#include "benchtiming.h"
#include "format/keptdownload.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace
{

using bench::measure;
using bench::secondsOf;

constexpr double kRecordEmbeddedTarget = 0.2;
constexpr double kRecordSharedTarget = 1.0;
constexpr double kImportTarget = 60.0;
constexpr double kHistoryTarget = 0.05;
constexpr int kCellsPerGroup = 100;
// The big archive: a thousand downloads of a thousand readings, ten groups of a hundred cells.
constexpr int kBigDownloads = 1000;
constexpr int kBigReadings = 1000;

// A layout-3 dump of count results, a hundred cells to a group.
QByteArray dumpOf(int count, int seed)
{
    QList<std::array<int, 5>> records;
    for (int i = 0; i < count; ++i)
        records.append(
            {1 + i / kCellsPerGroup, 1 + i % kCellsPerGroup, 500 + (i * 7 + seed) % 2000, 1, 0});
    return ::dumpOf(records);
}

// The n-th of a series of downloads, a minute apart.
CKeptDownload keptOf(int results, int n)
{
    CKeptDownload kept;
    kept.time = QDateTime(QDate(2026, 1, 5), QTime(8, 0), Qt::OffsetFromUTC, 3600).addSecs(n * 60);
    kept.port = QStringLiteral("COM3");
    kept.extended = true;
    kept.outcome = QStringLiteral("completed");
    kept.programVersion = QStringLiteral("bench");
    kept.dump = dumpOf(results, n);
    return kept;
}

bool failed(const QString &what, const QString &problem)
{
    std::fprintf(stderr, "bench_archive: %s: %s\n", qPrintable(what), qPrintable(problem));
    return false;
}

bool recordTenThousand(const char *what, const CArchiveLocation &location, double target)
{
    CArchive archive(location);
    QString problem;
    if (!archive.open(&problem))
        return failed(QString::fromLatin1(what), problem);
    int n = 0;
    return measure(what, target, [&] {
        const CKeptDownload kept = keptOf(10000, n++);
        const QByteArray bytes = kept.toBytes();
        return secondsOf([&] {
            return archive.record(kept, bytes, QStringLiteral("/bench/%1.clxd").arg(n),
                                  QStringLiteral("Tarn Qellix"),
                                  &problem) == CArchive::Recorded::New ||
                   failed(QString::fromLatin1(what), problem);
        });
    });
}

bool importThousand(const QTemporaryDir &dir)
{
    const QString folder = dir.filePath(QStringLiteral("kept"));
    QDir().mkpath(folder);
    for (int n = 0; n < 1000; ++n) {
        QFile file(QStringLiteral("%1/%2.clxd").arg(folder).arg(n, 4, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(keptOf(300, n).toBytes()) < 0)
            return failed(file.fileName(), file.errorString());
    }
    int run = 0;
    return measure(
        "import 1,000 x 300, embedded", kImportTarget,
        [&] {
            CArchiveSet set(CArchiveLocation::embedded(
                dir.filePath(QStringLiteral("import%1.sqlite").arg(++run))));
            QString problem;
            if (!set.open(&problem))
                return -1.0;
            return secondsOf([&] { return set.import({folder}).recorded == 1000; });
        },
        3);
}

// A thousand downloads a day apart, each with a reading of every cell, in one transaction.
QStringList bigArchive()
{
    const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT "
                                           "i + 1 FROM n WHERE i < %1) ");
    return {
        QStringLiteral("BEGIN"),
        numbers.arg(kBigDownloads - 1) +
            QStringLiteral("INSERT INTO downloads (sha256, time_ms, utc_offset, port, protocol, "
                           "outcome, tester, program, file, results, ascans) SELECT 'big' || i, "
                           "1700000000000 + CAST(i AS BIGINT) * 86400000, 3600, 'COM3', "
                           "'extended', 'completed', "
                           "'M47xx', 'bench', '/bench/big' || i, %1, 0 FROM n")
                .arg(kBigReadings),
        numbers.arg(kBigReadings - 1) +
            QStringLiteral("INSERT INTO results (download_id, row_no, grp, cell, raw, "
                           "divisor, unit, ascan) SELECT d.id, n.i, 1 + n.i / %1, "
                           "1 + n.i % %1, 500 + (d.id + n.i) % 700, 1, 2, 0 "
                           "FROM downloads d CROSS JOIN n")
                .arg(kCellsPerGroup),
        QStringLiteral("COMMIT"), QStringLiteral("ANALYZE")};
}

bool historyOfAMillion(const char *what, const CArchiveLocation &location)
{
    QString problem;
    {
        CArchive schema(location);
        if (!schema.open(&problem))
            return failed(QString::fromLatin1(what), problem);
    }
    const double built = secondsOf([&] { return runSql(location, bigArchive()); });
    if (built < 0)
        return false;
    std::printf("(%s: %d readings written in %.1f s)\n", what, kBigDownloads * kBigReadings, built);
    CArchive archive(location);
    if (!archive.open(&problem))
        return failed(QString::fromLatin1(what), problem);
    int point = 0;
    return measure(what, kHistoryTarget, [&] {
        const int group = 1 + point % 10;
        const int cell = 1 + (point++ * 37) % kCellsPerGroup;
        return secondsOf([&] {
            return archive.history(group, cell, &problem).size() == kBigDownloads ||
                   failed(QString::fromLatin1(what), problem);
        });
    });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    bool pass = recordTenThousand("record 10,000, embedded",
                                  CArchiveLocation::embedded(dir.filePath("record.sqlite")),
                                  kRecordEmbeddedTarget);
    pass = importThousand(dir) && pass;
    pass = historyOfAMillion("history of 1,000,000, embedded",
                             CArchiveLocation::embedded(dir.filePath("big.sqlite"))) &&
           pass;
    CArchiveLocation server;
    if (!emptyServer(&server)) {
        std::printf("PostgreSQL: no server (run through tests/with-postgres.sh): not measured\n");
        return pass ? 0 : 1;
    }
    pass = recordTenThousand("record 10,000, PostgreSQL", server, kRecordSharedTarget) && pass;
    pass = emptyServer(&server) && historyOfAMillion("history of 1,000,000, PostgreSQL", server) &&
           pass;
    return pass ? 0 : 1;
}
