// SPDX-License-Identifier: GPL-3.0-or-later
// Kept downloads at their largest: keeping one as a reception ends, exporting one with
// collatrix-cli, opening one in the window, and writing its CSV whole, each against its target.
// Exits with 1 when a target is missed. The temporary folders should be on the disk the home folder
// is on, so that the sync of a kept file costs what it costs there.
#include "app/mainwindow.h"
#include "benchtiming.h"
#include "data/collatrix.h"
#include "services/keptfolder.h"
#include "format/atomicfile.h"
#include "format/csvwriter.h"
#include "format/keptdownload.h"
#include "format/zrdata.h"
#include "portsfolder.h"
#include "programfolder.h"
#include "testerprocess.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>

namespace
{

using bench::measure;
using bench::secondsOf;

constexpr double kOpenTarget = 1.5;
constexpr double kExportTarget = 1.0;
constexpr double kKeepTarget = 0.05;

// The receive ring holds 2,499,999 bytes; a layout-2 memory is the 11-byte header and whole
// 256-byte blocks, so 9765 blocks (2,499,851 bytes) is the most it can be. 240 groups of 1302
// readings fill them to the last record.
const QStringList kLargest{"--layout", "2", "--groups", "240", "--cells", "1302", "--seed", "7"};

CKeptDownload largestDownload()
{
    CKeptDownload download;
    download.time = QDateTime::currentDateTime();
    download.port = QStringLiteral("COM3");
    download.programVersion = QStringLiteral(COLLATRIX_VERSION);
    download.outcome = QStringLiteral("completed");
    download.extended = false;
    download.dump = TesterProcess::memory(kLargest);
    return download;
}

// The end of a reception: the kept file written, synced and renamed into place.
double keepOnce(const CKeptFolder &folder, const CKeptDownload &download, QString *kept)
{
    QString problem;
    const double seconds = secondsOf([&] {
        *kept = folder.keep(download, &problem);
        return !kept->isEmpty();
    });
    if (seconds < 0)
        std::fprintf(stderr, "bench_kept: keep: %s\n", qPrintable(problem));
    return seconds;
}

// A fresh window each time, shown and settled first, as when the program starts with the file.
double openOnce(const QString &kept)
{
    MainWindow window;
    window.show();
    QApplication::processEvents();
    return secondsOf([&] { return window.openDownload(kept); });
}

// The window reports an unreadable file in a modal message, which would wait here for ever.
bool readable(const QString &kept)
{
    CKeptDownload download;
    CZRData data;
    QMap<int, AScanEntry> aScans;
    QString problem;
    if (!download.readFile(kept, false, &problem) || !download.decode(&data, &aScans, &problem)) {
        std::fprintf(stderr, "bench_kept: %s: %s\n", qPrintable(kept), qPrintable(problem));
        return false;
    }
    return true;
}

// The median of five runs of the work, in seconds; negative when one failed.
double medianSeconds(const std::function<bool()> &work)
{
    QList<double> seconds;
    for (int n = 0; n < 5; ++n)
        seconds.append(secondsOf(work));
    std::sort(seconds.begin(), seconds.end());
    return seconds.first() < 0 ? -1.0 : seconds.at(2);
}

// The largest CSV written whole through a temporary file, synced and renamed, against the same
// bytes written straight into the file: at most 10 % more.
bool measureCsv(const CZRData &data, const QString &folder)
{
    const CCsvWriter writer;
    const QList<int> rows = CCsvWriter::allRows(data);
    const auto content = [&](QIODevice &out) { return writer.write(out, data, rows); };
    const double straight = medianSeconds([&] {
        QFile file(folder + QStringLiteral("/straight.csv"));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && content(file);
    });
    std::printf("csv straight into the file: median %.1f ms\n", straight * 1e3);
    return straight > 0 && measure("csv", straight * 1.10, [&] {
               QString problem;
               return secondsOf([&] {
                   return CAtomicFile::write(folder + QStringLiteral("/whole.csv"), content,
                                             &problem);
               });
           });
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const TestProgramFolder program;
    const TestPortsFolder ports;
    const CKeptDownload download = largestDownload();
    CZRData data;
    if (!TesterProcess::decode(&data, download.dump, false)) {
        std::fprintf(stderr, "bench_kept: collatrix-tester wrote no decodable dump\n");
        return 1;
    }
    std::printf("largest layout-2 dump: %lld bytes, %d rows\n", qint64(download.dump.size()),
                data.totalCount());
    const CKeptFolder folder(program.path() + QStringLiteral("/kept"));
    QString kept;
    bool pass = measure("keep", kKeepTarget, [&] { return keepOnce(folder, download, &kept); });
    if (kept.isEmpty() || !readable(kept))
        return 1;
    const QString csv = program.path() + QStringLiteral("/results.csv");
    pass = measure("export", kExportTarget,
                   [&] { return bench::cliSeconds(QStringLiteral("export"), kept, csv); }) &&
           pass;
    pass = measure("open", kOpenTarget, [&] { return openOnce(kept); }) && pass;
    pass = measureCsv(data, program.path()) && pass;
    return pass ? 0 : 1;
}
