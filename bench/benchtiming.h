// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The timing of the plain timed programs: a task run a few times, its best and median printed
// against the target with PASS or FAIL.
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace bench
{

// One run: its seconds, or a negative number when it failed.
using Run = std::function<double()>;

inline double secondsOf(const std::function<bool()> &work)
{
    QElapsedTimer clock;
    clock.start();
    const bool done = work();
    const double seconds = clock.nsecsElapsed() / 1e9;
    return done ? seconds : -1.0;
}

// One run of collatrix-cli COMMAND INPUT -o OUTPUT, timed; it must succeed and write OUTPUT.
inline double cliSeconds(const QString &command, const QString &input, const QString &output)
{
    QFile::remove(output);
    QProcess cli;
    cli.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    return secondsOf([&] {
        cli.start(QStringLiteral(COLLATRIX_BIN_DIR "/collatrix-cli"),
                  {command, input, QStringLiteral("-o"), output});
        return cli.waitForFinished(-1) && cli.exitStatus() == QProcess::NormalExit &&
               cli.exitCode() == 0 && QFile::exists(output);
    });
}

// The process's peak resident memory in MB; -1 when it cannot be read.
inline long peakMemoryMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
    }
    return -1;
}

// Prints best and median against the target; false when a run failed or the median misses it.
inline bool measure(const char *what, double targetSeconds, const Run &run, int runs = 5)
{
    QList<double> seconds;
    for (int n = 0; n < runs; ++n) {
        const double s = run();
        if (s < 0) {
            std::printf("%-8s failed on run %d: FAIL\n", what, n + 1);
            return false;
        }
        seconds.append(s);
    }
    std::sort(seconds.begin(), seconds.end());
    const double median = seconds.at(runs / 2);
    const bool pass = median < targetSeconds;
    std::printf("%-8s best %8.1f ms, median %8.1f ms of %d runs (target: under %.0f ms): %s\n",
                what, seconds.first() * 1e3, median * 1e3, runs, targetSeconds * 1e3,
                pass ? "PASS" : "FAIL");
    return pass;
}

} // namespace bench
