// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the archive window on an embedded archive of 1,000 downloads of 300 results each, five
// of its groups named: the list, its object names and the waiting count are read each time.
// Exits with 1 when the target is missed.
#include "app/archivewindow.h"
#include "archive/archive.h"
#include "archivetesting.h"
#include "benchtiming.h"
#include "data/collatrix.h"

#include <QApplication>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

constexpr double kTarget = 1.0;
constexpr int kDownloads = 1000;
constexpr int kResults = 300;

bool fillArchive(CArchive &archive)
{
    QString problem;
    if (!archive.open(&problem)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return false;
    }
    const QDateTime first = at(QStringLiteral("2020-01-01T08:00:00+01:00"));
    for (int d = 0; d < kDownloads; ++d) {
        QList<std::array<int, 5>> records;
        for (int r = 0; r < kResults; ++r)
            records.append({1 + r / 60, 1 + r % 60, 1000 + (d + r) % 200, 1, 0});
        CKeptDownload kept = keptAt(first.addDays(d).toString(Qt::ISODate), records);
        if (archive.record(kept, kept.toBytes(), QStringLiteral("/kept/%1.clxd").arg(d),
                           &problem) != CArchive::Recorded::New) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return false;
        }
    }
    for (int group = 1; group <= 5; ++group)
        archive.nameGroup(group, QStringLiteral("Object %1").arg(group), first, &problem);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    qputenv("COLLATRIX_ARCHIVE", ("sqlite:" + path).toLocal8Bit());
    CArchive archive(CArchiveLocation::embedded(path));
    std::printf("filling an archive with %d downloads of %d results...\n", kDownloads, kResults);
    if (!fillArchive(archive))
        return 1;
    CCollatrix controller;
    const bool pass = bench::measure("window", kTarget, [&] {
        return bench::secondsOf([&] {
            controller.archive.reset(); // each opening connects afresh
            ArchiveWindow window(&controller);
            window.show();
            return window.findChild<QTableWidget *>(QStringLiteral("downloadsTable"))->rowCount() ==
                   kDownloads;
        });
    });
    return pass ? 0 : 1;
}
