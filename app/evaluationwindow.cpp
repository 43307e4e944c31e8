// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/evaluationwindow.h"

#include "app/particularsdialog.h"
#include "app/reportaction.h"
#include "app/thicknessmapwidget.h"
#include "data/collatrix.h"
#include "evaluation/designminimum.h"
#include "format/resultstatistics.h"
#include "services/evaluationsettings.h"
#include "services/objectparticulars.h"
#include "ui_evaluationwindow.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace
{

void fillRow(QTableWidget *table, int row, const QStringList &cells)
{
    for (int column = 0; column < cells.size(); ++column)
        table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
}

} // namespace

EvaluationWindow::EvaluationWindow(CCollatrix *controller, CReportAction *report, QWidget *parent)
    : QWidget(parent, Qt::Window), ui(new Ui::EvaluationWindowGUI), controller(controller),
      report(report)
{
    ui->setupUi(this);
    ui->problemLabel->setWordWrap(true);
    ui->scaleLabel->setWordWrap(true);
    // A suspect reading waits for an engineer's eye, which the action list asks for.
    texts.statusTexts =
        QStringList{tr("below minimum"),   tr("warning"), tr("ok"),        tr("no limit"),
                    tr("not a thickness"), tr("overdue"), tr("to review"), tr("rejected")};
    // A few groups are the rule: the map and the action list get the room.
    ui->summaryTable->setMaximumHeight(150);
    ui->mapAndActionsLayout->setStretch(0, 1);
    ui->mapAndActionsLayout->setStretch(1, 1);
    ui->summaryTable->verticalHeader()->hide();
    ui->actionTable->verticalHeader()->hide();
    ui->logTable->verticalHeader()->hide();
    ui->logTable->setColumnCount(6);
    ui->logTable->setHorizontalHeaderLabels(
        {tr("Time"), tr("User"), tr("What"), tr("Old"), tr("New"), tr("Reason")});
    ui->logTable->horizontalHeader()->setStretchLastSection(true);
    ui->summaryTable->setColumnCount(17);
    ui->summaryTable->setHorizontalHeaderLabels(
        {tr("Group"), tr("Unit"), tr("Count"), tr("Minimum"), tr("Cell"), tr("Maximum"), tr("Mean"),
         tr("Std. dev."), tr("Below minimum"), tr("Warning"), tr("OK"), tr("No limit"),
         tr("Not a thickness"), tr("Overdue"), tr("Suspect"), tr("Rejected"),
         tr("Worst life, years")});
    ui->actionTable->setColumnCount(8);
    ui->actionTable->setHorizontalHeaderLabels(
        {tr("Group"), tr("Cell"), tr("Result"), tr("Status"), tr("Loss %"), tr("Rate per year"),
         tr("Remaining life, years"), tr("Next inspection")});
    connect(ui->groupCombo, &QComboBox::currentIndexChanged, this, &EvaluationWindow::showGroup);
    connect(ui->mapWidget, &CThicknessMapWidget::cellClicked, this,
            [this](int cell) { emit rowChosen(rowOf(selectedGroup(), cell)); });
    // The evaluation's points are in the order of the results table's rows.
    connect(ui->actionTable, &QTableWidget::cellClicked, this,
            [this](int row, int) { emit rowChosen(actions.value(row, -1)); });
    connect(ui->applyButton, &QPushButton::clicked, this, &EvaluationWindow::applySettings);
    connect(ui->reportButton, &QPushButton::clicked, this, &EvaluationWindow::writeReport);
    connect(ui->reviewButton, &QPushButton::clicked, this, &EvaluationWindow::reviewRequested);
    connect(ui->helpButton, &QPushButton::clicked, this, &EvaluationWindow::helpRequested);
    connect(ui->closeButton, &QPushButton::clicked, this, &QWidget::close);
}

EvaluationWindow::~EvaluationWindow() = default;

CThicknessMapWidget *EvaluationWindow::map() const
{
    return ui->mapWidget;
}

void EvaluationWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1)
        emit helpRequested();
    QWidget::keyPressEvent(event);
}

void EvaluationWindow::refresh()
{
    texts.results = controller->csvWriter();
    QString problem;
    current.reset();
    if (controller->evaluation->input(controller->measurements, controller->downloadTime(), &input,
                                      &problem))
        current.emplace(input);
    ui->problemLabel->setText(current
                                  ? QString()
                                  : tr("The archive cannot be read, so there is nothing to compare "
                                       "with: %1")
                                        .arg(problem));
    ui->problemLabel->setVisible(!current);
    ui->reportButton->setEnabled(current.has_value());
    ui->intervalSpin->setValue(CEvaluationSettings::maximumIntervalYears());
    fillSummary();
    fillGroups();
    fillActions();
}

