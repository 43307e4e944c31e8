// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the Due window on an embedded archive of 1,000 objects with limits, 300 points each,
// surveyed ten times a year apart: 3,000,000 readings, every one read for each opening. No tester
// holds more than 256 groups, so no download could carry 1,000 objects: the archive is built once
// with set-based inserts, as bench_archive builds its big one. Exits with 1 when the target is
// missed.
#include "app/duewindow.h"
#include "archive/archive.h"
#include "archivetesting.h"
#include "benchtiming.h"
#include "data/collatrix.h"

#include <QApplication>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace
{

constexpr double kTarget = 1.0;
constexpr int kObjects = 1000;
constexpr int kPoints = 300;
constexpr int kSurveys = 10;
// 2016-06-01T02:00:00Z, and a year of 365.25 days.
constexpr qint64 kFirstSurveyMs = 1464746400000;
constexpr qint64 kYearMs = 31557600000;

// Each point thins by 0.01 to 0.05 mm a year from 12.00 mm; the minimums of 11.2 to 11.6 mm put
// some points below them or within their warning margin by the last survey.
QStringList surveys()
{
    const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT "
                                           "i + 1 FROM n WHERE i < %1) ");
    return {
        QStringLiteral("BEGIN"),
        numbers.arg(kSurveys - 1) +
            QStringLiteral("INSERT INTO downloads (sha256, time_ms, utc_offset, port, protocol, "
                           "outcome, tester, program, file, results, ascans) SELECT 'due' || i, "
                           "%1 + i * %2, 0, 'COM3', 'extended', 'completed', 'M47xx', 'bench', "
                           "'/bench/due' || i, %3, 0 FROM n")
                .arg(kFirstSurveyMs)
                .arg(kYearMs)
                .arg(kObjects * kPoints),
        numbers.arg(kObjects * kPoints - 1) +
            QStringLiteral("INSERT INTO results (download_id, row_no, grp, cell, raw, divisor, "
                           "unit, ascan) SELECT d.id, n.i, 1 + n.i / %1, 1 + n.i % %1, "
                           "1200 - (d.id - 1) * (1 + (n.i * 7 + d.id) % 5), 100, 2, 0 "
                           "FROM downloads d CROSS JOIN n")
                .arg(kPoints),
        numbers.arg(kObjects - 1) +
            QStringLiteral("INSERT INTO group_limits (grp, nominal, minimum, warning, from_ms) "
                           "SELECT 1 + i, 12.0, 11.2 + (i % 5) * 0.1, 0.2, %1 FROM n")
                .arg(kFirstSurveyMs),
        QStringLiteral("COMMIT"),
        QStringLiteral("ANALYZE")};
}

bool build(const CArchiveLocation &location)
{
    QString problem;
    if (!CArchive(location).open(&problem)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return false;
    }
    const double seconds = bench::secondsOf([&] { return runSql(location, surveys()); });
    std::printf("(%d readings written in %.1f s)\n", kObjects * kPoints * kSurveys, seconds);
    return seconds >= 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    qputenv("COLLATRIX_ARCHIVE", ("sqlite:" + path).toLocal8Bit());
    std::printf("building an archive of %d objects of %d points, surveyed %d times...\n", kObjects,
                kPoints, kSurveys);
    if (!build(CArchiveLocation::embedded(path)))
        return 1;
    const bool pass = bench::measure("window", kTarget, [&] {
        // Each opening connects afresh and reads the whole list.
        CCollatrix controller;
        DueWindow window(&controller);
        const auto *table = window.findChild<QTableWidget *>(QStringLiteral("dueTable"));
        const auto *exports = window.findChild<QWidget *>(QStringLiteral("exportBox"));
        return bench::secondsOf([&] {
            window.show();
            return QTest::qWaitFor([exports] { return exports->isEnabled(); }, 60000) &&
                   table->rowCount() == kObjects;
        });
    });
    return pass ? 0 : 1;
}
