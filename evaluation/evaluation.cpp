// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluation/evaluation.h"

#include "evaluation/leastsquares.h"
#include "evaluation/pointtopoint.h"
#include "format/zrdata.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

bool isThickness(int unit)
{
    return unit == UnitMillimetres || unit == UnitInches;
}

using Readings = std::vector<const PointReading *>;

// The readings of the point before the download in its unit, oldest first.
Readings earlierInOrder(const QList<PointReading> *history, const MeasurementRecord &record,
                        const QDateTime &time)
{
    Readings earlier;
    if (history == nullptr)
        return earlier;
    for (const PointReading &reading : *history) {
        if (reading.unit == record.unit && reading.time < time)
            earlier.push_back(&reading);
    }
    std::stable_sort(
        earlier.begin(), earlier.end(),
        [](const PointReading *a, const PointReading *b) { return a->time < b->time; });
    return earlier;
}

// The earliest and the latest counted reading taken at least the minimum interval before.
void pickComparison(const Readings &counted, const QDateTime &time, int minimumIntervalDays,
                    PointEvaluation *point)
{
    const QDateTime latest = time.addDays(-minimumIntervalDays);
    for (const PointReading *reading : counted) {
        if (reading->time > latest)
            break;
        if (!point->initial)
            point->initial = *reading;
        point->previous = *reading;
    }
}

void fitLeastSquares(const Readings &counted, const PointReading &current, PointEvaluation *point)
{
    std::vector<CLeastSquares::Sample> samples;
    samples.reserve(counted.size() + 1);
    const QDateTime &origin = counted.empty() ? current.time : counted.front()->time;
    for (const PointReading *reading : counted)
        samples.push_back({CPointToPoint::yearsBetween(origin, reading->time), reading->value()});
    samples.push_back({CPointToPoint::yearsBetween(origin, current.time), current.value()});
    if (const auto fit = CLeastSquares::fit(samples)) {
        point->leastSquaresRate = fit->rate;
        point->leastSquaresError = fit->error;
        point->leastSquaresUpper = fit->upper;
    }
}

std::optional<double> governingRate(const PointEvaluation &p, RateChoice choice)
{
    std::optional<double> longOrShort;
    if (p.longTermRate)
        longOrShort = std::max(*p.longTermRate, *p.shortTermRate);
    switch (choice) {
    case RateChoice::LongOrShort:
        break;
    case RateChoice::All:
        if (p.leastSquaresRate && (!longOrShort || *p.leastSquaresRate > *longOrShort))
            return p.leastSquaresRate;
        break;
    case RateChoice::Upper:
        if (p.leastSquaresUpper)
            return p.leastSquaresUpper;
        break;
    }
    return longOrShort;
}

QMap<int, int> thicknessUnits(const CZRData &data)
{
    QMap<int, int> units;
    for (int g = 0; g < CZRData::kMaxGroups; ++g) {
        for (const MeasurementRecord &r : data.groups[g]) {
            if (isThickness(r.unit) && !units.contains(r.group))
                units.insert(r.group, r.unit);
        }
    }
    return units;
}

// Welford's running mean and variance: one pass, and no loss of digits on large groups.
struct Running {
    int n = 0;
    double mean = 0.0;
    double squares = 0.0;
    void add(double value)
    {
        ++n;
        const double delta = value - mean;
        mean += delta / n;
        squares += delta * (value - mean);
    }
};

void addFigure(GroupSummary *s, Running *running, const PointEvaluation &p)
{
    const double value = resultValue(p.record);
    if (running->n == 0 || value < s->minimum) {
        s->minimum = value;
        s->minimumCell = p.record.cell;
    }
    s->maximum = running->n == 0 ? value : std::max(s->maximum, value);
    s->decimals = std::max(s->decimals, resultDecimals(p.record));
    running->add(value);
}

// The order of the action list: below the minimum, overdue, then by remaining life (none
// known last), then the readings to review.
std::pair<int, double> urgency(const PointEvaluation &p)
{
    const double life =
        p.remainingLife ? *p.remainingLife : std::numeric_limits<double>::infinity();
    switch (p.status) {
    case EvaluationStatus::BelowMinimum:
        return {0, p.remainingLife ? life : -std::numeric_limits<double>::infinity()};
    case EvaluationStatus::Overdue:
        return {1, life};
    case EvaluationStatus::Suspect:
        return {3, life};
    default:
        return {2, life};
    }
}

} // namespace

CEvaluation::CEvaluation(const EvaluationInput &input)
    : downloadTime(input.time), maximumInterval(input.maximumIntervalYears), limits(input.limits),
      rules(input.rules), names(input.names), pointNames(input.pointNames),
      groupUnits(thicknessUnits(*input.data))
{
    evaluated.reserve(size_t(input.data->totalCount()));
    for (int g = 0; g < CZRData::kMaxGroups; ++g) {
        for (const MeasurementRecord &record : input.data->groups[g])
            evaluated.push_back(evaluate(record, input));
    }
}

QString CEvaluation::labelOf(int group, const QString &name)
{
    return name.isEmpty() ? QString::number(group) : QStringLiteral("%1 – %2").arg(group).arg(name);
}

