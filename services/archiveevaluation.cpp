// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/archiveevaluation.h"

#include "archive/archive.h"
#include "evaluation/designminimum.h"
#include "evaluation/evaluation.h"
#include "evaluation/evaluationcsvwriter.h"
#include "format/atomicfile.h"
#include "format/zrdata.h"
#include "services/evaluationsettings.h"
#include "services/objectparticulars.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace
{

// An empty history for each point of the download, which the readings then fill: one lookup a
// reading, of the millions an evaluation against years of surveys reads. The evaluation passes
// over readings in another unit than the download's.
QHash<TestPoint, QList<PointReading>> pointsOf(const CZRData &data)
{
    QHash<TestPoint, QList<PointReading>> points;
    points.reserve(data.totalCount());
    for (int group : CObjectParticulars::groupsOf(data)) {
        for (const MeasurementRecord &r : data.groups[group - 1])
            points.insert(TestPoint{r.group, r.cell}, {});
    }
    return points;
}

void takeAll(const QList<ArchiveReading> &readings, QHash<TestPoint, QList<PointReading>> *history)
{
    for (const ArchiveReading &r : readings) {
        const auto point = history->find(TestPoint{r.record.group, r.record.cell});
        if (point != history->end())
            point->append(PointReading{r.record, r.time});
    }
}

QString whoSet(const QString &by, const QString &role)
{
    return role.isEmpty() ? by : QStringLiteral("%1 (%2)").arg(by, role);
}

// When the minimum in force was typed: the first of the latest settings that kept it, as a
// change of the warning margin alone keeps the minimum it had.
QDateTime minimumTypedAt(const QList<ArchiveLimits> &history)
{
    QDateTime at;
    for (auto it = history.crbegin();
         it != history.crend() && it->minimum == history.last().minimum; ++it)
        at = it->from;
    return at;
}

} // namespace

const QString CArchiveEvaluation::kVerified = QStringLiteral("verified");
const QString CArchiveEvaluation::kRejected = QStringLiteral("rejected");

// The checks walk every earlier reading of a point, and least squares fits them all.
bool CArchiveEvaluation::input(CArchive &archive, const CZRData &data, const QDateTime &time,
                               EvaluationInput *input, QString *problem)
{
    input->data = &data;
    input->time = time;
    input->history = pointsOf(data);
    QString why;
    if (!input->history.isEmpty())
        archive.readDownloadsBefore(
            time,
            [&](const QList<ArchiveReading> &readings) {
                takeAll(readings, &input->history);
                return true;
            },
            &why);
    const bool read = why.isEmpty() && facts(archive, input, &why) &&
                      readDecisions(archive, input, &why) && readNames(archive, input, &why);
    if (!read)
        *problem = why;
    return read;
}

bool CArchiveEvaluation::facts(CArchive &archive, EvaluationInput *input, QString *problem)
{
    input->maximumIntervalYears = CEvaluationSettings::maximumIntervalYears();
    input->today = CEvaluationSettings::today();
    input->limits.clear();
    const QMap<int, ArchiveLimits> latest = archive.latestLimits(problem);
    for (const ArchiveLimits &l : latest)
        input->limits.insert(
            l.group, GroupLimits{l.nominal, l.minimum, l.warning, whoSet(l.by, l.role), l.from});
    const QMap<QPair<int, int>, ArchivePointName> points =
        problem->isEmpty() ? archive.pointNames(0, problem)
                           : QMap<QPair<int, int>, ArchivePointName>();
    for (const ArchivePointName &p : points)
        input->pointNames.insert(TestPoint{p.group, p.cell}, PointName{p.name, p.location});
    return problem->isEmpty() && readRules(archive, input, problem);
}

// The design minimum replaces a minimum typed before the design data were set.
bool CArchiveEvaluation::readRules(CArchive &archive, EvaluationInput *input, QString *problem)
{
    const QMap<int, QMap<QString, ArchiveSetting>> settings = archive.latestSettings(problem);
    for (auto it = settings.cbegin(); problem->isEmpty() && it != settings.cend(); ++it) {
        ObjectRules rules = rulesFrom(it.value());
        const auto limits = input->limits.find(it.key());
        const ArchiveSetting design = it.value().value(QStringLiteral("design"));
        if (rules.design && limits != input->limits.end() &&
            design.from > minimumTypedAt(archive.limitsHistory(it.key(), problem))) {
            limits->minimum = CDesignMinimum::minimum(*rules.design);
            rules.designSetBy = whoSet(design.by, design.role);
            rules.designSetAt = design.from;
        } else
            rules.design.reset();
        input->rules.insert(it.key(), rules);
    }
    return problem->isEmpty();
}

CArchiveEvaluation::Decided
CArchiveEvaluation::decisionsInForce(const QList<ArchiveDecision> &decisions)
{
    Decided latest;
    for (const ArchiveDecision &d : decisions)
        latest.insert({TestPoint{d.group, d.cell}, d.readingTime.toMSecsSinceEpoch()},
                      decisionNamed(d.decision));
    return latest;
}

