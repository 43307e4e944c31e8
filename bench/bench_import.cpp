// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a spreadsheet of 100,000 readings into a fresh embedded archive: two years of weekly
// surveys of about a thousand test points, each week a download of its own, kept and recorded.
// Exits with 1 when the target is missed.
#include "archive/archiveset.h"
#include "benchtiming.h"
#include "services/keptfolder.h"
#include "services/readingsimport.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace
{

constexpr double kTarget = 5.0;
constexpr int kWeeks = 100;
constexpr int kPoints = 1000;

QByteArray spreadsheet()
{
    QByteArray csv = "time;group;cell;result;unit\r\n";
    for (int week = 0; week < kWeeks; ++week) {
        const QByteArray date =
            QDate(2023, 1, 2).addDays(7 * week).toString(Qt::ISODate).toLatin1();
        for (int point = 0; point < kPoints; ++point)
            csv +=
                date + ';' + QByteArray::number(1 + point / 100) + ';' +
                QByteArray::number(1 + point % 100) + ';' +
                QByteArray::number(12.0 - week * 0.001 - point * 0.0001, 'f', 2).replace('.', ',') +
                ";mm\r\n";
    }
    return csv;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("readings.csv"));
    QFile file(csv);
    if (!file.open(QIODevice::WriteOnly) || file.write(spreadsheet()) < 0)
        return 1;
    file.close();
    int run = 0;
    const bool pass = bench::measure(
        "import", kTarget,
        [&] {
            const QString at = dir.filePath(QStringLiteral("run%1").arg(++run));
            CArchiveSet set(CArchiveLocation::embedded(at + QStringLiteral("/archive.sqlite")));
            QString problem;
            QStringList lines;
            return bench::secondsOf([&] {
                return set.open(&problem) &&
                       CReadingsImport::importFile(csv, set,
                                                   CKeptFolder(at + QStringLiteral("/kept")),
                                                   &lines) == CReadingsImport::Outcome::Recorded;
            });
        },
        3);
    return pass ? 0 : 1;
}
