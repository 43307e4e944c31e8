#include "devicecommands.h"

#include "clioptions.h"

#include "data/transferengine.h"
#include "data/zrdata.h"
#include "device/comport.h"
#include "device/kvtustester.h"

#include <QFile>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace
{

const QString kPortsDir = QStringLiteral("--ports-dir");

QString portName(const CCOMPort *port)
{
    return QStringLiteral("COM%1").arg(port->portNumber());
}

void drawProgress(int percent, int bytes)
{
    if (!isatty(STDERR_FILENO))
        return;
    const int width = 40;
    const int filled = width * percent / 100;
    std::fprintf(stderr, "\r[%s%s] %3d %%  %d bytes", QByteArray(filled, '#').constData(),
                 QByteArray(width - filled, ' ').constData(), percent, bytes);
    std::fflush(stderr);
}

// The program's transfer engine, ticking every 500 ms. Returns the last progress.
int receive(CKVTUSTester *tester)
{
    CTransferEngine engine(tester);
    const int progress = engine.run(drawProgress);
    if (isatty(STDERR_FILENO))
        std::fputc('\n', stderr);
    return progress;
}

bool saveRaw(const QString &path, const std::uint8_t *dump, int size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char *>(dump), size) != size) {
        printError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

std::unique_ptr<CKVTUSTester> foundTester()
{
    auto tester = std::make_unique<CKVTUSTester>();
    if (!tester->findDevice()) {
        printError(QStringLiteral("no tester answers on any serial port (%1 ports open)")
                       .arg(tester->portCount));
        return nullptr;
    }
    return tester;
}

} // namespace

int runPortsCommand(const QStringList &args)
{
    CCliOptions opt;
    if (!opt.parse(args, {kPortsDir}, {}, 0))
        return CliUsage;
    opt.applyPortsFolder();
    CKVTUSTester tester;
    tester.scanPorts();
    for (int i = 0; i < tester.portCount; ++i)
        std::printf("%s\n", qPrintable(portName(&tester.ports[i])));
    return CliOk;
}

int runFindCommand(const QStringList &args)
{
    CCliOptions opt;
    if (!opt.parse(args, {kPortsDir}, {}, 0))
        return CliUsage;
    opt.applyPortsFolder();
    const auto tester = foundTester();
    if (!tester)
        return CliNoTester;
    std::printf("%s %s\n", qPrintable(portName(tester->currentPort)),
                tester->extendedProtocol ? "extended" : "standard");
    return CliOk;
}

int runDownloadCommand(const QStringList &args)
{
    CCliOptions opt;
    QChar separator;
    if (!opt.parse(args,
                   {QStringLiteral("-o"), QStringLiteral("--raw"), kPortsDir,
                    QStringLiteral("--decimal-separator")},
                   {}, 0) ||
        !opt.decimalSeparator(&separator))
        return CliUsage;
    const QString output = opt.values.value(QStringLiteral("-o"));
    if (output.isEmpty()) {
        printError(QStringLiteral("download needs -o RESULTS.csv"));
        return CliUsage;
    }
    opt.applyPortsFolder();
    const auto tester = foundTester();
    if (!tester)
        return CliNoTester;
    std::fprintf(stderr, "Tester on %s, %s protocol\n", qPrintable(portName(tester->currentPort)),
                 tester->extendedProtocol ? "extended" : "standard");
    const int progress = receive(tester.get());

    std::uint8_t *dump = nullptr;
    int size = 0;
    tester->takeDump(&dump, &size);
    const QString raw = opt.values.value(QStringLiteral("--raw"));
    if (!raw.isEmpty() && !saveRaw(raw, dump, size))
        return CliFailed;
    CZRData data;
    if (!data.decodeDump(dump, size, tester->extendedProtocol)) {
        printError(QStringLiteral("data transfer failed: %1 bytes received, no results in them")
                       .arg(size));
        return CliFailed;
    }
    if (data.groupCount == 0) {
        printError(QStringLiteral("no measurements in the connected device"));
        return CliNoMeasurements;
    }
    if (!writeResults(output, data, separator))
        return CliFailed;
    if (progress < 100) {
        printError(
            QStringLiteral("received data is incomplete (%1 %, %2 bytes): %3 results written to %4")
                .arg(progress)
                .arg(size)
                .arg(data.totalCount())
                .arg(output));
        return CliIncomplete;
    }
    std::fprintf(stderr, "%d results written to %s\n", data.totalCount(), qPrintable(output));
    return CliOk;
}
