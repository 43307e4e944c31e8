// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/evaluationinput.h"
#include "evaluation/groupsummary.h"
#include "evaluation/pointevaluation.h"

#include <QList>
#include <QMap>

#include <vector>

// The evaluation of one download: every result in row order with its figures, the summary per
// group and the points that need action.
class CEvaluation
{
public:
    explicit CEvaluation(const EvaluationInput &input);

    const std::vector<PointEvaluation> &points() const { return evaluated; }
    const QDateTime &time() const { return downloadTime; }
    double maximumIntervalYears() const { return maximumInterval; }
    // Null for a group without limits.
    const GroupLimits *limitsOf(int group) const;
    ObjectRules rulesOf(int group) const { return rules.value(group); }
    // The object's name; empty when it has none.
    QString nameOf(int group) const { return names.value(group); }
    // The group as the window and the report show it: its number, then its name if it has one.
    QString groupLabel(int group) const { return labelOf(group, nameOf(group)); }
    static QString labelOf(int group, const QString &name);
    // The cell with the plant's name of the point ("7 CML-07").
    QString pointLabel(int group, int cell) const;
    // Where the point is on the object; empty when nobody said.
    QString locationOf(int group, int cell) const
    {
        return pointNames.value(TestPoint{group, cell}).location;
    }
    // The unit the group's limits are in, or -1 for a group without a thickness reading.
    int unitOf(int group) const { return groupUnits.value(group, -1); }

    QList<GroupSummary> summaries() const;
    // Indices into points(): those below their minimum, overdue or in warning, those that reach
    // it within the rule's longest interval, and the suspect readings to review. Below the
    // minimum comes first, then overdue, then the shortest remaining life (one in warning
    // without a rate after those with one), then the readings to review.
    QList<int> actionList() const;

private:
    PointEvaluation evaluate(const MeasurementRecord &record, const EvaluationInput &input) const;
    void judge(PointEvaluation *point, const EvaluationInput &input) const;
    bool needsAction(const PointEvaluation &point) const;

    QDateTime downloadTime;
    double maximumInterval;
    QMap<int, GroupLimits> limits;
    QMap<int, ObjectRules> rules;
    QMap<int, QString> names;
    QHash<TestPoint, PointName> pointNames;
    QMap<int, int> groupUnits;
    std::vector<PointEvaluation> evaluated;
};
