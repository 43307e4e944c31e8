// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/reviewwindow.h"

#include "app/evaluationwindow.h"
#include "archive/archiveset.h"
#include "data/collatrix.h"
#include "services/archiveevaluation.h"
#include "services/reviewservice.h"

#include "ui_reviewwindow.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace
{

enum ReviewColumn {
    GroupColumn,
    CellColumn,
    ResultColumn,
    CheckColumn,
    PreviousColumn,
    DateColumn
};

bool listedForReview(const PointEvaluation &p)
{
    return p.status == EvaluationStatus::Suspect || p.check == ReadingCheck::Verified ||
           p.check == ReadingCheck::Rejected;
}

} // namespace

ReviewWindow::ReviewWindow(CCollatrix *controller, const AScanWindow::Labels &labels,
                           QWidget *parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::ReviewWindowGUI>()),
      controller(controller)
{
    ui->setupUi(this);
    drawer.setup();
    drawer.labels = labels;
    texts.checkTexts = {QString(), tr("suspect: thicker"), tr("suspect: half"), tr("verified"),
                        tr("rejected")};
    // The pictures follow the window's size rather than set it.
    ui->currentAScan->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    ui->previousAScan->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    ui->currentAScan->installEventFilter(this);
    ui->previousAScan->installEventFilter(this);
    QTableWidget *table = ui->readingsTable;
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setColumnCount(6);
    table->setHorizontalHeaderLabels({tr("Group"), tr("Cell"), tr("Result"), tr("Check"),
                                      tr("Previous counted reading"), tr("Its date")});
    connect(table, &QTableWidget::currentCellChanged, this, &ReviewWindow::showSelected);
    connect(ui->verifyButton, &QPushButton::clicked, this,
            [this] { decide(CArchiveEvaluation::kVerified, ReadingCheck::Verified); });
    connect(ui->rejectButton, &QPushButton::clicked, this,
            [this] { decide(CArchiveEvaluation::kRejected, ReadingCheck::Rejected); });
    connect(ui->helpButton, &QPushButton::clicked, this, &ReviewWindow::helpRequested);
    connect(ui->closeButton, &QPushButton::clicked, this, &QWidget::close);
}

ReviewWindow::~ReviewWindow() = default;

void ReviewWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1)
        emit helpRequested();
    QWidget::keyPressEvent(event);
}

bool ReviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        fit(ui->currentAScan, currentPicture);
        fit(ui->previousAScan, previousPicture);
    }
    return QWidget::eventFilter(watched, event);
}

void ReviewWindow::refresh()
{
    texts.results = controller->csvWriter();
    const PointEvaluation *before = selected();
    const int group = before ? before->record.group : 0;
    const int cell = before ? before->record.cell : 0;
    QString problem;
    EvaluationInput input;
    current.reset();
    if (controller->evaluation->input(controller->measurements, controller->downloadTime(), &input,
                                      &problem))
        current.emplace(input);
    tell(current
             ? QString()
             : tr("The archive cannot be read, so there is nothing to review: %1").arg(problem));
    fillReadings();
    const PointEvaluation *again = pointOf(group, cell);
    const int row = again ? int(listed.indexOf(int(again - current->points().data()))) : -1;
    {
        const QSignalBlocker blocker(ui->readingsTable);
        ui->readingsTable->setCurrentCell(std::max(0, row), 0);
    }
    showSelected();
}

const PointEvaluation *ReviewWindow::selected() const
{
    const int row = ui->readingsTable->currentRow();
    return current && row >= 0 && row < listed.size() ? &current->points().at(listed.at(row))
                                                      : nullptr;
}

const PointEvaluation *ReviewWindow::pointOf(int group, int cell) const
{
    for (int index : listed) {
        const PointEvaluation &p = current->points().at(index);
        if (p.record.group == group && p.record.cell == cell)
            return &p;
    }
    return nullptr;
}

