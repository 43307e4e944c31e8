// SPDX-License-Identifier: GPL-3.0-or-later
#include "reviewcommand.h"

#include "archivecommands.h"
#include "clioptions.h"

#include "archive/archiveset.h"
#include "evaluation/evaluationcsvwriter.h"
#include "format/csvwriter.h"
#include "services/archiveevaluation.h"
#include "services/reviewservice.h"

#include <cstdio>

namespace
{

const QString kReason = QStringLiteral("--reason");

int list(CArchive &archive)
{
    CEvaluationCsvWriter texts;
    // A point, as archive history writes results.
    texts.results.decimalSeparator = QLatin1Char('.');
    QString problem;
    for (const ReviewLine &line : CReviewService::list(archive, &problem)) {
        const ArchiveDecision &d = line.decision;
        const QString by = d.role.isEmpty() ? d.by : QStringLiteral("%1 (%2)").arg(d.by, d.role);
        const QStringList fields{CArchive::timeText(line.reading.time),
                                 QString::number(line.group),
                                 QString::number(line.cell),
                                 texts.results.resultText(line.reading.record()),
                                 texts.results.unitText(line.reading.unit),
                                 texts.checkText(line.finding),
                                 d.decision,
                                 CCsvWriter::field(by),
                                 CCsvWriter::field(d.reason)};
        std::printf("%s\n", qPrintable(fields.join(QLatin1Char(';'))));
    }
    if (!problem.isEmpty())
        printError(problem);
    return problem.isEmpty() ? CliOk : CliFailed;
}

bool readingOf(const CCliOptions &opt, ArchiveDecision *decision)
{
    bool groupOk = false;
    bool cellOk = false;
    decision->group = opt.positional.value(1).toInt(&groupOk);
    decision->cell = opt.positional.value(2).toInt(&cellOk);
    decision->readingTime = QDateTime::fromString(opt.positional.value(3), Qt::ISODate);
    if (opt.positional.size() != 4 || !groupOk || !cellOk || !decision->readingTime.isValid()) {
        printError(QStringLiteral("review %1 needs GROUP CELL TIME, the time as archive history "
                                  "prints it")
                       .arg(opt.positional.first()));
        return false;
    }
    return true;
}

int decide(CArchiveSet &set, const CCliOptions &opt)
{
    ArchiveDecision decision;
    decision.decision = opt.positional.first() == QLatin1String("verify")
                            ? CArchiveEvaluation::kVerified
                            : CArchiveEvaluation::kRejected;
    decision.reason = opt.values.value(kReason).trimmed();
    if (!readingOf(opt, &decision))
        return CliUsage;
    if (decision.reason.isEmpty()) {
        printError(QStringLiteral("a decision needs --reason TEXT"));
        return CliUsage;
    }
    QString problem;
    if (!CReviewService::decide(set, decision, &problem)) {
        printError(problem);
        return CliFailed;
    }
    // Decided here, but the shared archive takes it later.
    if (!problem.isEmpty())
        printError(problem);
    return CliOk;
}

} // namespace

int runReviewCommand(const QStringList &args)
{
    CCliOptions opt;
    if (!opt.parse(args, {kArchiveOption, kReason}, {}, 4))
        return CliUsage;
    const QString action = opt.positional.value(0);
    if (!action.isEmpty() && action != QLatin1String("verify") &&
        action != QLatin1String("reject")) {
        printError(QStringLiteral("review takes verify or reject, or nothing to list"));
        return CliUsage;
    }
    const auto set = openArchives(opt.values.value(kArchiveOption));
    if (!set)
        return CliFailed;
    return action.isEmpty() ? list(set->chosen()) : decide(*set, opt);
}
