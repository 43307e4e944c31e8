// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the evaluation is shown and dated, kept in the program's own settings
// ($XDG_CONFIG_HOME/collatrix/collatrix.ini, group evaluation): the longest time allowed between
// two inspections, and per object (group) the width of the rows its map is laid out in.
class CEvaluationSettings
{
public:
    static constexpr double kDefaultMaximumInterval = 10.0;

    static double maximumIntervalYears();
    static void setMaximumIntervalYears(double years);
    // 0 when none is set: the map is then square-ish.
    static int mapWidth(int group);
    static void setMapWidth(int group, int width);
};
