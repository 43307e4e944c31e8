// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"

#include "app/archiveindicator.h"
#include "app/archivewindow.h"
#include "app/duewindow.h"
#include "app/evaluationwindow.h"
#include "app/keptdownloads.h"
#include "app/reportaction.h"
#include "app/reviewwindow.h"

#ifndef Q_OS_WIN
#include "app/devicewatcher.h"
#endif
#include "ui_aboutwindowgui.h"
#include "ui_helpwindowgui.h"
#include "ui_mainwindowgui.h"
#include "ui_progresswindowgui.h"

#include "data/collatrix.h"
#include "device/comport.h"
#include "device/kvtustester.h"
#include "format/csvwriter.h"

#include "ascan/ascanwindow.h"
#include "ascan/vectordrawframe.h"

#include <QAction>
#include <QBitmap>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTimerEvent>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

MainWindow::MainWindow(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), ui(new Ui::MainWindowGUI), aboutUi(new Ui::AboutWindowGUI),
      helpUi(new Ui::HelpWindowGUI), progressUi(new Ui::ProgressWindowGUI)
{
    Q_INIT_RESOURCE(resources); // the pictures live in the static library
    ui->setupUi(this);
    connect(ui->trnsfrDataButton, &QToolButton::clicked, this, &MainWindow::TransferData);
    connect(ui->saveAsButton, &QToolButton::clicked, this, &MainWindow::save);
    transferTimerId = 0;
    setButtonIcon(ui->trnsfrDataButton, QStringLiteral(":/Button/data_transf.bmp"),
                  QStringLiteral(":/Button/data_transf_mask.bmp"));
    setButtonIcon(ui->saveAsButton, QStringLiteral(":/Button/save_file.bmp"),
                  QStringLiteral(":/Button/save_file_mask.bmp"));
    setButtonIcon(ui->ascanButton, QStringLiteral(":/Button/ascan.bmp"),
                  QStringLiteral(":/Button/ascan_mask.bmp"));
    setButtonIcon(ui->helpButton, QStringLiteral(":/Button/help.bmp"),
                  QStringLiteral(":/Button/help_mask.bmp"));
    setButtonIcon(ui->aboutButton, QStringLiteral(":/Button/about.bmp"),
                  QStringLiteral(":/Button/about_mask.bmp"));
    setButtonIcon(ui->archiveButton, QStringLiteral(":/Button/archive.bmp"),
                  QStringLiteral(":/Button/archive_mask.bmp"));
    setButtonIcon(ui->evaluationButton, QStringLiteral(":/Button/evaluation.bmp"),
                  QStringLiteral(":/Button/evaluation_mask.bmp"));
    setButtonIcon(ui->dueButton, QStringLiteral(":/Button/due.bmp"),
                  QStringLiteral(":/Button/due_mask.bmp"));
    createAscanWindow();
    controller = new CCollatrix;
    // A child in the object tree like the windows it serves; the window still deletes it first.
    controller->setParent(this);
    setAscanLabels();
    kept = new CKeptDownloads(controller, this);
    new CArchiveIndicator(controller->archive.get(), statusBar());
    report = new CReportAction(controller, ascanWindow, this);
    controller->findDevice();
    setWindowTitle(controller->programTitle);
    createAboutWindow();
    createHelpWindow();
    createProgressWindow();
    setupTable();
    applyIdleView();
    createActions();
    createArchiveWindow();
    createEvaluationWindow();
    createReviewWindow();
    createDueWindow();
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setAcceptDrops(true);
#ifndef Q_OS_WIN
    // Windows tells the window itself (nativeEvent); elsewhere udev and the ports folder do.
    auto *watcher = new CDeviceWatcher(CCOMPort::portsFolders(), this);
    connect(watcher, &CDeviceWatcher::devicesChanged, this, &MainWindow::onDeviceChange);
#endif
}

MainWindow::~MainWindow()
{
    delete controller;
    controller = nullptr;
}

void MainWindow::setButtonIcon(QToolButton *button, const QString &bitmap, const QString &mask)
{
    // The mask becomes the alpha channel: white opaque, black transparent.
    QImage image = QPixmap(bitmap).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage alpha = QBitmap(mask).toImage().convertToFormat(QImage::Format_Grayscale8);
    if (!image.isNull() && alpha.size() == image.size())
        image.setAlphaChannel(alpha);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal, QIcon::Off);
    button->setIcon(icon);
}

