// SPDX-License-Identifier: GPL-3.0-or-later
#include "duecommand.h"

#include "archivecommands.h"
#include "clioptions.h"

#include "archive/archiveset.h"
#include "services/duelist.h"
#include "services/evaluationsettings.h"

#include <QIODevice>

namespace
{

const QString kWithin = QStringLiteral("--within");
const QString kCalendar = QStringLiteral("--ics");
const QString kOutput = QStringLiteral("-o");

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    return writeOutput(path, [&bytes](QIODevice &out) { return out.write(bytes) == bytes.size(); });
}

} // namespace

int runDueCommand(const QStringList &args)
{
    CCliOptions opt;
    if (!opt.parse(args, {kArchiveOption, kWithin, kCalendar, kOutput}, {}, 0))
        return CliUsage;
    bool ok = true;
    const int days = opt.values.value(kWithin, QStringLiteral("0")).toInt(&ok);
    if (!ok || days < 0) {
        printError(QStringLiteral("--within takes a number of days, 0 or more"));
        return CliUsage;
    }
    const auto set = openArchives(opt.values.value(kArchiveOption));
    if (!set)
        return CliFailed;
    QList<DueLine> lines;
    QString problem;
    if (!CDueList::build(set->chosen(), &lines, &problem)) {
        printError(problem);
        return CliFailed;
    }
    if (opt.values.contains(kWithin))
        lines = CDueList::within(lines, days, CEvaluationSettings::today());
    const bool calendar = !opt.values.contains(kCalendar) ||
                          writeBytes(opt.values.value(kCalendar),
                                     CDueList::calendar(lines, set->chosen().location().text(),
                                                        QDateTime::currentDateTimeUtc()));
    return calendar && writeBytes(opt.values.value(kOutput), CDueList::csv(lines)) ? CliOk
                                                                                   : CliFailed;
}
