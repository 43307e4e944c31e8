// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivecommands.h"

#include "clioptions.h"

#include "archive/archiveset.h"
#include "format/csvwriter.h"
#include "format/keptdownload.h"

#include <QDir>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace
{

const QString kNominal = QStringLiteral("--nominal");
const QString kMinimum = QStringLiteral("--minimum");
const QString kWarning = QStringLiteral("--warning");

int listDownloads(CArchive &archive)
{
    QString problem;
    for (const ArchiveDownload &d : archive.downloads(false, &problem))
        std::printf("%s;%s;%d;%d;%s;%s\n", qPrintable(isoTime(d.time)), qPrintable(d.tester),
                    d.results, d.aScans, qPrintable(d.outcome),
                    qPrintable(QDir::toNativeSeparators(d.file)));
    if (!problem.isEmpty())
        printError(problem);
    return problem.isEmpty() ? CliOk : CliFailed;
}

bool number(const QString &text, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    if (!ok || *value < 1)
        printError(QStringLiteral("'%1' is not a group or cell number").arg(text));
    return ok && *value >= 1;
}

int showHistory(CArchive &archive, const CCliOptions &opt)
{
    CCsvWriter writer;
    int group = 0;
    int cell = 0;
    if (opt.positional.size() != 3 || !opt.decimalSeparator(&writer.decimalSeparator) ||
        !number(opt.positional.at(1), &group) || !number(opt.positional.at(2), &cell))
        return CliUsage;
    // A point unless asked otherwise: the lines are for programs as much as for people.
    if (!opt.values.contains(QStringLiteral("--decimal-separator")))
        writer.decimalSeparator = QLatin1Char('.');
    QString problem;
    for (const ArchiveReading &r : archive.history(group, cell, &problem))
        std::printf("%s;%d;%d;%s;%s\n", qPrintable(isoTime(r.time)), r.record.group, r.record.cell,
                    qPrintable(writer.resultText(r.record)),
                    qPrintable(writer.unitText(r.record.unit)));
    if (!problem.isEmpty())
        printError(problem);
    return problem.isEmpty() ? CliOk : CliFailed;
}

// The name applies from the newest download on, the one it was given at.
int nameGroup(CArchive &archive, const CCliOptions &opt)
{
    int group = 0;
    if (opt.positional.size() != 3 || !number(opt.positional.at(1), &group))
        return CliUsage;
    QString problem;
    QDateTime from = archive.newestTime(&problem);
    if (!from.isValid())
        from = QDateTime::currentDateTime();
    if (!problem.isEmpty() || !archive.nameGroup(group, opt.positional.at(2), from, &problem)) {
        printError(problem);
        return CliFailed;
    }
    return CliOk;
}

void drawImportProgress(int done, int total, const QString &)
{
    if (!isatty(STDERR_FILENO))
        return;
    std::fprintf(stderr, "\r%d of %d files", done, total);
    std::fflush(stderr);
}

// A line per file for a program that watches the import.
void writeImportProgress(int done, int total, const QString &path)
{
    std::fprintf(stderr, "%d of %d files: %s\n", done, total,
                 qPrintable(QDir::toNativeSeparators(path)));
    std::fflush(stderr);
}

int import(CArchiveSet &set, const CCliOptions &opt)
{
    if (opt.positional.size() < 2)
        return CliUsage;
    const bool lines = opt.flags.contains(QStringLiteral("--progress"));
    const CArchiveSet::Tally tally =
        set.import(opt.positional.mid(1), lines ? writeImportProgress : drawImportProgress);
    if (!lines && isatty(STDERR_FILENO))
        std::fputc('\n', stderr);
    for (const QString &problem : tally.problems)
        printError(problem);
    std::fprintf(stderr, "%d recorded, %d already in the archive, %d not recorded\n",
                 tally.recorded, tally.known,
                 int(CArchiveSet::filesOf(opt.positional.mid(1)).size()) - tally.recorded -
                     tally.known);
    return tally.problems.isEmpty() ? CliOk : CliFailed;
}

int sync(CArchiveSet &set)
{
    int brought = 0;
    QString problem;
    const bool done = set.sync(&brought, &problem);
    if (!done)
        printError(problem);
    std::fprintf(stderr, "%d downloads brought to the shared archive\n", brought);
    return done ? CliOk : CliFailed;
}

bool limitValue(const CCliOptions &opt, const QString &option, double *value)
{
    bool ok = false;
    *value = opt.values.value(option, QStringLiteral("0")).toDouble(&ok);
    if (!ok || *value < 0)
        printError(
            QStringLiteral("%1 needs a thickness, not '%2'").arg(option, opt.values.value(option)));
    return ok && *value >= 0;
}

// Every setting of the group's limits, oldest first: time;nominal;minimum;warning.
int showLimits(CArchive &archive, int group)
{
    QString problem;
    for (const ArchiveLimits &l : archive.limitsHistory(group, &problem))
        std::printf("%s;%s;%s;%s\n", qPrintable(isoTime(l.from)),
                    qPrintable(QString::number(l.nominal)), qPrintable(QString::number(l.minimum)),
                    qPrintable(QString::number(l.warning)));
    if (!problem.isEmpty())
        printError(problem);
    return problem.isEmpty() ? CliOk : CliFailed;
}

// Sets the limits from now on; without values, lists the settings so far.
int setLimits(CArchive &archive, const CCliOptions &opt)
{
    ArchiveLimits limits;
    if (opt.positional.size() != 2 || !number(opt.positional.at(1), &limits.group))
        return CliUsage;
    const bool nominal = opt.values.contains(kNominal);
    const bool minimum = opt.values.contains(kMinimum);
    if (!nominal && !minimum && !opt.values.contains(kWarning))
        return showLimits(archive, limits.group);
    if (!nominal || !minimum) {
        printError(QStringLiteral("archive limits needs --nominal and --minimum"));
        return CliUsage;
    }
    if (!limitValue(opt, kNominal, &limits.nominal) ||
        !limitValue(opt, kMinimum, &limits.minimum) || !limitValue(opt, kWarning, &limits.warning))
        return CliUsage;
    if (limits.minimum >= limits.nominal) {
        printError(QStringLiteral("the minimum must be below the nominal thickness"));
        return CliUsage;
    }
    limits.from = QDateTime::currentDateTime();
    QString problem;
    if (!archive.setLimits(limits, &problem)) {
        printError(problem);
        return CliFailed;
    }
    return CliOk;
}

} // namespace