void MainWindow::createAboutWindow()
{
    aboutWindow =
        new QWidget(this, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    aboutUi->setupUi(aboutWindow);
    connect(ui->aboutButton, &QToolButton::clicked, aboutWindow, &QWidget::show);
    aboutWindow->setWindowTitle(tr("About") + QLatin1Char(' ') + controller->programTitle);
    QString page = aboutUi->aboutTBrowser->toHtml();
    page.replace(QStringLiteral("Program name and version"),
                 controller->programTitle + QLatin1Char(' ') + controller->version);
    aboutUi->aboutTBrowser->setHtml(page);
}

void MainWindow::createHelpWindow()
{
    helpWindow = new QWidget(this, Qt::Window);
    helpUi->setupUi(helpWindow);
    const QString helpFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/Help");
    helpUi->helpTBrowser->setSearchPaths({helpFolder, helpFolder + QStringLiteral("//Images")});
    helpUi->helpTBrowser->setSource(QUrl(tr("index.html")));
    helpWindow->setWindowTitle(tr("Collatrix M47T Help"));
    connect(ui->helpButton, &QToolButton::clicked, helpWindow, &QWidget::show);
}

void MainWindow::createProgressWindow()
{
    progressWindow = new QWidget(this, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowTitleHint |
                                           Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint);
    progressUi->setupUi(progressWindow);
    progressUi->messageLabel->hide();
    connect(this, &MainWindow::ProgressChanged, progressUi->progressBar, &QProgressBar::setValue);
}

void MainWindow::setupTable()
{
    QTableWidget *table = ui->tableWidget;
    table->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(table, &QTableWidget::cellClicked, this, &MainWindow::onTableClicked);
}

void MainWindow::createActions()
{
    toClipboardAction = new QAction(tr("To clipboard"), this);
    saveAllAction = new QAction(tr("Save all data"), this);
    saveSelectedAction = new QAction(tr("Save selected rows"), this);
    toClipboardAction->setObjectName(QStringLiteral("toClipboardAction"));
    saveAllAction->setObjectName(QStringLiteral("saveAllAction"));
    saveSelectedAction->setObjectName(QStringLiteral("saveSelectedAction"));
    connect(toClipboardAction, &QAction::triggered, this, &MainWindow::dataToClipboard);
    connect(saveAllAction, &QAction::triggered, this, &MainWindow::saveAll);
    connect(saveSelectedAction, &QAction::triggered, this, &MainWindow::saveSelected);
    openAction = new QAction(tr("Open a kept download..."), this);
    openAction->setObjectName(QStringLiteral("openAction"));
    openAction->setShortcut(QKeySequence::Open);
    connect(openAction, &QAction::triggered, this, &MainWindow::openDownloadDialog);
    addAction(openAction);
    reportAction = new QAction(tr("Report..."), this);
    reportAction->setObjectName(QStringLiteral("reportAction"));
    reportAction->setShortcut(QKeySequence::Print);
    connect(reportAction, &QAction::triggered, this, &MainWindow::saveReport);
    addAction(reportAction);
    archiveAction = new QAction(tr("Archive..."), this);
    archiveAction->setObjectName(QStringLiteral("archiveAction"));
    archiveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(archiveAction, &QAction::triggered, this, &MainWindow::showArchive);
    addAction(archiveAction);
    evaluationAction = new QAction(tr("Evaluation..."), this);
    evaluationAction->setObjectName(QStringLiteral("evaluationAction"));
    evaluationAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(evaluationAction, &QAction::triggered, this, &MainWindow::showEvaluation);
    addAction(evaluationAction);
    reviewAction = new QAction(tr("Review doubtful readings..."), this);
    reviewAction->setObjectName(QStringLiteral("reviewAction"));
    reviewAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(reviewAction, &QAction::triggered, this, &MainWindow::showReview);
    addAction(reviewAction);
    dueAction = new QAction(tr("Inspections due..."), this);
    dueAction->setObjectName(QStringLiteral("dueAction"));
    dueAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(dueAction, &QAction::triggered, this, &MainWindow::showDue);
    addAction(dueAction);
}

void MainWindow::createArchiveWindow()
{
    archiveWindow = new ArchiveWindow(controller, this);
    connect(ui->archiveButton, &QToolButton::clicked, this, &MainWindow::showArchive);
    connect(archiveWindow, &ArchiveWindow::openRequested, this,
            [this](const QString &path) { openDownload(path); });
    connect(archiveWindow, &ArchiveWindow::helpRequested, this,
            [this] { showHelpPage(QStringLiteral("archive.html")); });
    connect(ui->tableWidget, &QTableWidget::currentCellChanged, this,
            &MainWindow::followPointInArchive);
}

void MainWindow::createEvaluationWindow()
{
    evaluationWindow = new EvaluationWindow(controller, report, this);
    connect(ui->evaluationButton, &QToolButton::clicked, this, &MainWindow::showEvaluation);
    connect(evaluationWindow, &EvaluationWindow::rowChosen, this, &MainWindow::showRow);
    connect(evaluationWindow, &EvaluationWindow::helpRequested, this,
            [this] { showHelpPage(QStringLiteral("evaluation.html")); });
}

// A decision changes what the evaluation counts.
void MainWindow::createReviewWindow()
{
    reviewWindow = new ReviewWindow(controller, ascanWindow->labels, this);
    connect(evaluationWindow, &EvaluationWindow::reviewRequested, this, &MainWindow::showReview);
    connect(reviewWindow, &ReviewWindow::decided, this, [this] {
        if (evaluationWindow->isVisible())
            evaluationWindow->refresh();
    });
    connect(reviewWindow, &ReviewWindow::helpRequested, this,
            [this] { showHelpPage(QStringLiteral("review.html")); });
}

// An object's newest download opens as any kept download does, then its evaluation.
void MainWindow::createDueWindow()
{
    dueWindow = new DueWindow(controller, this);
    connect(ui->dueButton, &QToolButton::clicked, this, &MainWindow::showDue);
    connect(dueWindow, &DueWindow::openRequested, this, [this](const QString &path) {
        if (openDownload(path))
            showEvaluation();
    });
    connect(dueWindow, &DueWindow::helpRequested, this,
            [this] { showHelpPage(QStringLiteral("due.html")); });
}

void MainWindow::showHelpPage(const QString &page)
{
    helpUi->helpTBrowser->setSource(QUrl(page));
    helpWindow->show();
    helpWindow->raise();
}

void MainWindow::onDeviceChange()
{
    // A search is refused while a reception runs; it is made up for when the reception ends.
    deviceChangeDuringTransfer = transferTimerId != 0;
    ui->trnsfrDataButton->setEnabled(controller->findDevice());
}

bool MainWindow::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
    Q_UNUSED(eventType)
    Q_UNUSED(result)
#ifdef Q_OS_WIN
    if (static_cast<MSG *>(message)->message == WM_DEVICECHANGE)
        onDeviceChange();
#else
    Q_UNUSED(message)
#endif
    return false; // the toolkit handles every message as usual
}

