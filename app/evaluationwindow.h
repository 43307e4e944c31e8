// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/evaluation.h"
#include "evaluation/evaluationcsvwriter.h"

#include <QWidget>

#include <memory>
#include <optional>

namespace Ui
{
class EvaluationWindowGUI;
}
class CCollatrix;
class CReportAction;
class CThicknessMapWidget;

// The evaluation of the download on screen against the earlier downloads in the archive: the
// summary per group, a thickness map per group, the points needing action, the settings they
// depend on (the limits, the map's row width, the maximum interval) and the log of the changes
// to the selected group's.
class EvaluationWindow : public QWidget
{
    Q_OBJECT

public:
    EvaluationWindow(CCollatrix *controller, CReportAction *report, QWidget *parent = nullptr);
    ~EvaluationWindow() override;

    // Evaluates the results on screen again and shows them.
    void refresh();
    const CEvaluation *evaluation() const { return current ? &*current : nullptr; }
    CThicknessMapWidget *map() const;
    // A group as the windows name it: its number, and its object's name when it has one.

signals:
    // A map cell or an action row was chosen: its row of the results table.
    void rowChosen(int row);
    void reviewRequested();
    void helpRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    int selectedGroup() const;
    QString figure(double value, int decimals) const;
    QString tipOf(const PointEvaluation &point) const;
    int rowOf(int group, int cell) const;
    void fillSummary();
    void fillGroups();
    void showGroup();
    void showDesign(int group);
    void fillLog(int group);
    void fillActions();
    void applySettings();
    // Shows the evaluation afresh, and the problem when there is one.
    void refreshTelling(const QString &problem);
    void writeReport();

    std::unique_ptr<Ui::EvaluationWindowGUI> ui;
    CCollatrix *controller;
    CReportAction *report;
    EvaluationInput input;
    std::optional<CEvaluation> current;
    // The action list's rows, as indices into the evaluation's points.
    QList<int> actions;
    CEvaluationCsvWriter texts;
};
