// SPDX-License-Identifier: GPL-3.0-or-later
// The inspection report at the two sizes it is held to: 1,000 rows with 300 A-scans, written in
// this process as the window writes it, and the largest layout-2 download, written by
// collatrix-cli as a child process so that its peak memory can be read too. Exits with 1 when a
// target is missed.
#include "ascansynthesizer.h"
#include "benchtiming.h"
#include "format/keptdownload.h"
#include "format/zrdata.h"
#include "report/reportwriter.h"
#include "testermemory.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace
{

constexpr double kSmallTarget = 10.0;
constexpr double kLargestTarget = 90.0;
constexpr long kMemoryLimitMb = 600;
constexpr int kRows = 1000;
constexpr int kAScans = 300;
constexpr std::uint64_t kSeed = 7;

// The most a layout-2 memory can be: 240 groups of 1302 readings, 312,480 rows (see bench_kept).
const QStringList kLargest{"--layout", "2", "--groups", "240", "--cells", "1302", "--seed", "7"};

// Ten groups of 100 layout-3 readings, of which about four in five are marked as having an
// A-scan; the simulator's reply is held for the first 300 marked, the rest were never fetched.
bool buildSmall(CZRData *data, QMap<int, AScanEntry> *aScans)
{
    const CTesterMemory memory = CTesterMemory::generate(3, 10, kRows / 10, kSeed);
    const QByteArray &dump = memory.bytes();
    if (!data->decodeDump(reinterpret_cast<const std::uint8_t *>(dump.constData()),
                          int(dump.size()), true))
        return false;
    QHash<QPair<int, int>, TesterRecord> stored;
    for (const TesterRecord &t : memory.records())
        stored.insert({t.group, t.cell}, t);
    for (int row : CCsvWriter::allRows(*data)) {
        MeasurementRecord r;
        if (aScans->size() < kAScans && data->recordAt(row, &r) && r.hasAScan)
            aScans->insert(row, CKeptDownload::entryFromReply(CAScanSynthesizer::reply(
                                    stored.value({r.group, r.cell}), kSeed)));
    }
    return data->totalCount() == kRows && aScans->size() == kAScans;
}

double writeSmall(const CZRData &data, const QMap<int, AScanEntry> &aScans, const QString &pdf)
{
    CReportWriter::Source source;
    source.data = &data;
    source.rows = CCsvWriter::allRows(data);
    source.aScanOf = [&aScans](int row) { return aScanOfRow(aScans, row); };
    source.time = QDateTime::currentDateTime();
    source.port = QStringLiteral("COM3");
    source.outcome = QStringLiteral("completed");
    QFile::remove(pdf);
    QString problem;
    const double seconds = bench::secondsOf([&] {
        CReportWriter report(source, QStringLiteral(COLLATRIX_VERSION));
        return report.write(pdf, &problem);
    });
    if (seconds < 0)
        std::fprintf(stderr, "bench_report: %s\n", qPrintable(problem));
    return seconds;
}

// The highest peak resident size of the child processes waited for so far, in MB. Only the
// simulator ran before the reports, so a peak above its own is collatrix-cli's.
long childPeakMb()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QTemporaryDir dir;
    CZRData small;
    QMap<int, AScanEntry> aScans;
    if (!dir.isValid() || !buildSmall(&small, &aScans)) {
        std::fprintf(stderr, "bench_report: the simulator gave no %d rows with %d A-scans\n", kRows,
                     kAScans);
        return 1;
    }
    bool pass = bench::measure("1000 rows, 300 A-scans", kSmallTarget, [&] {
        return writeSmall(small, aScans, dir.filePath(QStringLiteral("small.pdf")));
    });
    const QString dump = dir.filePath(QStringLiteral("largest.bin"));
    if (QProcess::execute(QStringLiteral(COLLATRIX_BIN_DIR "/collatrix-tester"),
                          kLargest + QStringList{"--write-dump", dump}) != 0)
        return 1;
    const long before = childPeakMb();
    pass = bench::measure(
               "312480 rows", kLargestTarget,
               [&] {
                   return bench::cliSeconds(QStringLiteral("report"), dump,
                                            dir.filePath(QStringLiteral("largest.pdf")));
               },
               3) &&
           pass;
    const long peak = childPeakMb();
    const bool fits = peak < kMemoryLimitMb && peak > before;
    std::printf("312480 rows peak %ld MB of collatrix-cli report (limit: under %ld MB): %s\n", peak,
                kMemoryLimitMb, fits ? "PASS" : "FAIL");
    return pass && fits ? 0 : 1;
}