bool MainWindow::deviceFound() const
{
    return controller->tester != nullptr && controller->tester->deviceFound;
}

void MainWindow::applyIdleView()
{
    ui->trnsfrDataButton->setEnabled(deviceFound());
    ui->tableWidget->hide();
    ui->saveAsButton->setEnabled(false);
    progressWindow->hide();
    ui->bckgroundLabel->show();
    ui->ascanButton->setEnabled(false);
    ui->evaluationButton->setEnabled(false);
}

void MainWindow::applyResultsView()
{
    ui->trnsfrDataButton->setEnabled(deviceFound());
    fillTable();
    ui->bckgroundLabel->hide();
    progressWindow->hide();
    ui->tableWidget->show();
    ui->saveAsButton->setEnabled(true);
    ui->ascanButton->setEnabled(controller->measurements.hasAScans);
    ui->evaluationButton->setEnabled(true);
    // An open evaluation and review follow the results on screen.
    if (evaluationWindow->isVisible())
        evaluationWindow->refresh();
    if (reviewWindow->isVisible())
        reviewWindow->refresh();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    closing = confirmDiscardUnsaved();
    if (!closing)
        event->ignore();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat()) {
        if (event->key() == Qt::Key_C && event->modifiers().testFlag(Qt::ControlModifier))
            toClipboardAction->activate(QAction::Trigger);
        else if (event->key() == Qt::Key_F1)
            helpWindow->show();
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::moveEvent(QMoveEvent *)
{
    // Keep the progress window centred over this one, visible or not.
    const QRect frame = frameGeometry();
    const QRect progress = progressWindow->frameGeometry();
    progressWindow->move(x() + (frame.width() - progress.width()) / 2,
                         y() + (frame.height() - progress.height()) / 2);
}

void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    // A hidden table keeps its rows; a menu over the background would act on them unseen.
    const QTableWidget *table = ui->tableWidget;
    if (table->isHidden() || table->rowCount() == 0 || !table->geometry().contains(event->pos()))
        return;
    QMenu menu(this);
    menu.addAction(toClipboardAction);
    menu.addAction(saveAllAction);
    menu.addAction(saveSelectedAction);
    menu.addAction(reportAction);
    menu.addAction(archiveAction);
    menu.addAction(evaluationAction);
    menu.addAction(reviewAction);
    menu.addAction(dueAction);
    menu.exec(event->globalPos());
}