int EvaluationWindow::selectedGroup() const
{
    return ui->groupCombo->currentData().toInt();
}

QString EvaluationWindow::figure(double value, int decimals) const
{
    return CResultStatistics::number(value, decimals, texts.results.decimalSeparator);
}

int EvaluationWindow::rowOf(int group, int cell) const
{
    const std::vector<PointEvaluation> &points = current->points();
    for (size_t row = 0; row < points.size(); ++row) {
        if (points[row].record.group == group && points[row].record.cell == cell)
            return int(row);
    }
    return -1;
}

void EvaluationWindow::fillSummary()
{
    const QList<GroupSummary> summaries = current ? current->summaries() : QList<GroupSummary>();
    ui->summaryTable->setRowCount(int(summaries.size()));
    for (int row = 0; row < summaries.size(); ++row) {
        const GroupSummary &s = summaries.at(row);
        const bool figures = s.figureCount > 0;
        const auto shown = [&](double value) { return figures ? figure(value, s.decimals) : "-"; };
        QStringList cells{current->groupLabel(s.group),
                          figures ? texts.results.unitText(s.unit) : QStringLiteral("-"),
                          QString::number(s.count),
                          shown(s.minimum),
                          figures ? QString::number(s.minimumCell) : QStringLiteral("-"),
                          shown(s.maximum),
                          shown(s.mean),
                          s.standardDeviation ? figure(*s.standardDeviation, s.decimals + 1)
                                              : QStringLiteral("-")};
        for (int count : s.statusCounts)
            cells << QString::number(count);
        cells << (s.worstRemainingLife ? texts.lifeText(s.worstRemainingLife)
                                       : QStringLiteral("-"));
        fillRow(ui->summaryTable, row, cells);
    }
    ui->summaryTable->resizeColumnsToContents();
}

void EvaluationWindow::fillGroups()
{
    const int before = selectedGroup();
    const QSignalBlocker blocker(ui->groupCombo);
    ui->groupCombo->clear();
    if (current) {
        for (const GroupSummary &s : current->summaries()) {
            if (s.figureCount > 0)
                ui->groupCombo->addItem(current->groupLabel(s.group), s.group);
        }
    }
    ui->groupCombo->setCurrentIndex(std::max(0, ui->groupCombo->findData(before)));
    showGroup();
}

QString EvaluationWindow::tipOf(const PointEvaluation &p) const
{
    const QString unit = texts.results.unitText(p.record.unit);
    QStringList lines{tr("Group %1, cell %2: %3 %4")
                          .arg(current->groupLabel(p.record.group),
                               current->pointLabel(p.record.group, p.record.cell),
                               texts.results.resultText(p.record), unit)};
    const QString location = current->locationOf(p.record.group, p.record.cell);
    if (!location.isEmpty())
        lines << tr("Location: %1").arg(location);
    lines << tr("Status: %1").arg(texts.statusText(p.status));
    if (p.loss)
        lines << tr("Loss: %1 %").arg(texts.lossText(p.loss));
    if (p.previous)
        lines << tr("Previous: %1 on %2")
                     .arg(texts.readingText(p.previous),
                          CEvaluationCsvWriter::dateText(p.previous));
    if (p.rate)
        lines << tr("Rate: %1 %2 per year").arg(texts.rateText(p.rate), unit);
    if (p.remainingLife)
        lines << tr("Remaining life: %1 years").arg(texts.lifeText(p.remainingLife));
    if (p.nextInspection.isValid())
        lines << tr("Next inspection: %1").arg(CEvaluationCsvWriter::dateText(p.nextInspection));
    return lines.join(QLatin1Char('\n'));
}

void EvaluationWindow::showGroup()
{
    const int group = selectedGroup();
    const GroupLimits *limits = current ? current->limitsOf(group) : nullptr;
    ui->nominalSpin->setValue(limits ? limits->nominal : 0.0);
    ui->minimumSpin->setValue(limits ? limits->minimum : 0.0);
    ui->warningSpin->setValue(limits ? limits->warning : 0.0);
    ui->widthSpin->setValue(CEvaluationSettings::mapWidth(group));
    ui->settingsBox->setEnabled(current && group != 0);
    showDesign(group);
    fillLog(group);
    if (!current || group == 0) {
        ui->mapWidget->setMap(std::nullopt, {});
        ui->scaleLabel->clear();
        return;
    }
    const CThicknessMap map =
        CThicknessMap::ofGroup(*current, group, ui->widthSpin->value(), texts.results);
    QMap<int, QString> tips;
    for (const PointEvaluation &p : current->points()) {
        if (p.record.group == group && p.record.unit == current->unitOf(group))
            tips.insert(p.record.cell, tipOf(p));
    }
    ui->mapWidget->setMap(map, tips);
    const QString unit = texts.results.unitText(current->unitOf(group));
    ui->scaleLabel->setText(
        limits ? tr("Red at the minimum, %1 %3, to green at the nominal, %2 %3. The thinnest cell "
                    "is framed.")
                     .arg(figure(limits->minimum, 2), figure(limits->nominal, 2), unit)
               : tr("No limits are set for this group: red is its thinnest reading, green its "
                    "thickest."));
}