QString CEvaluation::pointLabel(int group, int cell) const
{
    return pointNames.value(TestPoint{group, cell}).labelOf(cell);
}

const GroupLimits *CEvaluation::limitsOf(int group) const
{
    const auto found = limits.constFind(group);
    return found == limits.cend() ? nullptr : &*found;
}

PointEvaluation CEvaluation::evaluate(const MeasurementRecord &record,
                                      const EvaluationInput &input) const
{
    PointEvaluation point;
    point.record = record;
    if (!isThickness(record.unit)) {
        point.status = EvaluationStatus::NotThickness;
        return point;
    }
    const TestPoint key{record.group, record.cell};
    const ObjectRules objectRules = rulesOf(record.group);
    const auto history = input.history.constFind(key);
    Readings ordered =
        earlierInOrder(history == input.history.cend() ? nullptr : &*history, record, downloadTime);
    const PointReading current{record, downloadTime, input.decisions.value(key)};
    ordered.push_back(&current);
    const std::vector<ReadingCheck> checks =
        CReadingChecks::checkAll(ordered, objectRules.toleranceIn(record.unit));
    point.check = checks.back();
    Readings counted;
    for (size_t i = 0; i + 1 < ordered.size(); ++i) {
        if (CReadingChecks::counts(checks[i]))
            counted.push_back(ordered[i]);
    }
    pickComparison(counted, downloadTime, objectRules.minimumIntervalDays, &point);
    const GroupLimits *groupLimits = limitsOf(record.group);
    if (groupLimits != nullptr && unitOf(record.group) == record.unit)
        point.minimum = groupLimits->minimum;
    if (CReadingChecks::suspect(point.check) || point.check == ReadingCheck::Rejected) {
        point.status = point.check == ReadingCheck::Rejected ? EvaluationStatus::Rejected
                                                             : EvaluationStatus::Suspect;
        return point;
    }
    if (point.previous) {
        point.longTermRate = CPointToPoint::rate(*point.initial, resultValue(record), downloadTime);
        point.shortTermRate =
            CPointToPoint::rate(*point.previous, resultValue(record), downloadTime);
    }
    fitLeastSquares(counted, current, &point);
    point.rate = governingRate(point, objectRules.rate);
    judge(&point, input);
    return point;
}

// The limits are in the group's unit; a reading in the other one is left unjudged.
void CEvaluation::judge(PointEvaluation *point, const EvaluationInput &input) const
{
    const int group = point->record.group;
    const GroupLimits *groupLimits = limitsOf(group);
    if (groupLimits == nullptr || unitOf(group) != point->record.unit)
        return;
    const double thickness = resultValue(point->record);
    point->status = CPointToPoint::status(thickness, *groupLimits);
    point->loss = CPointToPoint::lossPercent(thickness, *groupLimits);
    point->remainingLife = CPointToPoint::remainingLife(thickness, *groupLimits, point->rate);
    point->nextInspection =
        CPointToPoint::nextInspection(*point, downloadTime, rulesOf(group).rule, maximumInterval);
    if (point->status != EvaluationStatus::BelowMinimum && point->nextInspection.isValid() &&
        input.today.isValid() && point->nextInspection < input.today &&
        !input.readLater.contains(TestPoint{group, point->record.cell}))
        point->status = EvaluationStatus::Overdue;
}

QList<GroupSummary> CEvaluation::summaries() const
{
    QMap<int, GroupSummary> byGroup;
    QMap<int, Running> running;
    for (const PointEvaluation &p : evaluated) {
        GroupSummary &s = byGroup[p.record.group];
        s.group = p.record.group;
        s.unit = unitOf(p.record.group);
        ++s.count;
        ++s.statusCounts[size_t(p.status)];
        if (p.remainingLife && (!s.worstRemainingLife || *p.remainingLife < *s.worstRemainingLife))
            s.worstRemainingLife = p.remainingLife;
        if (p.record.unit == s.unit)
            addFigure(&s, &running[s.group], p);
    }
    QList<GroupSummary> all;
    for (GroupSummary s : byGroup) {
        const Running r = running.value(s.group);
        s.figureCount = r.n;
        s.mean = r.mean;
        if (r.n >= 2)
            s.standardDeviation = std::sqrt(r.squares / (r.n - 1));
        all.append(s);
    }
    return all;
}

bool CEvaluation::needsAction(const PointEvaluation &point) const
{
    switch (point.status) {
    case EvaluationStatus::BelowMinimum:
    case EvaluationStatus::Warning:
    case EvaluationStatus::Overdue:
    case EvaluationStatus::Suspect:
        return true;
    default:
        return point.remainingLife &&
               *point.remainingLife <
                   ObjectRules::capYears(rulesOf(point.record.group).rule, maximumInterval);
    }
}

QList<int> CEvaluation::actionList() const
{
    QList<int> indices;
    for (int i = 0; i < int(evaluated.size()); ++i) {
        if (needsAction(evaluated[size_t(i)]))
            indices.append(i);
    }
    std::stable_sort(indices.begin(), indices.end(), [this](int a, int b) {
        return urgency(evaluated[size_t(a)]) < urgency(evaluated[size_t(b)]);
    });
    return indices;
}
