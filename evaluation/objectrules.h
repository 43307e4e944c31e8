// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/designdata.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// How long until a point is inspected again, by the code the object is built to.
enum class IntervalRule { HalfLife, Vessel, Class1, Class2, Class3 };
// Which rate governs a point's remaining life.
enum class RateChoice { LongOrShort, All, Upper };

// What an engineer chose for one object (group), beside its limits: how far a reading may grow
// before it is doubted, how far apart two readings must be to give a rate, the rule and the rate
// that date the next inspection, and the design data its minimum comes from, if any.
struct ObjectRules {
    static constexpr int kDefaultMinimumIntervalDays = 180;

    // Not set: the default of the unit, 0.5 mm or 0.02 in.
    std::optional<double> tolerance;
    int minimumIntervalDays = kDefaultMinimumIntervalDays;
    IntervalRule rule = IntervalRule::HalfLife;
    RateChoice rate = RateChoice::LongOrShort;
    std::optional<DesignData> design;
    // Who set the design data and when, for the report.
    QString designSetBy{};
    QDateTime designSetAt{};

    double toleranceIn(int unit) const;

    static QStringList ruleNames();
    static QStringList rateNames();
    static QString nameOf(IntervalRule rule);
    static QString nameOf(RateChoice rate);
    static std::optional<IntervalRule> ruleNamed(const QString &name);
    static std::optional<RateChoice> rateNamed(const QString &name);
    // The longest interval the rule allows, which a point without a measurable loss gets.
    static double capYears(IntervalRule rule, double maximumIntervalYears);
    // The years until the next inspection of a point that reaches its minimum in lifeYears.
    static double intervalYears(IntervalRule rule, double lifeYears, double maximumIntervalYears);
};