// Beside the minimum: how the design data give it, when they do.
void EvaluationWindow::showDesign(int group)
{
    const std::optional<DesignData> design =
        current ? current->rulesOf(group).design : std::nullopt;
    const int decimals = current && current->unitOf(group) == UnitInches ? 3 : 2;
    ui->designLabel->setText(design ? tr("The minimum comes from the design data: %1")
                                          .arg(CDesignMinimum::derivation(*design, decimals))
                                    : QString());
    ui->designLabel->setVisible(design.has_value());
}

void EvaluationWindow::fillLog(int group)
{
    QString problem;
    const QList<ArchiveLogEntry> log = current && group != 0
                                           ? controller->evaluation->log(group, &problem)
                                           : QList<ArchiveLogEntry>();
    ui->logBox->setTitle(problem.isEmpty()
                             ? tr("Log of the selected group")
                             : tr("Log of the selected group: cannot be read, %1").arg(problem));
    ui->logTable->setRowCount(int(log.size()));
    for (int row = 0; row < log.size(); ++row) {
        const ArchiveLogEntry &e = log.at(row);
        fillRow(ui->logTable, row,
                {e.at.toString(QStringLiteral("yyyy-MM-dd hh:mm")), e.user, e.what, e.oldValue,
                 e.newValue, e.reason});
    }
    ui->logTable->resizeColumnsToContents();
    ui->logTable->scrollToBottom();
}

void EvaluationWindow::fillActions()
{
    actions = current ? current->actionList() : QList<int>();
    ui->actionTable->setRowCount(int(actions.size()));
    for (int row = 0; row < actions.size(); ++row) {
        const PointEvaluation &p = current->points().at(actions.at(row));
        fillRow(ui->actionTable, row,
                {current->groupLabel(p.record.group),
                 current->pointLabel(p.record.group, p.record.cell),
                 texts.results.resultText(p.record) + QLatin1Char(' ') +
                     texts.results.unitText(p.record.unit),
                 texts.statusText(p.status), texts.lossText(p.loss), texts.rateText(p.rate),
                 texts.lifeText(p.remainingLife),
                 CEvaluationCsvWriter::dateText(p.nextInspection)});
    }
    ui->actionTable->resizeColumnsToContents();
}

void EvaluationWindow::applySettings()
{
    const int group = selectedGroup();
    QString problem;
    const bool saved =
        CEvaluationSettings::setMaximumIntervalYears(ui->intervalSpin->value(), &problem) &&
        CEvaluationSettings::setMapWidth(group, ui->widthSpin->value(), &problem);
    if (saved && ui->minimumSpin->value() >= ui->nominalSpin->value())
        problem = tr("The minimum allowable thickness must be below the nominal thickness.");
    if (!saved || !problem.isEmpty())
        return refreshTelling(problem);
    // The window goes on answering while the archive takes the limits.
    controller->evaluation->setLimits(
        group,
        GroupLimits{ui->nominalSpin->value(), ui->minimumSpin->value(), ui->warningSpin->value()},
        this, [this](const QString &problem) { refreshTelling(problem); });
}

void EvaluationWindow::refreshTelling(const QString &problem)
{
    refresh();
    ui->problemLabel->setText(problem);
    ui->problemLabel->setVisible(!problem.isEmpty());
}

// The particulars are asked for first and remembered for the objects of the download.
void EvaluationWindow::writeReport()
{
    QString problem;
    // The date is the test's own, not the object's: it starts from the download's.
    QMap<QString, QString> start =
        controller->evaluation->particulars(controller->measurements, &problem);
    start.insert(QStringLiteral("date"), controller->downloadTime().date().toString(Qt::ISODate));
    CParticularsDialog dialog(start, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    controller->evaluation->rememberParticulars(controller->measurements, dialog.values(), this,
                                                [this](const QString &problem) {
                                                    if (!problem.isEmpty())
                                                        refreshTelling(problem);
                                                });
    QMap<int, int> widths;
    for (const GroupSummary &s : current->summaries())
        widths.insert(s.group, CEvaluationSettings::mapWidth(s.group));
    report->runEvaluated(*current, dialog.values(), widths);
}
