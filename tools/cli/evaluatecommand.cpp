// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluatecommand.h"

#include "archivecommands.h"
#include "clioptions.h"

#include "archive/archiveset.h"
#include "evaluation/evaluation.h"
#include "evaluation/evaluationcsvwriter.h"
#include "format/keptdownload.h"
#include "format/zrdata.h"
#include "services/archiveevaluation.h"

#include <QFile>
#include <QFileInfo>

namespace
{

// The download to evaluate and its time.
struct Download {
    CKeptDownload kept;
    CZRData data;

    bool decode(const QByteArray &bytes, bool extended, const QString &name)
    {
        QMap<int, AScanEntry> aScans;
        QString problem;
        if (kept.fromBytes(bytes, extended, &problem) && kept.decode(&data, &aScans, &problem))
            return true;
        printError(QStringLiteral("%1: %2").arg(name, problem));
        return false;
    }
};

// FILE, a kept download or a bare dump, which knows no time but its file's.
bool readFile(const CCliOptions &opt, Download *download)
{
    QByteArray bytes;
    if (!opt.readInput(&bytes) || !download->decode(bytes, opt.extended(), opt.positional.first()))
        return false;
    if (download->kept.bareDump)
        download->kept.time = QFileInfo(opt.positional.first()).lastModified();
    return true;
}

// The newest download of the archive, from its kept file or, when that is not on this machine,
// from the bytes a shared archive holds.
bool readNewest(CArchive &archive, Download *download)
{
    QString problem;
    const QList<ArchiveDownload> list = archive.downloads(false, &problem);
    if (list.isEmpty()) {
        printError(problem.isEmpty() ? QStringLiteral("the archive holds no download") : problem);
        return false;
    }
    const ArchiveDownload &newest = list.first();
    QFile file(newest.file);
    const QByteArray bytes = file.open(QIODevice::ReadOnly)
                                 ? file.readAll()
                                 : archive.keptBytes(newest.sha256, &problem);
    if (!download->decode(bytes, newest.protocol == QLatin1String("extended"), newest.file))
        return false;
    download->kept.time = newest.time;
    return true;
}

bool writeEvaluation(const QString &path, const EvaluationInput &input, QChar separator)
{
    CEvaluationCsvWriter writer;
    writer.results.decimalSeparator = separator;
    const CEvaluation evaluation(input);
    return writeOutput(path, [&](QIODevice &out) { return writer.write(out, evaluation); });
}

} // namespace

int runEvaluateCommand(const QStringList &args)
{
    CCliOptions opt;
    QChar separator;
    if (!opt.parseFileCommand(args, &separator, {kArchiveOption}))
        return CliUsage;
    const auto set = openArchives(opt.values.value(kArchiveOption));
    if (!set)
        return CliFailed;
    Download download;
    if (opt.positional.isEmpty() ? !readNewest(set->chosen(), &download)
                                 : !readFile(opt, &download))
        return opt.positional.isEmpty() ? CliFailed : CliUsage;
    EvaluationInput input;
    QString problem;
    if (!CArchiveEvaluation::input(set->chosen(), download.data, download.kept.time, &input,
                                   &problem)) {
        printError(problem);
        return CliFailed;
    }
    return writeEvaluation(opt.values.value(QStringLiteral("-o")), input, separator) ? CliOk
                                                                                     : CliFailed;
}
