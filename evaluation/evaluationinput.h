// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/grouplimits.h"
#include "evaluation/pointreading.h"
#include "evaluation/testpoint.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>

class CZRData;

// What an evaluation needs: the download with its time, the other readings the archive holds of
// its test points (in any order; those not earlier than the download are passed over), the
// limits per group and the longest time allowed between two inspections.
struct EvaluationInput {
    const CZRData *data = nullptr;
    QDateTime time;
    QHash<TestPoint, QList<PointReading>> history;
    QMap<int, GroupLimits> limits;
    double maximumIntervalYears = 10.0;
};
