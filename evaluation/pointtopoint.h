// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/grouplimits.h"
#include "evaluation/objectrules.h"
#include "evaluation/pointevaluation.h"

#include <QDate>
#include <QDateTime>

// The point-to-point method of the inspection codes. A year is 365.25 days, in both directions:
// from the times of two downloads to years, and from years to a date.
class CPointToPoint
{
public:
    static constexpr double kDaysPerYear = 365.25;

    static double yearsBetween(const QDateTime &from, const QDateTime &to);
    static QDateTime afterYears(const QDateTime &from, double years);
    // Thickness lost per year from an earlier reading to this one; negative when it grew.
    static double rate(const PointReading &earlier, double actual, const QDateTime &time);
    static EvaluationStatus status(double thickness, const GroupLimits &limits);
    static double lossPercent(double thickness, const GroupLimits &limits);
    // The years left until the minimum at the governing rate; none without a measurable loss.
    static std::optional<double> remainingLife(double thickness, const GroupLimits &limits,
                                               std::optional<double> rate);
    // Now for a point below its minimum; else the rule's interval for its remaining life, and
    // the rule's longest interval without a measurable loss. Without any rate: not known.
    static QDate nextInspection(const PointEvaluation &point, const QDateTime &time,
                                IntervalRule rule, double maximumIntervalYears);
};