std::unique_ptr<CArchiveSet> openArchives(const QString &url)
{
    CArchiveLocation location;
    QString problem;
    if (!CArchiveLocation::chosen(url, &location, &problem)) {
        printError(problem);
        return nullptr;
    }
    auto set = std::make_unique<CArchiveSet>(location);
    const bool opened = set->open(&problem);
    if (!problem.isEmpty())
        printError(problem);
    return opened ? std::move(set) : nullptr;
}

QString isoTime(const QDateTime &time)
{
    const int offset = time.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           QStringLiteral("%1%2:%3")
               .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

int runArchiveCommand(const QStringList &args)
{
    CCliOptions opt;
    if (!opt.parse(
            args,
            {kArchiveOption, QStringLiteral("--decimal-separator"), kNominal, kMinimum, kWarning},
            {QStringLiteral("--progress")}, 1000))
        return CliUsage;
    const QString action = opt.positional.value(0);
    const QMap<QString, std::function<int(CArchiveSet &)>> actions = {
        {QStringLiteral("list"), [](CArchiveSet &set) { return listDownloads(set.chosen()); }},
        {QStringLiteral("history"),
         [&opt](CArchiveSet &set) { return showHistory(set.chosen(), opt); }},
        {QStringLiteral("name"), [&opt](CArchiveSet &set) { return nameGroup(set.chosen(), opt); }},
        {QStringLiteral("import"), [&opt](CArchiveSet &set) { return import(set, opt); }},
        {QStringLiteral("sync"), [](CArchiveSet &set) { return sync(set); }},
        {QStringLiteral("limits"),
         [&opt](CArchiveSet &set) { return setLimits(set.chosen(), opt); }}};
    if (!actions.contains(action)) {
        printError(QStringLiteral("archive needs list, history, name, import, sync or limits"));
        return CliUsage;
    }
    const auto set = openArchives(opt.values.value(kArchiveOption));
    return set ? actions.value(action)(*set) : CliFailed;
}
