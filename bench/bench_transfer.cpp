// SPDX-License-Identifier: GPL-3.0-or-later
// Transfer efficiency at the real line rate: how long a download of about 100 kB takes from
// the start command to the end of reception, against the time the bytes need on the line.
#include "data/transferengine.h"
#include "device/kvtustester.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

constexpr double kLineBytesPerSecond = 3840.0; // 38400 baud, 10 bits a byte
constexpr int kTickMs = CTransferEngine::kTickMs;

// 128 groups of 100 readings: 400 blocks of 256 bytes plus the header.
const QStringList kMemory{"--layout", "2", "--groups", "128", "--cells", "100", "--seed", "3"};

bool startTester(QProcess *tester, const QString &portsFolder)
{
    for (int n = 1; n <= 128; ++n) // hide the machine's own serial ports
        QFile::link(portsFolder + QStringLiteral("/absent"),
                    portsFolder + QStringLiteral("/COM%1").arg(n));
    tester->start(QCoreApplication::applicationDirPath() + QStringLiteral("/collatrix-tester"),
                  kMemory + QStringList{"--ports-dir", portsFolder});
    return tester->waitForReadyRead(10000);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir ports;
    QProcess tester;
    if (!startTester(&tester, ports.path())) {
        std::fprintf(stderr, "bench_transfer: collatrix-tester did not start\n");
        return 1;
    }
    CCOMPort::setPortsFolder(ports.path());
    CKVTUSTester device;
    if (!device.findDevice()) {
        std::fprintf(stderr, "bench_transfer: no tester found\n");
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    const int progress = CTransferEngine(&device).run();
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::uint8_t *dump = nullptr;
    int size = 0;
    device.takeDump(&dump, &size);
    const double lineSeconds = size / kLineBytesPerSecond;
    std::printf("transfer: %d bytes, progress %d %%, %.2f s; on the line %.2f s; efficiency %.3f "
                "(target: at most 1.05 plus two %d ms ticks, %.3f: the last one waits for a "
                "quiet line)\n",
                size, progress, seconds, lineSeconds, seconds / lineSeconds, kTickMs,
                1.05 + 2 * kTickMs / 1000.0 / lineSeconds);
    tester.terminate();
    tester.waitForFinished(5000);
    return 0;
}
