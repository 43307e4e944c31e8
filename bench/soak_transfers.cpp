// SPDX-License-Identifier: GPL-3.0-or-later
// Soak: 200 downloads in a row from one simulated tester, in one process, each saved as CSV.
// It drives CCollatrix the way the main window does (a start, then findDevice-free polls every
// 500 ms through the transfer engine, decodeReceivedDump, one A-scan, writeCsv), not
// the window itself, which blocks 2 s on every outcome message. It fails when a CSV differs from
// the first, or when memory (RSS) or descriptors grew between transfer 100 and transfer 200.
// Not run by CTest; scripts/soak.sh runs it in the sanitizer build, where LeakSanitizer checks
// the exit.
#include "data/collatrix.h"
#include "device/comport.h"
#include "device/kvtustester.h"
#include "format/csvwriter.h"
#include "portsfolder.h"
#include "testerprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace
{

constexpr int kTransfers = 200;
// Allocator caches and the sanitizer's quarantine move a little; a leak per transfer does not
// stay under this over 100 transfers.
constexpr long kRssSlackKb = 2048;

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One download as the window's timer runs it; false when it did not end in complete data.
bool download(CCollatrix &c)
{
    return c.transfer.run() >= 100 && c.decodeReceivedDump();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestPortsFolder ports;
    TesterProcess tester(ports.path(),
                         {"--layout", "3", "--groups", "2", "--cells", "10", "--rate", "100000"});
    if (!tester.linked()) {
        out() << "the simulated tester did not start: " << tester.firstLine << Qt::endl;
        return 1;
    }
    QTemporaryDir folder;
    CCollatrix c(folder.path() + QLatin1Char('/'));
    if (!c.findDevice()) {
        out() << "no tester found" << Qt::endl;
        return 1;
    }
    const QString reference = folder.filePath(QStringLiteral("reference.csv"));
    const QString csv = folder.filePath(QStringLiteral("results.csv"));
    long rssAt100 = 0;
    int fdsAt100 = 0;
    for (int n = 1; n <= kTransfers; ++n) {
        QString problem;
        if (!download(c) || !c.fetchAScan(0) ||
            !c.writeCsv(n == 1 ? reference : csv, CCsvWriter::allRows(c.measurements), &problem)) {
            out() << "transfer " << n << " failed " << problem << Qt::endl;
            return 1;
        }
        if (n > 1 && fileBytes(csv) != fileBytes(reference)) {
            out() << "transfer " << n << ": the CSV differs from the first" << Qt::endl;
            return 1;
        }
        if (n == kTransfers / 2) {
            rssAt100 = residentKb();
            fdsAt100 = openDescriptors();
        }
    }
    const long rssAt200 = residentKb();
    const int fdsAt200 = openDescriptors();
    out() << kTransfers << " transfers, " << c.measurements.totalCount() << " rows each; RSS "
          << rssAt100 << " kB after 100, " << rssAt200 << " kB after 200; descriptors " << fdsAt100
          << " and " << fdsAt200 << Qt::endl;
    if (rssAt200 - rssAt100 > kRssSlackKb || fdsAt200 != fdsAt100) {
        out() << "growth between transfer 100 and 200" << Qt::endl;
        return 1;
    }
    return 0;
}
