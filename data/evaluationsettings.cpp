// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/evaluationsettings.h"

#include <QSettings>

#include <algorithm>

namespace
{

const QString kInterval = QStringLiteral("evaluation/maximum_interval");

QSettings programSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("collatrix"),
                     QStringLiteral("collatrix"));
}

QString widthKey(int group)
{
    return QStringLiteral("evaluation/map_width_%1").arg(group);
}

} // namespace

double CEvaluationSettings::maximumIntervalYears()
{
    bool ok = false;
    const double years = programSettings().value(kInterval).toDouble(&ok);
    return ok && years > 0 ? years : kDefaultMaximumInterval;
}

void CEvaluationSettings::setMaximumIntervalYears(double years)
{
    programSettings().setValue(kInterval, years);
}

int CEvaluationSettings::mapWidth(int group)
{
    return std::max(0, programSettings().value(widthKey(group)).toInt());
}

void CEvaluationSettings::setMapWidth(int group, int width)
{
    QSettings settings = programSettings();
    if (width > 0)
        settings.setValue(widthKey(group), width);
    else
        settings.remove(widthKey(group));
}
