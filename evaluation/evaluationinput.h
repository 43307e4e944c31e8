// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/grouplimits.h"
#include "evaluation/objectrules.h"
#include "evaluation/pointname.h"
#include "evaluation/pointreading.h"
#include "evaluation/testpoint.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>

class CZRData;

// What an evaluation needs: the download with its time, the other readings the archive holds of
// its test points (in any order; those not earlier than the download are passed over), the
// decisions on the download's own readings, the limits and rules per group and the longest time
// allowed between two inspections. A point whose next inspection is before today is overdue,
// unless the archive holds a later reading of it.
struct EvaluationInput {
    const CZRData *data = nullptr;
    QDateTime time;
    QHash<TestPoint, QList<PointReading>> history;
    QHash<TestPoint, ReadingDecision> decisions;
    QMap<int, GroupLimits> limits;
    // A group without rules has the defaults.
    QMap<int, ObjectRules> rules;
    // The objects' names at the download's time.
    QMap<int, QString> names;
    // The plant's names of the points and their locations, the latest.
    QHash<TestPoint, PointName> pointNames;
    QSet<TestPoint> readLater;
    // Invalid: nothing is overdue.
    QDate today;
    double maximumIntervalYears = 10.0;
};
