// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluation/objectrules.h"

#include "format/measurementrecord.h"

#include <algorithm>

namespace
{

// In the order of the enumerations.
const QStringList kRuleNames{QStringLiteral("half-life"), QStringLiteral("vessel"),
                             QStringLiteral("class1"), QStringLiteral("class2"),
                             QStringLiteral("class3")};
const QStringList kRateNames{QStringLiteral("lt-st"), QStringLiteral("all"),
                             QStringLiteral("upper")};

// The vessel rule takes the whole remaining life, at most this, when it is short.
constexpr double kVesselShortLife = 4.0;
constexpr double kVesselShortCap = 2.0;

} // namespace

double ObjectRules::toleranceIn(int unit) const
{
    if (tolerance)
        return *tolerance;
    return unit == UnitInches ? 0.02 : 0.5;
}

QStringList ObjectRules::ruleNames()
{
    return kRuleNames;
}

QStringList ObjectRules::rateNames()
{
    return kRateNames;
}

QString ObjectRules::nameOf(IntervalRule rule)
{
    return kRuleNames.at(int(rule));
}

QString ObjectRules::nameOf(RateChoice rate)
{
    return kRateNames.at(int(rate));
}

std::optional<IntervalRule> ObjectRules::ruleNamed(const QString &name)
{
    const qsizetype at = kRuleNames.indexOf(name);
    return at < 0 ? std::nullopt : std::optional<IntervalRule>(IntervalRule(at));
}

std::optional<RateChoice> ObjectRules::rateNamed(const QString &name)
{
    const qsizetype at = kRateNames.indexOf(name);
    return at < 0 ? std::nullopt : std::optional<RateChoice>(RateChoice(at));
}

double ObjectRules::capYears(IntervalRule rule, double maximumIntervalYears)
{
    switch (rule) {
    case IntervalRule::HalfLife:
        return maximumIntervalYears;
    case IntervalRule::Class1:
        return 5.0;
    case IntervalRule::Vessel:
    case IntervalRule::Class2:
    case IntervalRule::Class3:
        break;
    }
    return 10.0;
}

double ObjectRules::intervalYears(IntervalRule rule, double lifeYears, double maximumIntervalYears)
{
    if (rule == IntervalRule::Vessel && lifeYears < kVesselShortLife)
        return std::min(lifeYears, kVesselShortCap);
    return std::min(lifeYears / 2, capYears(rule, maximumIntervalYears));
}
