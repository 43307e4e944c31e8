// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the Due window on the embedded archive of bench/duearchive.h, 3,000,000 readings, until
// its list is shown: the list is read whole for each opening. Exits with 1 when a target is
// missed.
#include "app/duewindow.h"
#include "benchtiming.h"
#include "data/collatrix.h"
#include "duearchive.h"

#include <QApplication>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>

namespace
{

constexpr double kTarget = 1.0;

// Times the window from its opening until its list is shown, on the controller given each run.
template <typename Controller> bool openingWithinTarget(const char *name, const Controller &make)
{
    return bench::measure(name, kTarget, [&] {
        const auto controller = make();
        DueWindow window(&*controller);
        const auto *table = window.findChild<QTableWidget *>(QStringLiteral("dueTable"));
        const auto *exports = window.findChild<QWidget *>(QStringLiteral("exportBox"));
        return bench::secondsOf([&] {
            window.show();
            return QTest::qWaitFor([exports] { return exports->isEnabled(); }, 60000) &&
                   table->rowCount() == duearchive::kObjects;
        });
    });
}

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
    // The first opening after the program's start reads through a fresh connection, whose cache
    // holds nothing yet; an opening again reads through the same connection.
    const bool first = openingWithinTarget("first", [] { return std::make_unique<CCollatrix>(); });
    CCollatrix running;
    const bool again = openingWithinTarget("again", [&running] { return &running; });
    return first && again ? 0 : 1;
}
