// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivecommands.h"

#include "clioptions.h"
#include "designcommand.h"

#include "archive/archiveset.h"
#include "format/csvwriter.h"
#include "format/keptdownload.h"
#include "services/keptfolder.h"
#include "services/pointnames.h"
#include "services/readingsimport.h"

#include <QDir>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace
{

const QString kNominal = QStringLiteral("--nominal");
const QString kMinimum = QStringLiteral("--minimum");
const QString kWarning = QStringLiteral("--warning");
const QString kReason = QStringLiteral("--reason");

int listDownloads(CArchive &archive)
{
    QString problem;
    for (const ArchiveDownload &d : archive.downloads(false, &problem))
        std::printf("%s;%s;%d;%d;%s;%s\n", qPrintable(CArchive::timeText(d.time)),
                    qPrintable(d.tester), d.results, d.aScans, qPrintable(d.outcome),
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
        std::printf("%s;%d;%d;%s;%s\n", qPrintable(CArchive::timeText(r.time)), r.record.group,
                    r.record.cell, qPrintable(writer.resultText(r.record)),
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
    if (!problem.isEmpty() || !archive.nameGroup(group, opt.positional.at(2), from, &problem,
                                                 opt.values.value(kReason))) {
        printError(problem);
        return CliFailed;
    }
    return CliOk;
}

// Redrawn in place on a terminal only.
void drawCount(int done, int total, const char *what)
{
    if (!isatty(STDERR_FILENO))
        return;
    std::fprintf(stderr, "\r%d of %d %s", done, total, what);
    std::fflush(stderr);
}

void drawImportProgress(int done, int total, const QString &)
{
    drawCount(done, total, "files");
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

// The whole file is read first: one bad line and nothing of it is recorded.
int importReadings(CArchiveSet &set, const CCliOptions &opt)
{
    if (opt.positional.size() != 2)
        return CliUsage;
    const QString path = opt.positional.at(1);
    QStringList lines;
    const CReadingsImport::Outcome outcome =
        CReadingsImport::importFile(path, set, CKeptFolder(), &lines, [](int done, int total) {
            drawCount(done, total, "downloads");
        });
    const bool recorded = outcome == CReadingsImport::Outcome::Recorded;
    if (recorded && isatty(STDERR_FILENO))
        std::fputc('\n', stderr);
    for (const QString &line : lines) {
        if (recorded)
            std::printf("%s\n", qPrintable(line));
        else
            printError(QDir::toNativeSeparators(path) + QStringLiteral(": ") + line);
    }
    switch (outcome) {
    case CReadingsImport::Outcome::Recorded:
        return CliOk;
    case CReadingsImport::Outcome::Unreadable:
        return CliUsage;
    default:
        return CliFailed;
    }
}

int sync(CArchiveSet &set)
{
    int brought = 0;
    QString problem;
    const bool done = set.sync(&brought, &problem);
    if (!done)
        printError(problem);
    std::fprintf(stderr, "%d downloads and decisions brought to the shared archive\n", brought);
    return done ? CliOk : CliFailed;
}

bool thickness(const QString &text, double *value)
{
    bool ok = false;
    *value = text.toDouble(&ok);
    return ok && *value >= 0;
}

// How an option's value is read and stored: false when the text is not one.
using Reader = std::function<bool(const QString &text, QString *value)>;

// An object's setting the command line sets: its option, its key in the archive and what it
// takes.
struct SettingOption {
    QString option;
    QString key;
    QString takes;
    Reader read;
};

Reader oneOf(const QStringList &words)
{
    return [words](const QString &text, QString *value) {
        *value = text;
        return words.contains(text);
    };
}

const QList<SettingOption> &settingOptions()
{
    static const QList<SettingOption> options{
        {QStringLiteral("--tolerance"), QStringLiteral("tolerance"), QStringLiteral("a thickness"),
         [](const QString &text, QString *value) {
             double number = 0;
             const bool ok = thickness(text, &number);
             *value = QString::number(number);
             return ok;
         }},
        {QStringLiteral("--min-interval"), QStringLiteral("min_interval"),
         QStringLiteral("a whole number of days"),
         [](const QString &text, QString *value) {
             bool ok = false;
             const int days = text.toInt(&ok);
             *value = QString::number(days);
             return ok && days >= 1;
         }},
        {QStringLiteral("--rule"), QStringLiteral("rule"),
         QStringLiteral("half-life, vessel, class1, class2 or class3"),
         oneOf({QStringLiteral("half-life"), QStringLiteral("vessel"), QStringLiteral("class1"),
                QStringLiteral("class2"), QStringLiteral("class3")})},
        {QStringLiteral("--rate"), QStringLiteral("rate"), QStringLiteral("lt-st, all or upper"),
         oneOf({QStringLiteral("lt-st"), QStringLiteral("all"), QStringLiteral("upper")})}};
    return options;
}

void badValue(const CCliOptions &opt, const QString &option, const QString &takes)
{
    printError(
        QStringLiteral("%1 needs %2, not '%3'").arg(option, takes, opt.values.value(option)));
}

// The settings given, by key; false after naming a bad value.
bool settingsGiven(const CCliOptions &opt, QMap<QString, QString> *settings)
{
    for (const SettingOption &s : settingOptions()) {
        if (!opt.values.contains(s.option))
            continue;
        QString value;
        if (!s.read(opt.values.value(s.option), &value)) {
            badValue(opt, s.option, s.takes);
            return false;
        }
        settings->insert(s.key, value);
    }
    return true;
}

// The option's thickness, or the current one when it is not given; false after naming a bad one.
bool limitValue(const CCliOptions &opt, const QString &option, double current, double *value)
{
    *value = current;
    if (!opt.values.contains(option) || thickness(opt.values.value(option), value))
        return true;
    badValue(opt, option, QStringLiteral("a thickness"));
    return false;
}

// The group's limits with the values given, the others as they are; CliOk, or the status after
// naming the fault.
int limitsGiven(CArchive &archive, const CCliOptions &opt, ArchiveLimits *limits)
{
    QString problem;
    const QMap<int, ArchiveLimits> latest = archive.latestLimits(&problem);
    if (!problem.isEmpty()) {
        printError(problem);
        return CliFailed;
    }
    QStringList missing;
    for (const QString &option : {kNominal, kMinimum}) {
        if (!latest.contains(limits->group) && !opt.values.contains(option))
            missing << option;
    }
    if (!missing.isEmpty()) {
        printError(QStringLiteral("group %1 has no limits yet: give %2 too")
                       .arg(limits->group)
                       .arg(missing.join(QStringLiteral(" and "))));
        return CliUsage;
    }
    const ArchiveLimits current = latest.value(limits->group);
    if (!limitValue(opt, kNominal, current.nominal, &limits->nominal) ||
        !limitValue(opt, kMinimum, current.minimum, &limits->minimum) ||
        !limitValue(opt, kWarning, current.warning, &limits->warning))
        return CliUsage;
    if (limits->minimum >= limits->nominal) {
        printError(QStringLiteral("the minimum must be below the nominal thickness"));
        return CliUsage;
    }
    return CliOk;
}

// Every setting of the group's limits, oldest first: time;nominal;minimum;warning.
int showLimits(CArchive &archive, int group)
{
    QString problem;
    for (const ArchiveLimits &l : archive.limitsHistory(group, &problem))
        std::printf("%s;%s;%s;%s\n", qPrintable(CArchive::timeText(l.from)),
                    qPrintable(QString::number(l.nominal)), qPrintable(QString::number(l.minimum)),
                    qPrintable(QString::number(l.warning)));
    if (!problem.isEmpty())
        printError(problem);
    return problem.isEmpty() ? CliOk : CliFailed;
}

// Sets the limits and settings given from now on, a value not given staying as it is; without
// values, lists the limits so far.
// A minimum typed replaces the one the design data gave.
bool dropDesign(CArchive &archive, int group, QMap<QString, QString> *settings)
{
    QString problem;
    const QMap<int, QMap<QString, ArchiveSetting>> latest = archive.latestSettings(&problem);
    if (!problem.isEmpty())
        printError(problem);
    else if (!latest.value(group).value(QStringLiteral("design")).value.isEmpty())
        settings->insert(QStringLiteral("design"), QString());
    return problem.isEmpty();
}

int setLimits(CArchive &archive, const CCliOptions &opt)
{
    ArchiveLimits limits;
    QMap<QString, QString> settings;
    if (opt.positional.size() != 2 || !number(opt.positional.at(1), &limits.group) ||
        !settingsGiven(opt, &settings))
        return CliUsage;
    const bool newLimits = opt.values.contains(kNominal) || opt.values.contains(kMinimum) ||
                           opt.values.contains(kWarning);
    if (!newLimits && settings.isEmpty()) {
        if (!opt.values.contains(kReason))
            return showLimits(archive, limits.group);
        printError(QStringLiteral("--reason goes with a value to set"));
        return CliUsage;
    }
    if (const int status = newLimits ? limitsGiven(archive, opt, &limits) : CliOk)
        return status;
    if (opt.values.contains(kMinimum) && !dropDesign(archive, limits.group, &settings))
        return CliFailed;
    limits.from = QDateTime::currentDateTime();
    limits.reason = opt.values.value(kReason);
    QString problem;
    if ((newLimits && !archive.setLimits(limits, &problem)) ||
        (!settings.isEmpty() &&
         !archive.setSettings(limits.group, settings, limits.from, limits.reason, &problem))) {
        printError(problem);
        return CliFailed;
    }
    return CliOk;
}

// What decides the figures of the group, or of every group, oldest first:
// time;user;group;what;old;new;reason.
int showLog(CArchive &archive, const CCliOptions &opt)
{
    int group = 0;
    if (opt.positional.size() > 2 ||
        (opt.positional.size() == 2 && !number(opt.positional.at(1), &group)))
        return CliUsage;
    QString problem;
    for (const ArchiveLogEntry &e : archive.log(group, &problem)) {
        const QStringList fields{CArchive::timeText(e.at),      CCsvWriter::field(e.user),
                                 QString::number(e.group),      CCsvWriter::field(e.what),
                                 CCsvWriter::field(e.oldValue), CCsvWriter::field(e.newValue),
                                 CCsvWriter::field(e.reason)};
        std::printf("%s\n", qPrintable(fields.join(QLatin1Char(';'))));
    }
    if (!problem.isEmpty())
        printError(problem);
    return problem.isEmpty() ? CliOk : CliFailed;
}

// The latest name of every named point of the group (or of all): group;cell;name;location.
int listPoints(CArchive &archive, int group)
{
    QString problem;
    for (const ArchivePointName &p : archive.pointNames(group, &problem))
        std::printf("%d;%d;%s;%s\n", p.group, p.cell, qPrintable(CCsvWriter::field(p.name)),
                    qPrintable(CCsvWriter::field(p.location)));
    if (!problem.isEmpty())
        printError(problem);
    return problem.isEmpty() ? CliOk : CliFailed;
}

// Names the points of the list from now on, or none of them when a line is bad.
int importPoints(CArchive &archive, const CCliOptions &opt)
{
    CCliOptions file;
    file.positional = opt.positional.mid(2);
    QByteArray bytes;
    if (file.positional.size() != 1 || !file.readInput(&bytes))
        return CliUsage;
    int changed = 0;
    QString problem;
    if (!CPointNames::import(archive, bytes, opt.values.value(kReason), &changed, &problem)) {
        printError(QStringLiteral("%1: %2").arg(file.positional.first(), problem));
        return CliFailed;
    }
    std::fprintf(stderr, "%d points named anew\n", changed);
    return CliOk;
}

int points(CArchive &archive, const CCliOptions &opt)
{
    if (opt.positional.value(1) == QLatin1String("import"))
        return importPoints(archive, opt);
    int group = 0;
    if (opt.positional.size() > 2 ||
        (opt.positional.size() == 2 && !number(opt.positional.at(1), &group)))
        return CliUsage;
    return listPoints(archive, group);
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

int runArchiveCommand(const QStringList &args)
{
    CCliOptions opt;
    QSet<QString> valueOptions{kArchiveOption, QStringLiteral("--decimal-separator"),
                               kNominal,       kMinimum,
                               kWarning,       kReason};
    for (const SettingOption &s : settingOptions())
        valueOptions.insert(s.option);
    valueOptions.unite(designOptions());
    if (!opt.parse(args, valueOptions, {QStringLiteral("--progress")}, 1000))
        return CliUsage;
    const QString action = opt.positional.value(0);
    const QMap<QString, std::function<int(CArchiveSet &)>> actions = {
        {QStringLiteral("list"), [](CArchiveSet &set) { return listDownloads(set.chosen()); }},
        {QStringLiteral("history"),
         [&opt](CArchiveSet &set) { return showHistory(set.chosen(), opt); }},
        {QStringLiteral("name"), [&opt](CArchiveSet &set) { return nameGroup(set.chosen(), opt); }},
        {QStringLiteral("import"), [&opt](CArchiveSet &set) { return import(set, opt); }},
        {QStringLiteral("import-readings"),
         [&opt](CArchiveSet &set) { return importReadings(set, opt); }},
        {QStringLiteral("sync"), [](CArchiveSet &set) { return sync(set); }},
        {QStringLiteral("limits"),
         [&opt](CArchiveSet &set) { return setLimits(set.chosen(), opt); }},
        {QStringLiteral("log"), [&opt](CArchiveSet &set) { return showLog(set.chosen(), opt); }},
        {QStringLiteral("design"),
         [&opt](CArchiveSet &set) { return setDesign(set.chosen(), opt); }},
        {QStringLiteral("points"), [&opt](CArchiveSet &set) { return points(set.chosen(), opt); }}};
    if (!actions.contains(action)) {
        printError(QStringLiteral(
            "archive needs list, history, name, import, import-readings, sync, limits, log, "
            "design or points"));
        return CliUsage;
    }
    const auto set = openArchives(opt.values.value(kArchiveOption));
    return set ? actions.value(action)(*set) : CliFailed;
}