// The transfer: start, the 500 ms reception step, the outcome and the A-scan prefetch.

void MainWindow::TransferData()
{
    if (!confirmDiscardUnsaved())
        return;
    applyIdleView();
    if (transferTimerId == 0) {
        startTransfer();
    } else {
        stopTransfer();
        repeatRefusedSearch();
    }
}

void MainWindow::startTransfer()
{
    ui->trnsfrDataButton->setEnabled(deviceFound());
    emit ProgressChanged(0);
    progressWindow->show();
    controller->startTransfer(); // a port that does not open ends the transfer at the first tick
    if (transferTimerId == 0)
        transferTimerId = startTimer(transferTickMs);
}

void MainWindow::stopTransfer()
{
    controller->stopTransfer();
    if (transferTimerId != 0)
        killTimer(transferTimerId);
    transferTimerId = 0;
    applyIdleView();
}

// Runs after the received bytes have been taken out: a search clears the receive buffer.
void MainWindow::repeatRefusedSearch()
{
    if (!deviceChangeDuringTransfer)
        return;
    deviceChangeDuringTransfer = false;
    onDeviceChange();
}

void MainWindow::timerEvent(QTimerEvent *event)
{
    // Only the transfer timer drives a reception; a stray tick would end it as failed.
    if (transferTimerId == 0 || event->timerId() != transferTimerId) {
        QMainWindow::timerEvent(event);
        return;
    }
    int progress = 0;
    const CTransferEngine::Step step = controller->stepTransfer(&progress);
    if (step == CTransferEngine::Step::Waiting)
        return;
    emit ProgressChanged(progress);
    if (step == CTransferEngine::Step::Receiving)
        return;
    stopTransfer();
    finishTransfer(progress);
    repeatRefusedSearch();
}

void MainWindow::finishTransfer(int progress)
{
    const bool decoded = controller->decodeReceivedDump();
    const auto outcome =
        CTransferEngine::outcome(decoded, controller->measurements.groupCount, progress);
    kept->keep(outcome);
    switch (outcome) {
    case CTransferEngine::Outcome::Failed:
        showTransferMessage(controller->transferFailedText, transferMessageMs);
        applyIdleView();
        return;
    case CTransferEngine::Outcome::NoMeasurements:
        QMessageBox::warning(this, QString(), tr("No measurements in connected device!"),
                             QMessageBox::Ok);
        applyIdleView();
        return;
    case CTransferEngine::Outcome::Incomplete:
        showTransferMessage(controller->transferIncompleteText, transferMessageMs);
        break;
    case CTransferEngine::Outcome::Completed:
        showTransferMessage(controller->transferSucceededText, transferMessageMs);
        break;
    }
    applyResultsView();
    if (controller->measurements.hasAScans) {
        prefetchAScans();
        kept->keepAScans();
    }
}

void MainWindow::showTransferMessage(const QString &text, int ms)
{
    progressWindow->hide();
    progressUi->messageLabel->setText(text);
    progressUi->messageLabel->show();
    progressUi->progressBar->hide();
    progressWindow->setWindowModality(Qt::ApplicationModal);
    progressWindow->show();
    // A window system maps the window only from its event queue; without this the old picture
    // (the bar at 100 %) would stay on screen while the thread sleeps.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    progressWindow->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sleepMs(ms);
    progressWindow->hide();
    progressUi->messageLabel->hide();
    progressUi->progressBar->show();
    progressWindow->setWindowModality(Qt::NonModal);
    progressWindow->update();
}

