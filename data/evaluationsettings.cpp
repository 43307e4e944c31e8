// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/evaluationsettings.h"

#include "data/programsettings.h"

#include <algorithm>

namespace
{

const QString kInterval = QStringLiteral("evaluation/maximum_interval");

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

void CEvaluationSettings::setMaximumIntervalYears(double years)
{
    CProgramSettings::open().setValue(kInterval, years);
}

int CEvaluationSettings::mapWidth(int group)
{
    return std::max(0, CProgramSettings::open().value(widthKey(group)).toInt());
}

void CEvaluationSettings::setMapWidth(int group, int width)
{
    QSettings settings = CProgramSettings::open();
    if (width > 0)
        settings.setValue(widthKey(group), width);
    else
        settings.remove(widthKey(group));
}
