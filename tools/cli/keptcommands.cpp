#include "keptcommands.h"

#include "clioptions.h"

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
    window.setup(AScanWindow::Labels());
    const QFileInfo info(path);
    window.savePictures(info.path() + QLatin1Char('/') + info.baseName() + QLatin1Char('/'), data,
                        CCsvWriter::allRows(data), [&aScans](int row) -> const AScanEntry * {
                            const auto entry = aScans.constFind(row);
                            return entry == aScans.cend() ? nullptr : &*entry;
                        });
    return true;
}

int runExportCommand(const QStringList &args)
{
    CCliOptions opt;
    QChar separator;
    QByteArray bytes;
    if (!opt.parseFileCommand(args, &separator) || !opt.readInput(&bytes))
        return CliUsage;
    const QString input = opt.positional.first();
    const QString output = opt.values.value(QStringLiteral("-o"));
    if (output.isEmpty()) {
        printError(QStringLiteral("export needs -o RESULTS.csv"));
        return CliUsage;
    }
    CKeptDownload kept;
    CZRData data;
    QMap<int, AScanEntry> aScans;
    QString problem;
    if (!kept.fromBytes(bytes, opt.extended(), &problem) ||
        !kept.decode(&data, &aScans, &problem)) {
        printError(QStringLiteral("%1: %2").arg(input, problem));
        return CliFailed;
    }
    return exportResults(output, data, aScans, separator) ? CliOk : CliFailed;
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
