// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// How the evaluation is shown and dated, kept in the program's own settings
// ($XDG_CONFIG_HOME/collatrix/collatrix.ini, group evaluation): the longest time allowed between
// two inspections, and per object (group) the width of the rows its map is laid out in.
class CEvaluationSettings
{
public:
    static constexpr double kDefaultMaximumInterval = 10.0;

    static double maximumIntervalYears();
    // The day against which next inspections are overdue: $COLLATRIX_TODAY (yyyy-MM-dd) when
    // set, which lets a demonstration or a test stand on a day of its choosing, else today.
    static QDate today();
    // The time a download is made: the clock's time of day on that day.
    static QDateTime now();
    // The setters are false with the reason in *problem when the settings cannot be written.
    static bool setMaximumIntervalYears(double years, QString *problem);
    // 0 when none is set: the map is then square-ish.
    static int mapWidth(int group);
    static bool setMapWidth(int group, int width, QString *problem);
};
