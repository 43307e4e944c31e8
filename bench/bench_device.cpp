// SPDX-License-Identifier: GPL-3.0-or-later
// The device layer at the real line rate: a device search over this machine's own serial ports
// (where the only UART is often the kernel console, which the search must not touch or wait
// on), and 20 A-scans fetched in one session from collatrix-tester replying at 3840 B/s,
// against the line limit of a 15-byte request and a 384-byte reply. Exits with 1 when a target
// is missed.
#include "device/kvtustester.h"
#include "format/ascanentry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

constexpr double kLineBytesPerSecond = 3840.0; // 38400 baud, 10 bits a byte
constexpr double kAScanLineMs = (15 + 384) / kLineBytesPerSecond * 1000.0;
constexpr int kAScans = 20;

// The machine's own ports, as the fixed table names them: nothing answers there.
bool searchOwnPorts()
{
    QTemporaryDir none; // an empty ports folder: the table alone
    CCOMPort::setPortsFolder(none.path());
    CKVTUSTester device;
    QElapsedTimer clock;
    clock.start();
    device.findDevice();
    const double ms = clock.nsecsElapsed() / 1e6;
    std::printf("search of this machine's ports: %d open, %d left alone, %.1f ms (target: no "
                "probe of a port that is not ours)\n",
                device.portCount, int(device.skippedPorts.size()), ms);
    for (const CKVTUSTester::SkippedPort &skipped : device.skippedPorts)
        std::printf("  COM%d: %s\n", skipped.number, qPrintable(skipped.reason));
    // Every port that opened costs two probe windows of 500 ms; a skipped one nothing.
    return ms < 100.0 + device.portCount * 1100.0;
}

bool fetchAScans(const QString &portsFolder)
{
    for (int n = 1; n <= 128; ++n) // hide the machine's own serial ports
        QFile::link(portsFolder + QStringLiteral("/absent"),
                    portsFolder + QStringLiteral("/COM%1").arg(n));
    QProcess tester;
    tester.start(QCoreApplication::applicationDirPath() + QStringLiteral("/collatrix-tester"),
                 {"--layout", "3", "--groups", "1", "--cells", "40", "--reply-rate", "3840",
                  "--ports-dir", portsFolder});
    CCOMPort::setPortsFolder(portsFolder);
    CKVTUSTester device;
    if (!tester.waitForReadyRead(10000) || !device.findDevice()) {
        std::fprintf(stderr, "bench_device: no simulated tester\n");
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    device.beginAScans();
    int fetched = 0;
    for (int cell = 1; cell <= kAScans; ++cell) {
        AScanEntry entry;
        fetched += device.requestAScan(1, cell, &entry) ? 1 : 0;
    }
    device.endAScans();
    const double perAScan = clock.nsecsElapsed() / 1e6 / kAScans;
    std::printf("A-scans: %d of %d fetched, %.1f ms each; line limit %.1f ms; ratio %.3f "
                "(target: at most 1.15)\n",
                fetched, kAScans, perAScan, kAScanLineMs, perAScan / kAScanLineMs);
    tester.terminate();
    tester.waitForFinished(5000);
    return fetched == kAScans && perAScan <= 1.15 * kAScanLineMs;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir ports;
    const bool searched = searchOwnPorts();
    const bool fetched = fetchAScans(ports.path());
    return searched && fetched ? 0 : 1;
}