void MainWindow::prefetchAScans()
{
    CDownloadSteps::fetchAScans(
        controller->tester, controller->measurements, &controller->aScanCache, [this](int) {
            QCoreApplication::processEvents();
            // A new transfer, another download opened or the closing
            // window makes the remaining rows moot.
            return transferTimerId == 0 && !closing && !controller->download->fromFile;
        });
}

// The results table and the clipboard text of its rows.

void MainWindow::fillTable()
{
    QTableWidget *table = ui->tableWidget;
    table->hide();
    const bool sorting = table->isSortingEnabled();
    table->setSortingEnabled(false);
    table->clearContents();
    const bool withAScans = controller->measurements.hasAScans;
    table->setColumnCount(withAScans ? 5 : 4);
    if (withAScans)
        table->setHorizontalHeaderItem(
            kAScanColumn,
            new QTableWidgetItem(QCoreApplication::translate("MainWindowGUI", "A-Scan")));
    table->setRowCount(0);
    for (int g = 1; g <= controller->measurements.groupCount; ++g)
        addGroupRows(g);
    fitRowHeight();
    table->setSortingEnabled(sorting);
}

// Every row holds one line of text and at most a small icon, so the first rows tell the height
// of all; sizing 300,000 rows to their contents one by one would take seconds.
void MainWindow::fitRowHeight()
{
    QTableWidget *table = ui->tableWidget;
    const QAbstractItemView *view = table; // where sizeHintForRow is public
    int height = 0;
    for (int row = 0; row < std::min(table->rowCount(), 100); ++row)
        height = std::max(height, view->sizeHintForRow(row));
    if (height > 0)
        table->verticalHeader()->setDefaultSectionSize(height);
}

void MainWindow::addGroupRows(int group)
{
    QTableWidget *table = ui->tableWidget;
    const CZRData &data = controller->measurements;
    const int n = data.cellCount(group);
    int row = table->rowCount();
    table->setRowCount(row + n);
    const QIcon ascanIcon = aScanIcon();
    for (int position = 1; position <= n; ++position) {
        MeasurementRecord r;
        if (!data.record(group, position, &r))
            continue;
        table->setItem(row, 0, new QTableWidgetItem(QString::number(group)));
        table->setItem(row, 1, new QTableWidgetItem(QString::number(r.cell)));
        table->setItem(row, 2, new QTableWidgetItem(formatResult(r)));
        table->setItem(row, 3, new QTableWidgetItem(unitText(r.unit)));
        if (data.hasAScans) {
            auto *item = new QTableWidgetItem;
            if (r.hasAScan)
                item->setIcon(ascanIcon);
            table->setItem(row, kAScanColumn, item);
        }
        ++row;
    }
}

QIcon MainWindow::aScanIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap(QStringLiteral(":/Button/ascan.bmp")), QIcon::Normal, QIcon::Off);
    return icon;
}

QString MainWindow::unitText(int unit) const
{
    return unit >= 0 && unit < kUnitCount ? controller->unitTexts[unit] : QString();
}

void MainWindow::dataToClipboard()
{
    QList<int> rows;
    selectedRows(&rows);
    const QTableWidget *table = ui->tableWidget;
    QString text;
    for (int row : rows) {
        for (int column = 0; column < table->columnCount(); ++column) {
            if (column > 0)
                text += QLatin1Char('\t');
            if (const QTableWidgetItem *item = table->item(row, column))
                text += item->text();
        }
        text += QLatin1Char('\n');
    }
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

// Save As: the CSV file, the A-scan pictures beside it, and the unsaved-data question.

bool MainWindow::save()
{
    QList<int> rows;
    selectedRows(&rows);
    return saveData(rows.size() < 2);
}

bool MainWindow::saveAll()
{
    return saveData(true);
}

bool MainWindow::saveSelected()
{
    return saveData(false);
}

bool MainWindow::saveData(bool all)
{
    controller->normaliseDataPath();
    const QString name = controller->defaultResultsFileName();
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save measurements as"), controller->dataPath + name, tr("Measurements (*.csv)"));
    if (path.isEmpty())
        return false;
    QList<int> rows;
    if (all)
        rows = CCsvWriter::allRows(controller->measurements);
    else
        selectedRows(&rows);
    QString problem;
    QStringList failures;
    if (!controller->writeCsv(path, rows, &problem))
        failures << QDir::toNativeSeparators(path) + QStringLiteral(": ") + problem;
    else if (controller->measurements.hasAScans) {
        const QFileInfo info(path);
        saveAscanPictures(info.path() + QLatin1Char('/') + info.baseName() + QLatin1Char('/'), rows,
                          &failures);
    }
    // Half a save is no save: the results stay guarded until every file is written.
    controller->unsavedData = !failures.isEmpty();
    if (!failures.isEmpty())
        tellNotSaved(failures);
    return failures.isEmpty();
}

bool MainWindow::selectedRows(QList<int> *rows) const
{
    if (rows == nullptr)
        return false;
    const QTableWidget *table = ui->tableWidget;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem *item = table->item(row, 0);
        if (item != nullptr && item->isSelected())
            rows->append(row);
    }
    return true;
}

