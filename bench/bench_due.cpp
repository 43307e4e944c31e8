// SPDX-License-Identifier: GPL-3.0-or-later
// The due list over 3,000,000 readings: 250 objects of 1,200 points surveyed ten times, each
// survey a download of 25 objects, in an embedded archive and, when a server is at hand
// (tests/with-postgres.sh; scripts/bench.sh does that), in a shared one. A tester numbers its
// groups 1 to 256, so an archive holds at most 256 objects: the three million readings are
// spread over 250 of them rather than 1,000. Exits with 1 when a target is missed.
#include "archive/archive.h"
#include "archivetesting.h"
#include "benchtiming.h"
#include "services/duelist.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

constexpr double kTarget = 1.0;
constexpr int kObjects = 250;
constexpr int kPoints = 1200;
constexpr int kSurveys = 10;
constexpr int kObjectsPerDownload = 25;

CKeptDownload survey(int year, int firstObject)
{
    QList<std::array<int, 5>> records;
    records.reserve(kObjectsPerDownload * kPoints);
    for (int g = firstObject; g < firstObject + kObjectsPerDownload; ++g) {
        for (int c = 1; c <= kPoints; ++c)
            records.append({g, c, 1200 - year * (1 + (g * 7 + c * 13) % 5), 1, 0});
    }
    return keptAt(QStringLiteral("%1-03-%2T10:00:00+01:00")
                      .arg(2016 + year)
                      .arg(1 + firstObject / kObjectsPerDownload, 2, 10, QLatin1Char('0')),
                  records);
}

bool fill(const CArchiveLocation &location)
{
    CArchive archive(location);
    QString problem;
    if (!archive.open(&problem))
        return false;
    for (int year = 0; year < kSurveys; ++year) {
        for (int first = 1; first <= kObjects; first += kObjectsPerDownload) {
            const CKeptDownload kept = survey(year, first);
            if (archive.record(kept, kept.toBytes(),
                               QStringLiteral("/kept/%1-%2").arg(year).arg(first),
                               &problem) != CArchive::Recorded::New)
                return false;
        }
    }
    for (int g = 1; g <= kObjects; ++g) {
        archive.setLimits(ArchiveLimits{g, 12.0, 11.4, 0.2, at("2015-01-01T00:00:00Z")}, &problem);
        archive.nameGroup(g, QStringLiteral("Line %1").arg(g), at("2015-01-01T00:00:00Z"),
                          &problem);
    }
    return problem.isEmpty();
}

bool dueWithinTarget(const char *name, const CArchiveLocation &location)
{
    std::printf("%s: recording %d surveys of %d objects of %d points...\n", name, kSurveys,
                kObjects, kPoints);
    if (!fill(location)) {
        std::printf("%s: the archive could not be filled: FAIL\n", name);
        return false;
    }
    CArchive archive(location);
    QString problem;
    if (!archive.open(&problem))
        return false;
    return bench::measure(name, kTarget, [&] {
        return bench::secondsOf([&] {
            QList<DueLine> lines;
            QString why;
            return CDueList::build(archive, &lines, &why) && lines.size() == kObjects;
        });
    });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    bool pass = dueWithinTarget(
        "due, embedded", CArchiveLocation::embedded(dir.filePath(QStringLiteral("a.sqlite"))));
    CArchiveLocation server;
    if (!emptyServer(&server)) {
        std::printf("PostgreSQL: no server (run through tests/with-postgres.sh): not measured\n");
        return pass ? 0 : 1;
    }
    pass = dueWithinTarget("due, PostgreSQL", server) && pass;
    return pass ? 0 : 1;
}
