// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluation/evaluation.h"

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

// The earliest and the latest reading before the download, in the result's unit.
void pickEarlier(const QList<PointReading> &history, const MeasurementRecord &record,
                 const QDateTime &time, PointEvaluation *point)
{
    for (const PointReading &reading : history) {
        if (reading.record.unit != record.unit || reading.time >= time)
            continue;
        if (!point->initial || reading.time < point->initial->time)
            point->initial = reading;
        if (!point->previous || reading.time > point->previous->time)
            point->previous = reading;
    }
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

// The order of the action list: a point below its minimum without a known life is the most
// urgent, one without a known life otherwise the least.
double urgency(const PointEvaluation &p)
{
    if (p.remainingLife)
        return *p.remainingLife;
    return p.status == EvaluationStatus::BelowMinimum ? -std::numeric_limits<double>::infinity()
                                                      : std::numeric_limits<double>::infinity();
}

} // namespace

CEvaluation::CEvaluation(const EvaluationInput &input)
    : downloadTime(input.time), maximumInterval(input.maximumIntervalYears), limits(input.limits),
      groupUnits(thicknessUnits(*input.data))
{
    evaluated.reserve(size_t(input.data->totalCount()));
    for (int g = 0; g < CZRData::kMaxGroups; ++g) {
        for (const MeasurementRecord &record : input.data->groups[g])
            evaluated.push_back(evaluate(record, input));
    }
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
    const double thickness = resultValue(record);
    pickEarlier(input.history.value(TestPoint{record.group, record.cell}), record, downloadTime,
                &point);
    if (point.previous) {
        point.longTermRate = CPointToPoint::rate(*point.initial, thickness, downloadTime);
        point.shortTermRate = CPointToPoint::rate(*point.previous, thickness, downloadTime);
        point.rate = std::max(*point.longTermRate, *point.shortTermRate);
    }
    // The limits are in the group's unit; a reading in the other one is left unjudged.
    const GroupLimits *groupLimits = limitsOf(record.group);
    if (groupLimits == nullptr || unitOf(record.group) != record.unit)
        return point;
    point.status = CPointToPoint::status(thickness, *groupLimits);
    point.loss = CPointToPoint::lossPercent(thickness, *groupLimits);
    point.remainingLife = CPointToPoint::remainingLife(thickness, *groupLimits, point.rate);
    point.nextInspection = CPointToPoint::nextInspection(point, downloadTime, maximumInterval);
    return point;
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
    return point.status == EvaluationStatus::BelowMinimum ||
           point.status == EvaluationStatus::Warning ||
           (point.remainingLife && *point.remainingLife < maximumInterval);
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