void CArchiveEvaluation::markDecisions(const Decided &decided,
                                       QHash<TestPoint, QList<PointReading>> *history)
{
    for (auto it = history->begin(); !decided.isEmpty() && it != history->end(); ++it) {
        for (PointReading &reading : *it)
            reading.decision = decided.value({it.key(), reading.time.toMSecsSinceEpoch()});
    }
}

bool CArchiveEvaluation::readDecisions(CArchive &archive, EvaluationInput *input, QString *problem)
{
    const Decided latest = decisionsInForce(archive.decisions(problem));
    markDecisions(latest, &input->history);
    const qint64 now = input->time.toMSecsSinceEpoch();
    for (auto it = latest.cbegin(); it != latest.cend(); ++it) {
        if (it.key().second == now)
            input->decisions.insert(it.key().first, it.value());
    }
    const QList<QPair<int, int>> later = problem->isEmpty()
                                             ? archive.pointsReadAfter(input->time, problem)
                                             : QList<QPair<int, int>>();
    for (const auto &[group, cell] : later)
        input->readLater.insert(TestPoint{group, cell});
    return problem->isEmpty();
}

bool CArchiveEvaluation::readNames(CArchive &archive, EvaluationInput *input, QString *problem)
{
    for (int group : CObjectParticulars::groupsOf(*input->data)) {
        const QString name = archive.groupName(group, input->time, problem);
        if (!name.isEmpty())
            input->names.insert(group, name);
    }
    return problem->isEmpty();
}

// The window's minimum has the spin box's three decimals.
bool CArchiveEvaluation::setLimits(CArchive &archive, int group, const GroupLimits &limits,
                                   QString *problem)
{
    const QList<ArchiveLimits> history = archive.limitsHistory(group, problem);
    const ArchiveSetting design =
        problem->isEmpty()
            ? archive.latestSettings(problem).value(group).value(QStringLiteral("design"))
            : ArchiveSetting();
    if (!problem->isEmpty())
        return false;
    ArchiveLimits set{group, limits.nominal, limits.minimum, limits.warning,
                      QDateTime::currentDateTime()};
    const std::optional<DesignData> data = CDesignMinimum::fromText(design.value);
    if (data && !history.isEmpty() && design.from > minimumTypedAt(history) &&
        std::abs(CDesignMinimum::minimum(*data) - limits.minimum) < 0.0005)
        set.minimum = history.last().minimum;
    const bool same = !history.isEmpty() && history.last().nominal == set.nominal &&
                      history.last().minimum == set.minimum &&
                      history.last().warning == set.warning;
    return same || archive.setLimits(set, problem);
}

bool CArchiveEvaluation::setDesign(CArchive &archive, int group, const DesignData &design,
                                   const QString &reason, QString *problem)
{
    return archive.setSettings(group, {{QStringLiteral("design"), CDesignMinimum::text(design)}},
                               QDateTime::currentDateTime(), reason, problem);
}

// A setting the program cannot read keeps its default.
ObjectRules CArchiveEvaluation::rulesFrom(const QMap<QString, ArchiveSetting> &settings)
{
    ObjectRules rules;
    bool ok = false;
    const double tolerance = settings.value(QStringLiteral("tolerance")).value.toDouble(&ok);
    if (ok && tolerance >= 0)
        rules.tolerance = tolerance;
    const int days = settings.value(QStringLiteral("min_interval")).value.toInt(&ok);
    if (ok && days >= 0)
        rules.minimumIntervalDays = days;
    rules.rule = ObjectRules::ruleNamed(settings.value(QStringLiteral("rule")).value)
                     .value_or(IntervalRule::HalfLife);
    rules.rate = ObjectRules::rateNamed(settings.value(QStringLiteral("rate")).value)
                     .value_or(RateChoice::LongOrShort);
    rules.design = CDesignMinimum::fromText(settings.value(QStringLiteral("design")).value);
    return rules;
}

ReadingDecision CArchiveEvaluation::decisionNamed(const QString &name)
{
    if (name == kVerified)
        return ReadingDecision::Verified;
    return name == kRejected ? ReadingDecision::Rejected : ReadingDecision::None;
}

bool CArchiveEvaluation::limitsApply(const EvaluationInput &input)
{
    const QList<int> groups = CObjectParticulars::groupsOf(*input.data);
    return std::any_of(groups.cbegin(), groups.cend(),
                       [&input](int group) { return input.limits.contains(group); });
}

QString CArchiveEvaluation::csvBeside(const QString &resultsPath)
{
    const QFileInfo info(resultsPath);
    return info.path() + QLatin1Char('/') + info.completeBaseName() +
           QStringLiteral("-evaluation.csv");
}

bool CArchiveEvaluation::writeCsv(const QString &path, const EvaluationInput &input,
                                  const CCsvWriter &results, QString *problem)
{
    const CEvaluation evaluation(input);
    CEvaluationCsvWriter writer;
    writer.results = results;
    return CAtomicFile::write(
        path, [&](QIODevice &out) { return writer.write(out, evaluation); }, problem);
}
