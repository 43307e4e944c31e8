// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the Due window on the embedded archive of bench/duearchive.h, 3,000,000 readings: the
// list is read whole for each opening. Exits with 1 when the target is missed.
#include "app/duewindow.h"
#include "benchtiming.h"
#include "data/collatrix.h"
#include "duearchive.h"

#include <QApplication>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace
{

constexpr double kTarget = 1.0;

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    qputenv("COLLATRIX_ARCHIVE", ("sqlite:" + path).toLocal8Bit());
    std::printf("recording %d surveys of %d objects of %d points...\n", duearchive::kSurveys,
                duearchive::kObjects, duearchive::kPoints);
    if (!duearchive::fill(CArchiveLocation::embedded(path))) {
        std::printf("the archive could not be filled: FAIL\n");
        return 1;
    }
    const bool pass = bench::measure("window", kTarget, [&] {
        // Each opening connects afresh.
        CCollatrix controller;
        DueWindow window(&controller);
        const auto *table = window.findChild<QTableWidget *>(QStringLiteral("dueTable"));
        const auto *exports = window.findChild<QWidget *>(QStringLiteral("exportBox"));
        return bench::secondsOf([&] {
            window.show();
            return QTest::qWaitFor([exports] { return exports->isEnabled(); }, 60000) &&
                   table->rowCount() == duearchive::kObjects;
        });
    });
    return pass ? 0 : 1;
}
