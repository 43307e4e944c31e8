// SPDX-License-Identifier: GPL-3.0-or-later
// The due list over 3,000,000 readings (bench/duearchive.h) in an embedded archive and, when a
// server is at hand (tests/with-postgres.sh; scripts/bench.sh does that), in a shared one. Exits
// with 1 when a target is missed.
#include "benchtiming.h"
#include "duearchive.h"
#include "services/duelist.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace duearchive;

namespace
{

constexpr double kTarget = 1.0;

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
