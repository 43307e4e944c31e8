// SPDX-License-Identifier: GPL-3.0-or-later
#include "devicecommands.h"

#include "clioptions.h"

#include "archivecommands.h"
#include "keptcommands.h"

#include "data/transferengine.h"
#include "device/comport.h"
#include "device/kvtustester.h"
#include "format/zrdata.h"
#include "services/archiveservice.h"
#include "services/downloadsteps.h"
#include "services/keptfolder.h"
#include "services/searchsettings.h"

#include <QDir>
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
int receive(CTransferEngine *engine)
{
    const int progress = engine->run(drawProgress);
    if (isatty(STDERR_FILENO))
        std::fputc('\n', stderr);
    return progress;
}

void tellNotKept(const QString &problem)
{
    printError(QStringLiteral("downloads are not being kept: %1 cannot be written (%2)")
                   .arg(QDir::toNativeSeparators(CKeptFolder::defaultPath()), problem));
}

// Keeps a reception that holds a result, as the window does, and prints the kept file's path on
// standard output.
void keep(CDownloadSteps *steps, const CZRData &data, int progress)
{
    QString problem;
    const QString outcome =
        CTransferEngine::outcomeName(CTransferEngine::outcome(true, data.groupCount, progress));
    if (!steps->keep(data, outcome, &problem))
        tellNotKept(problem);
    else if (!steps->keptFile.isEmpty())
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(steps->keptFile)));
}

// Fetches every A-scan the results mark, as the window's prefetch does, and adds them to the
// kept file.
QMap<int, AScanEntry> fetchAndKeepAScans(CKVTUSTester *tester, const CZRData &data,
                                         CDownloadSteps *steps)
{
    QMap<int, AScanEntry> aScans;
    CDownloadSteps::fetchAScans(tester, data, &aScans);
    std::fprintf(stderr, "%d A-scans fetched\n", int(aScans.size()));
    QString problem;
    if (!steps->keepAScans(data, aScans, &problem))
        tellNotKept(problem);
    return aScans;
}

bool saveRaw(const QString &path, const std::uint8_t *dump, int size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(dump), size);
    return writeOutput(path, [&bytes](QIODevice &out) { return out.write(bytes) == bytes.size(); });
}

std::unique_ptr<CKVTUSTester> foundTester()
{
    auto tester = std::make_unique<CKVTUSTester>();
    tester->searchPorts = CSearchSettings::ports();
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
    tester.searchPorts = CSearchSettings::ports();
    tester.scanPorts();
    QMap<int, QString> lines;
    for (int i = 0; i < tester.portCount; ++i)
        lines.insert(tester.ports[i].portNumber(), portName(&tester.ports[i]));
    for (const CKVTUSTester::SkippedPort &skipped : tester.skippedPorts)
        lines.insert(skipped.number,
                     QStringLiteral("COM%1 skipped: %2").arg(skipped.number).arg(skipped.reason));
    for (const QString &line : lines)
        std::printf("%s\n", qPrintable(line));
    return CliOk;
}

int runSearchPortsCommand(const QStringList &args)
{
    CCliOptions opt;
    if (!opt.parse(args, {}, {}, 1))
        return CliUsage;
    QList<int> ports = CSearchSettings::ports();
    if (!opt.positional.isEmpty() && !CSearchSettings::parse(opt.positional.first(), &ports)) {
        printError(QStringLiteral("not a list of ports: %1 (write e.g. 3,5-7 or all)")
                       .arg(opt.positional.first()));
        return CliUsage;
    }
    QString problem;
    if (!opt.positional.isEmpty() && !CSearchSettings::setPorts(ports, &problem)) {
        printError(problem);
        return CliFailed;
    }
    const QString list = CSearchSettings::format(ports);
    std::printf("%s\n", ports.isEmpty() ? "all" : qPrintable(list));
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
                    QStringLiteral("--decimal-separator"), QStringLiteral("--archive")},
                   {QStringLiteral("--pictures")}, 0) ||
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
    CTransferEngine engine(tester.get());
    const int progress = receive(&engine);

    std::uint8_t *dump = nullptr;
    int size = 0;
    tester->takeDump(&dump, &size);
    CZRData data;
    const bool decoded = data.decodeDump(dump, size, tester->extendedProtocol);
    // Kept first: a raw file or a CSV that cannot be written must not cost the download.
    CArchiveService archive(CArchiveService::Threading::CallersThread,
                            opt.values.value(QStringLiteral("--archive")));
    QObject::connect(&archive, &CArchiveService::recorded, [](const QString &problem) {
        if (!problem.isEmpty())
            printError(problem);
    });
    CDownloadSteps steps(&archive);
    steps.received(engine.reception(dump, size), tester->identification);
    keep(&steps, data, progress);
    const QString raw = opt.values.value(QStringLiteral("--raw"));
    if (!raw.isEmpty() && !saveRaw(raw, dump, size))
        return CliFailed;
    if (!decoded) {
        printError(QStringLiteral("data transfer failed: %1 bytes received, no results in them")
                       .arg(size));
        return CliFailed;
    }
    if (data.groupCount == 0) {
        printError(QStringLiteral("no measurements in the connected device"));
        return CliNoMeasurements;
    }
    const QMap<int, AScanEntry> aScans =
        opt.flags.contains(QStringLiteral("--pictures")) && data.hasAScans
            ? fetchAndKeepAScans(tester.get(), data, &steps)
            : QMap<int, AScanEntry>();
    if (!exportResults(output, data, aScans, separator))
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
