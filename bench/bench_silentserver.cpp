// SPDX-License-Identifier: GPL-3.0-or-later
// The main window started as the program starts it, with a shared archive whose server takes the
// connection and never answers and 100 kept downloads waiting to go into the archive: it must be
// shown within 1 s, and in its first 10 s its event loop must never stall for more than 100 ms.
// Exits with 1 when either is missed.
#include "app/mainwindow.h"
#include "archivetesting.h"
#include "services/keptfolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace
{

constexpr qint64 kShownTargetMs = 1000;
constexpr qint64 kStallTargetMs = 100;
constexpr int kWatchMs = 10000;
constexpr int kTickMs = 10;
constexpr int kWaiting = 100;

bool keepDownloads()
{
    QString problem;
    for (int n = 0; n < kWaiting; ++n) {
        const CKeptDownload kept =
            keptAt(at(QStringLiteral("2026-01-01T08:00:00+01:00")).addSecs(n).toString(Qt::ISODate),
                   {{1, 1 + n % 50, 1000 + n, 1, 0}});
        if (CKeptFolder().keep(kept, &problem).isEmpty()) {
            std::fprintf(stderr, "bench_silentserver: %s\n", qPrintable(problem));
            return false;
        }
    }
    return true;
}

// The longest time between two ticks of a 10 ms timer, less the tick, over the watch.
qint64 longestStallMs()
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last - kTickMs);
        last = now;
        if (now >= kWatchMs)
            QCoreApplication::quit();
    });
    tick.start(kTickMs);
    QCoreApplication::exec();
    return longest;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    QTcpServer silent;
    if (!silent.listen(QHostAddress::LocalHost) || !keepDownloads())
        return 1;
    qputenv("COLLATRIX_ARCHIVE",
            QStringLiteral("postgresql://collatrix@127.0.0.1:%1/x?connect_timeout=5")
                .arg(silent.serverPort())
                .toLocal8Bit());
    sinceStart.restart();
    MainWindow window;
    window.show();
    window.openArchive();
    QCoreApplication::processEvents();
    const qint64 shownMs = sinceStart.elapsed();
    const qint64 stallMs = longestStallMs();
    const QLabel *status = window.findChild<QLabel *>(QStringLiteral("archiveIndicator"));
    std::printf("status area after %d s: %s\n", kWatchMs / 1000,
                status ? qPrintable(status->text()) : "none");
    const bool shownInTime = shownMs < kShownTargetMs;
    const bool neverStalled = stallMs < kStallTargetMs;
    std::printf("shown    %5lld ms (target: under %lld ms): %s\n", shownMs, kShownTargetMs,
                shownInTime ? "PASS" : "FAIL");
    std::printf("stall    %5lld ms at most in %d s (target: under %lld ms): %s\n", stallMs,
                kWatchMs / 1000, kStallTargetMs, neverStalled ? "PASS" : "FAIL");
    return shownInTime && neverStalled ? 0 : 1;
}
