// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/measurementrecord.h"

#include <QChar>
#include <QList>
#include <QtGlobal>

class CZRData;

// Count, minimum, maximum and mean of one group's results in one unit.
struct GroupStatistics {
    int group = 0;
    int unit = UnitMillimetres;
    int count = 0;
    double minimum = 0.0;
    double maximum = 0.0;
    double mean = 0.0;
    // Decimals of the finest result among them; the figures are shown with as many, the mean
    // rounded half up from the exact sum.
    int decimals = 0;
    qint64 thousandthsSum = 0;
};

// The statistics of a report's first page.
class CResultStatistics
{
public:
    // By group, and within a group one entry per unit in the order the units first appear.
    // With includeEmpty every group up to the data's group count has an entry, one without
    // results a count of 0.
    static QList<GroupStatistics> compute(const CZRData &data, const QList<int> &rows,
                                          bool includeEmpty);
    // A figure as the CSV file writes it: a point, or the given separator, and fixed decimals.
    static QString number(double value, int decimals, QChar separator);
};
