// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluation/pointtopoint.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr double kMsecsPerYear = CPointToPoint::kDaysPerYear * 24 * 3600 * 1000;

} // namespace

double CPointToPoint::yearsBetween(const QDateTime &from, const QDateTime &to)
{
    return double(from.msecsTo(to)) / kMsecsPerYear;
}

QDateTime CPointToPoint::afterYears(const QDateTime &from, double years)
{
    return from.addMSecs(qint64(std::llround(years * kMsecsPerYear)));
}

double CPointToPoint::rate(const PointReading &earlier, double actual, const QDateTime &time)
{
    return (earlier.value() - actual) / yearsBetween(earlier.time, time);
}

EvaluationStatus CPointToPoint::status(double thickness, const GroupLimits &limits)
{
    if (thickness < limits.minimum)
        return EvaluationStatus::BelowMinimum;
    if (thickness < limits.minimum + limits.warning)
        return EvaluationStatus::Warning;
    return EvaluationStatus::Ok;
}

double CPointToPoint::lossPercent(double thickness, const GroupLimits &limits)
{
    return (limits.nominal - thickness) / limits.nominal * 100.0;
}

std::optional<double> CPointToPoint::remainingLife(double thickness, const GroupLimits &limits,
                                                   std::optional<double> rate)
{
    if (!rate || *rate <= 0)
        return std::nullopt;
    return (thickness - limits.minimum) / *rate;
}

QDate CPointToPoint::nextInspection(const PointEvaluation &point, const QDateTime &time,
                                    IntervalRule rule, double maximumIntervalYears)
{
    if (point.status == EvaluationStatus::BelowMinimum)
        return time.date();
    if (!point.rate)
        return QDate();
    const double years =
        point.remainingLife
            ? ObjectRules::intervalYears(rule, *point.remainingLife, maximumIntervalYears)
            : ObjectRules::capYears(rule, maximumIntervalYears);
    return afterYears(time, years).date();
}