bool MainWindow::confirmDiscardUnsaved()
{
    if (!controller->unsavedData)
        return true;
    const auto answer =
        QMessageBox::warning(this, controller->unsavedTitleText, controller->unsavedQuestionText,
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    switch (answer) {
    case QMessageBox::Cancel:
        return false;
    case QMessageBox::Yes:
        return saveData(true);
    default:
        return true;
    }
}

bool MainWindow::saveAscanPictures(const QString &folder, const QList<int> &rows,
                                   QStringList *failures)
{
    return ascanWindow->savePictures(
        folder, controller->measurements, rows,
        [this](int row) { return controller->heldAScan(row); }, failures);
}

// The A-scan window: following the table, its scales, and its picture.

void MainWindow::createAscanWindow()
{
    ascanWindow =
        new AScanWindow(this, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    connect(ui->ascanButton, &QToolButton::clicked, this, &MainWindow::onSwitchAscan);
    connect(this, &MainWindow::showAscanWin, ascanWindow, &QWidget::show);
    connect(this, &MainWindow::hideAscanWin, ascanWindow, &QWidget::hide);
    connect(this, &MainWindow::vectorChanged, ascanWindow->trace(),
            &QVectorDrawFrame::vectorChanged);
    connect(ui->tableWidget, &QTableWidget::currentCellChanged, this, &MainWindow::getAscan);
    setupAscanWindow();
}

void MainWindow::setupAscanWindow()
{
    ascanWindow->setup();
    connect(ascanWindow->trace(), &QVectorDrawFrame::saveAScan, this,
            &MainWindow::saveAScanPicture);
    connect(ascanWindow->trace(), &QVectorDrawFrame::ascanToClipboard, this,
            &MainWindow::ascanToClipboard);
}

// The labels speak the controller's language, which exists only after the A-scan window.
void MainWindow::setAscanLabels()
{
    AScanWindow::Labels &labels = ascanWindow->labels;
    labels.millimetres = controller->unitTexts[UnitMillimetres];
    labels.inches = controller->unitTexts[UnitInches];
    labels.group = controller->groupText;
    labels.cell = controller->cellText;
}

bool MainWindow::getAscan()
{
    AScanParams params;
    QVector<signed short> samples(kTraceBufferSamples, 0);
    int count = 0;
    MeasurementRecord record;
    const int row = ui->tableWidget->currentRow();
    controller->measurements.recordAt(row, &record);
    const bool fetched = controller->aScanForRow(row, samples.data(), &count, &params);
    updateAscanWindow(&params, &record);
    emit vectorChanged(samples.data(), count, &params);
    return fetched;
}

void MainWindow::updateAscanWindow(const AScanParams *params, const MeasurementRecord *record)
{
    ascanWindow->showResult(params, record);
}

void MainWindow::onSwitchAscan()
{
    if (ascanWindow->isVisible()) {
        emit hideAscanWin();
        return;
    }
    emit showAscanWin();
    dockAscanWindow();
}

void MainWindow::onTableClicked(int row, int column)
{
    const bool wasVisible = ascanWindow->isVisible();
    MeasurementRecord record;
    if (!controller->measurements.recordAt(row, &record))
        return;
    if (!controller->measurements.hasAScans || column != kAScanColumn || !record.hasAScan)
        return;
    emit showAscanWin();
    if (!wasVisible)
        dockAscanWindow();
}

void MainWindow::dockAscanWindow()
{
    const QRect frame = frameGeometry();
    ascanWindow->move(frame.x() + frame.width() - 1, frame.y());
}

QPixmap MainWindow::grabAscanWindow() const
{
    return ascanWindow->picture();
}

bool MainWindow::saveAScanPicture()
{
    MeasurementRecord record;
    controller->measurements.recordAt(ui->tableWidget->currentRow(), &record);
    const QString g = record.group != 0 ? QString::number(record.group) : QString();
    const QString c = record.cell != 0 ? QString::number(record.cell) : QString();
    const QString name =
        QStringLiteral("ascan ") + g + QLatin1Char('_') + c + QStringLiteral(".bmp");
    controller->normaliseDataPath();
    const QString fileName = QFileDialog::getSaveFileName(
        this, tr("Save as BMP"), controller->dataPath + name, tr("BMP files (*.bmp)"));
    if (fileName.isEmpty())
        return false;
    const QPixmap picture = grabAscanWindow();
    const QByteArray format = QFileInfo(fileName).suffix().toLatin1();
    QString problem;
    if (AScanWindow::savePicture(picture, fileName, format.constData(), &problem))
        return true;
    tellNotSaved({QDir::toNativeSeparators(fileName) + QStringLiteral(": ") + problem});
    return false;
}

void MainWindow::tellNotSaved(const QStringList &failures)
{
    QMessageBox::warning(this, controller->programTitle,
                         tr("Not saved:\n%1").arg(failures.join(QLatin1Char('\n'))));
}

void MainWindow::ascanToClipboard()
{
    QGuiApplication::clipboard()->setPixmap(grabAscanWindow(), QClipboard::Clipboard);
}

// Kept downloads opened again from the command line, a drop or Ctrl+O, and the report.

bool MainWindow::openDownload(const QString &path, bool bareExtended)
{
    if (transferTimerId != 0 || !confirmDiscardUnsaved() || !kept->open(path, bareExtended))
        return false;
    applyResultsView();
    return true;
}

void MainWindow::openArchive()
{
    kept->openArchive();
}

void MainWindow::openDownloadDialog()
{
    bool bareExtended = false;
    const QString path = kept->chooseFile(&bareExtended);
    if (!path.isEmpty())
        openDownload(path, bareExtended);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!CKeptDownloads::droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = CKeptDownloads::droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openDownload(path);
}

bool MainWindow::saveReport()
{
    if (ui->tableWidget->isHidden() || ui->tableWidget->rowCount() == 0)
        return false;
    // The rows Save As would write: the selection when it has two rows or more.
    QList<int> rows;
    selectedRows(&rows);
    if (rows.size() < 2)
        rows = CCsvWriter::allRows(controller->measurements);
    return report->run(rows);
}

// The archive window, and the test point of the row selected here.

void MainWindow::showArchive()
{
    if (archiveWindow->isVisible())
        archiveWindow->refresh();
    archiveWindow->show();
    archiveWindow->raise();
    archiveWindow->activateWindow();
    followPointInArchive();
}

void MainWindow::followPointInArchive()
{
    if (!archiveWindow->isVisible())
        return;
    MeasurementRecord record;
    const bool shown = !ui->tableWidget->isHidden() &&
                       controller->measurements.recordAt(ui->tableWidget->currentRow(), &record);
    archiveWindow->showPoint(shown ? record.group : 0, shown ? record.cell : 0);
}

void MainWindow::showDue()
{
    if (dueWindow->isVisible())
        dueWindow->refresh();
    dueWindow->show();
    dueWindow->raise();
    dueWindow->activateWindow();
}

// The evaluation window, for the results on screen, and the row it points at.

void MainWindow::showEvaluation()
{
    if (!resultsShown())
        return;
    evaluationWindow->refresh();
    evaluationWindow->show();
    evaluationWindow->raise();
}

bool MainWindow::resultsShown() const
{
    return !ui->tableWidget->isHidden() && ui->tableWidget->rowCount() > 0;
}

void MainWindow::showReview()
{
    if (!resultsShown())
        return;
    reviewWindow->refresh();
    reviewWindow->show();
    reviewWindow->raise();
}

void MainWindow::showRow(int row)
{
    if (row < 0 || row >= ui->tableWidget->rowCount())
        return;
    ui->tableWidget->selectRow(row);
    ui->tableWidget->scrollToItem(ui->tableWidget->item(row, 0));
    onTableClicked(row, kAScanColumn);
}
