// SPDX-License-Identifier: GPL-3.0-or-later
#include "keptcommands.h"

#include "clioptions.h"

#include "report/reportwriter.h"
#include "ascan/ascanwindow.h"
#include "format/csvwriter.h"
#include "format/keptdownload.h"
#include "data/keptfolder.h"
#include "format/zrdata.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

bool exportResults(const QString &path, const CZRData &data, const QMap<int, AScanEntry> &aScans,
                   QChar decimalSeparator)
{
    if (!writeResults(path, data, decimalSeparator))
        return false;
    if (!data.hasAScans)
        return true;
    AScanWindow window;
    window.setup();
    const QFileInfo info(path);
    window.savePictures(info.path() + QLatin1Char('/') + info.baseName() + QLatin1Char('/'), data,
                        CCsvWriter::allRows(data),
                        [&aScans](int row) { return aScanOfRow(aScans, row); });
    return true;
}

namespace
{

// FILE, a kept download or a dump, decoded, with the options of the command that reads it.
struct ReadFile {
    CCliOptions opt;
    QChar separator;
    CKeptDownload kept;
    CZRData data;
    QMap<int, AScanEntry> aScans;

    // CliOk, or the status after naming the fault.
    int read(const QStringList &args, const QString &command)
    {
        QByteArray bytes;
        if (!opt.parseFileCommand(args, &separator) || !opt.readInput(&bytes))
            return CliUsage;
        if (output().isEmpty()) {
            printError(QStringLiteral("%1 needs -o OUTPUT").arg(command));
            return CliUsage;
        }
        QString problem;
        if (!kept.fromBytes(bytes, opt.extended(), &problem) ||
            !kept.decode(&data, &aScans, &problem)) {
            printError(QStringLiteral("%1: %2").arg(opt.positional.first(), problem));
            return CliFailed;
        }
        return CliOk;
    }
    QString output() const { return opt.values.value(QStringLiteral("-o")); }
};

} // namespace

int runExportCommand(const QStringList &args)
{
    ReadFile file;
    const int status = file.read(args, QStringLiteral("export"));
    if (status != CliOk)
        return status;
    return exportResults(file.output(), file.data, file.aScans, file.separator) ? CliOk : CliFailed;
}

int runReportCommand(const QStringList &args)
{
    ReadFile file;
    const int status = file.read(args, QStringLiteral("report"));
    if (status != CliOk)
        return status;
    CReportWriter::Source source;
    source.data = &file.data;
    source.rows = CCsvWriter::allRows(file.data);
    source.aScanOf = [&file](int row) { return aScanOfRow(file.aScans, row); };
    source.time = file.kept.time;
    source.port = file.kept.port;
    source.outcome = file.kept.outcome;
    CReportWriter report(source, QStringLiteral(COLLATRIX_VERSION));
    report.format.decimalSeparator = file.separator;
    QString problem;
    if (!report.write(file.output(), &problem)) {
        printError(QStringLiteral("cannot write %1: %2").arg(file.output(), problem));
        return CliFailed;
    }
    std::fprintf(stderr, "%d pages written to %s\n", report.pageCount(), qPrintable(file.output()));
    return CliOk;
}

int runKeptCommand(const QStringList &args)
{
    CCliOptions opt;
    if (!opt.parse(args, {QStringLiteral("--downloads-dir")}, {}, 0))
        return CliUsage;
    const CKeptFolder folder(
        opt.values.value(QStringLiteral("--downloads-dir"), CKeptFolder::defaultPath()));
    for (const QString &path : folder.files()) {
        CKeptDownload kept;
        CZRData data;
        QMap<int, AScanEntry> aScans;
        QString problem;
        if (!kept.readFile(path, false, &problem) || !kept.decode(&data, &aScans, &problem)) {
            std::printf("%-19s  %s  (%s)\n", "-", qPrintable(QDir::toNativeSeparators(path)),
                        qPrintable(problem));
            continue;
        }
        std::printf("%s  %-6s %-10s %7d rows  %3d A-scans  %-10s %s\n",
                    qPrintable(kept.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                    qPrintable(kept.port), qPrintable(data.deviceType), data.totalCount(),
                    int(kept.aScans.size()), qPrintable(kept.outcome),
                    qPrintable(QDir::toNativeSeparators(path)));
    }
    return CliOk;
}