void ReviewWindow::fillReadings()
{
    QTableWidget *table = ui->readingsTable;
    const QSignalBlocker blocker(table);
    listed.clear();
    for (size_t i = 0; current && i < current->points().size(); ++i) {
        if (listedForReview(current->points()[i]))
            listed << int(i);
    }
    table->setRowCount(int(listed.size()));
    for (int row = 0; row < listed.size(); ++row) {
        const PointEvaluation &p = current->points().at(listed.at(row));
        const QString unit = texts.results.unitText(p.record.unit);
        const QStringList cells{current->groupLabel(p.record.group),
                                current->pointLabel(p.record.group, p.record.cell),
                                texts.results.resultText(p.record) + QLatin1Char(' ') + unit,
                                texts.checkText(p.check),
                                p.previous ? texts.readingText(p.previous) + QLatin1Char(' ') + unit
                                           : QString(),
                                CEvaluationCsvWriter::dateText(p.previous)};
        for (int column = GroupColumn; column <= DateColumn; ++column)
            table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    table->resizeColumnsToContents();
    ui->readingsLabel->setText(
        listed.isEmpty()
            ? tr("No reading of the download on screen is doubted or decided.")
            : tr("Readings of the download on screen that the checks doubt, and those decided"));
}

// The reading on screen at once; its history and the previous reading's A-scan when the
// archive's thread has read them.
void ReviewWindow::showSelected()
{
    const PointEvaluation *p = selected();
    ui->decisionBox->setEnabled(p != nullptr);
    shownPoint = p ? int(p - current->points().data()) : -1;
    ui->historyChart->plot({}, QString());
    currentPicture = previousPicture = QPixmap();
    ui->currentTitle->clear();
    ui->currentAScan->clear();
    ui->previousTitle->clear();
    ui->previousAScan->clear();
    ui->historyBox->setTitle(p ? tr("History of group %1, cell %2")
                                     .arg(p->record.group)
                                     .arg(current->pointLabel(p->record.group, p->record.cell))
                               : tr("History of the point"));
    if (p == nullptr)
        return;
    const int group = p->record.group;
    const int cell = p->record.cell;
    showCurrentAScan(*p);
    const QString unit = texts.results.unitText(p->record.unit);
    ui->previousTitle->setText(p->previous ? tr("Previous counted reading, %1: %2 %3")
                                                 .arg(CEvaluationCsvWriter::dateText(p->previous),
                                                      texts.readingText(p->previous), unit)
                                           : tr("No earlier counted reading."));
    const QDateTime previousTime = p->previous ? p->previous->time : QDateTime();
    auto earlier = std::make_shared<Earlier>();
    controller->archive->query(
        [group, cell, previousTime, earlier](CArchiveSet &set) {
            CArchive &archive = set.sharedOpen() ? set.chosen() : set.embedded();
            earlier->history = archive.history(group, cell, &earlier->historyProblem);
            if (previousTime.isValid())
                earlier->fetched = CReviewService::aScanOf(archive, previousTime, group, cell,
                                                           &earlier->aScan, &earlier->aScanProblem);
        },
        this,
        [this, point = shownPoint, earlier] {
            // A later choice of reading has its own answer coming.
            if (point == shownPoint)
                showEarlier(*earlier);
        });
}

void ReviewWindow::showCurrentAScan(const PointEvaluation &p)
{
    const int row = int(&p - current->points().data());
    ui->currentTitle->setText(tr("This reading, %1: %2 %3")
                                  .arg(CEvaluationCsvWriter::dateText(current->time().date()),
                                       texts.results.resultText(p.record),
                                       texts.results.unitText(p.record.unit)));
    // The A-scans of the download on screen are those the controller holds; the tester is not
    // asked here.
    showAScan(ui->currentAScan, &currentPicture, p.record, aScanOfRow(controller->aScanCache, row),
              tr("The A-scan of this reading was not fetched."));
}

void ReviewWindow::showEarlier(const Earlier &earlier)
{
    const PointEvaluation *p = selected();
    if (p == nullptr)
        return;
    if (!earlier.historyProblem.isEmpty())
        tell(earlier.historyProblem);
    ui->historyChart->plot(earlier.history, texts.results.unitText(p->record.unit));
    if (!p->previous)
        return;
    showAScan(
        ui->previousAScan, &previousPicture, p->previous->record(p->record.group, p->record.cell),
        earlier.fetched ? &earlier.aScan : nullptr,
        earlier.aScanProblem.isEmpty() ? tr("The A-scan of the previous reading was not fetched.")
                                       : tr("The A-scan of the previous reading cannot be read: %1")
                                             .arg(earlier.aScanProblem));
}

void ReviewWindow::showAScan(QLabel *label, QPixmap *picture, const MeasurementRecord &record,
                             const AScanEntry *entry, const QString &missing)
{
    *picture = entry ? drawer.pictureOf(record, *entry) : QPixmap();
    label->setText(missing);
    fit(label, *picture);
}

void ReviewWindow::fit(QLabel *label, const QPixmap &picture)
{
    if (!picture.isNull())
        label->setPixmap(
            picture.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void ReviewWindow::decide(const QString &decision, ReadingCheck made)
{
    const PointEvaluation *p = selected();
    const QString reason = ui->reasonEdit->text().trimmed();
    if (p == nullptr)
        return;
    if (reason.isEmpty()) {
        tell(tr("A decision needs a reason: write it in the reason line first."));
        ui->reasonEdit->setFocus();
        return;
    }
    const int group = p->record.group;
    const int cell = p->record.cell;
    ui->decisionBox->setEnabled(false);
    tell(tr("Recording the decision..."));
    controller->evaluation->decide(ArchiveDecision{group, cell, current->time(), decision, reason},
                                   this, [this, group, cell, made](const QString &problem) {
                                       tellDecided(group, cell, made, problem);
                                   });
}

// A decision the shared archive could not take yet holds all the same, and its problem says that
// it waits: the evaluation read again tells the two apart.
void ReviewWindow::tellDecided(int group, int cell, ReadingCheck made, const QString &problem)
{
    refresh();
    const PointEvaluation *p = current ? pointOf(group, cell) : nullptr;
    if (!problem.isEmpty() && (p == nullptr || p->check != made)) {
        tell(tr("The decision was not recorded: %1").arg(problem));
        return;
    }
    ui->reasonEdit->clear();
    tell(problem.isEmpty()
             ? tr("Group %1, cell %2: %3.").arg(group).arg(cell).arg(texts.checkText(made))
             : problem);
    emit decided();
}

void ReviewWindow::tell(const QString &text)
{
    ui->messageLabel->setText(text);
    ui->messageLabel->setVisible(!text.isEmpty());
}
