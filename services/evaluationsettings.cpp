// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/evaluationsettings.h"

#include "services/programsettings.h"

#include <algorithm>

namespace
{

const QString kInterval = QStringLiteral("evaluation/maximum_interval");

QDate chosenDay()
{
    return QDate::fromString(qEnvironmentVariable("COLLATRIX_TODAY"), QStringLiteral("yyyy-MM-dd"));
}

QString widthKey(int group)
{
    return QStringLiteral("evaluation/map_width_%1").arg(group);
}

} // namespace

double CEvaluationSettings::maximumIntervalYears()
{
    bool ok = false;
    const double years = CProgramSettings::open().value(kInterval).toDouble(&ok);
    return ok && years > 0 ? years : kDefaultMaximumInterval;
}

QDate CEvaluationSettings::today()
{
    const QDate chosen = chosenDay();
    return chosen.isValid() ? chosen : QDate::currentDate();
}

// One reading of the clock, so that a download just before midnight keeps its own day.
QDateTime CEvaluationSettings::now()
{
    const QDateTime clock = QDateTime::currentDateTime();
    const QDate chosen = chosenDay();
    return chosen.isValid() ? QDateTime(chosen, clock.time()) : clock;
}

bool CEvaluationSettings::setMaximumIntervalYears(double years, QString *problem)
{
    return CProgramSettings::set(kInterval, years, problem);
}

int CEvaluationSettings::mapWidth(int group)
{
    return std::max(0, CProgramSettings::open().value(widthKey(group)).toInt());
}

bool CEvaluationSettings::setMapWidth(int group, int width, QString *problem)
{
    return CProgramSettings::set(widthKey(group), width > 0 ? width : QVariant(), problem);
}
