// SPDX-License-Identifier: GPL-3.0-or-later
#include "keptcommands.h"

#include "archivecommands.h"
#include "clioptions.h"

#include "archive/archiveset.h"
#include "evaluation/evaluation.h"
#include "services/archiveevaluation.h"
#include "services/evaluationsettings.h"
#include "services/objectparticulars.h"

#include "ascan/ascanwindow.h"
#include "format/csvwriter.h"
#include "format/keptdownload.h"
#include "format/zrdata.h"
#include "report/reportwriter.h"
#include "services/keptfolder.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <optional>

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
    QStringList failures;
    if (window.savePictures(
            info.path() + QLatin1Char('/') + info.baseName() + QLatin1Char('/'), data,
            CCsvWriter::allRows(data), [&aScans](int row) { return aScanOfRow(aScans, row); },
            &failures))
        return true;
    for (const QString &failure : failures)
        printError(QStringLiteral("cannot write %1").arg(failure));
    return false;
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
    int read(const QStringList &args, const QString &command, const QSet<QString> &more = {})
    {
        QByteArray bytes;
        if (!opt.parseFileCommand(args, &separator, more) || !opt.readInput(&bytes))
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

namespace
{

const QString kField = QStringLiteral("--field");

// --field KEY=VALUE, each; false after naming the fault.
bool readFields(const CCliOptions &opt, QMap<QString, QString> *fields)
{
    for (const QString &field : opt.allValues.value(kField)) {
        const qsizetype equals = field.indexOf(QLatin1Char('='));
        if (equals < 1) {
            printError(QStringLiteral("--field needs KEY=VALUE, not '%1'").arg(field));
            return false;
        }
        fields->insert(field.left(equals).trimmed(), field.mid(equals + 1));
    }
    return true;
}

// What the archive adds to the report: the particulars remembered for the download's objects
// and, with limits set, the evaluation. An archive out of reach is said and left out.
void addFromArchive(const QString &url, const ReadFile &file, CReportWriter::Source *source,
                    std::optional<CEvaluation> *evaluation)
{
    const auto set = openArchives(url);
    if (!set)
        return;
    QString problem;
    source->particulars = CObjectParticulars::of(set->chosen(), file.data, &problem);
    EvaluationInput input;
    if (problem.isEmpty() && file.kept.time.isValid() &&
        CArchiveEvaluation::input(set->chosen(), file.data, file.kept.time, &input, &problem) &&
        CArchiveEvaluation::limitsApply(input)) {
        evaluation->emplace(input);
        source->evaluation = &**evaluation;
        for (int group : CObjectParticulars::groupsOf(file.data))
            source->mapWidths.insert(group, CEvaluationSettings::mapWidth(group));
    }
    if (!problem.isEmpty())
        printError(problem);
}

} // namespace

int runReportCommand(const QStringList &args)
{
    ReadFile file;
    const int status = file.read(args, QStringLiteral("report"), {kField, kArchiveOption});
    QMap<QString, QString> fields;
    if (status != CliOk)
        return status;
    if (!readFields(file.opt, &fields))
        return CliUsage;
    CReportWriter::Source source;
    std::optional<CEvaluation> evaluation;
    addFromArchive(file.opt.values.value(kArchiveOption), file, &source, &evaluation);
    source.particulars.insert(fields);
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
