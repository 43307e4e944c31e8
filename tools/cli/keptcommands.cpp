#include "keptcommands.h"

#include "clioptions.h"

#include "app/reportwriter.h"
#include "ascan/ascanwindow.h"
#include "data/csvwriter.h"
#include "data/keptdownload.h"
#include "data/keptfolder.h"
#include "data/zrdata.h"

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
                        CCsvWriter::allRows(data), [&aScans](int row) -> const AScanEntry * {
                            const auto entry = aScans.constFind(row);
                            return entry == aScans.cend() ? nullptr : &*entry;
                        });
    return true;
}

namespace
{

// FILE, a kept download or a dump, decoded into data and aScans. CliOk, or the status after
// naming the fault.
int readResults(const QStringList &args, const QString &command, CCliOptions *opt, QChar *separator,
                CKeptDownload *kept, CZRData *data, QMap<int, AScanEntry> *aScans)
{
    QByteArray bytes;
    if (!opt->parseFileCommand(args, separator) || !opt->readInput(&bytes))
        return CliUsage;
    if (opt->values.value(QStringLiteral("-o")).isEmpty()) {
        printError(QStringLiteral("%1 needs -o OUTPUT").arg(command));
        return CliUsage;
    }
    QString problem;
    if (!kept->fromBytes(bytes, opt->extended(), &problem) ||
        !kept->decode(data, aScans, &problem)) {
        printError(QStringLiteral("%1: %2").arg(opt->positional.first(), problem));
        return CliFailed;
    }
    return CliOk;
}

} // namespace

int runExportCommand(const QStringList &args)
{
    CCliOptions opt;
    QChar separator;
    CKeptDownload kept;
    CZRData data;
    QMap<int, AScanEntry> aScans;
    const int status =
        readResults(args, QStringLiteral("export"), &opt, &separator, &kept, &data, &aScans);
    if (status != CliOk)
        return status;
    return exportResults(opt.values.value(QStringLiteral("-o")), data, aScans, separator)
               ? CliOk
               : CliFailed;
}

int runReportCommand(const QStringList &args)
{
    CCliOptions opt;
    QChar separator;
    CKeptDownload kept;
    CZRData data;
    QMap<int, AScanEntry> aScans;
    const int status =
        readResults(args, QStringLiteral("report"), &opt, &separator, &kept, &data, &aScans);
    if (status != CliOk)
        return status;
    CReportWriter::Source source;
    source.data = &data;
    source.rows = CCsvWriter::allRows(data);
    source.aScanOf = [&aScans](int row) -> const AScanEntry * {
        const auto entry = aScans.constFind(row);
        return entry == aScans.cend() ? nullptr : &*entry;
    };
    source.time = kept.time;
    source.port = kept.port;
    source.outcome = kept.outcome;
    CReportWriter report(source, QStringLiteral(COLLATRIX_VERSION));
    report.format.decimalSeparator = separator;
    const QString output = opt.values.value(QStringLiteral("-o"));
    QString problem;
    if (!report.write(output, &problem)) {
        printError(QStringLiteral("cannot write %1: %2").arg(output, problem));
        return CliFailed;
    }
    std::fprintf(stderr, "%d pages written to %s\n", report.pageCount(), qPrintable(output));
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
