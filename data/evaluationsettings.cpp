// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/evaluationsettings.h"

#include <QSettings>

#include <algorithm>

namespace
{

const QString kInterval = QStringLiteral("evaluation/maximum_interval");

QSettings evaluationIni()
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
    const double years = evaluationIni().value(kInterval).toDouble(&ok);
    return ok && years > 0 ? years : kDefaultMaximumInterval;
}

void CEvaluationSettings::setMaximumIntervalYears(double years)
{
    evaluationIni().setValue(kInterval, years);
}

int CEvaluationSettings::mapWidth(int group)
{
    return std::max(0, evaluationIni().value(widthKey(group)).toInt());
}

void CEvaluationSettings::setMapWidth(int group, int width)
{
    QSettings settings = evaluationIni();
    if (width > 0)
        settings.setValue(widthKey(group), width);
    else
        settings.remove(widthKey(group));
}
