// The transfer: start, the 500 ms reception step, the outcome and the A-scan prefetch.
#include "mainwindow.h"

#include "ui_mainwindowgui.h"
#include "ui_progresswindowgui.h"

#include "data/collatrix.h"
#include "device/comport.h"

#include <QMessageBox>
#include <QTimerEvent>

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
        transferTimerId = startTimer(500);
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
    keepDownload(outcome);
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
        keepAScans();
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

bool MainWindow::prefetchAScans()
{
    bool result = false;
    for (int row = 0; row < controller->measurements.totalCount(); ++row) {
        MeasurementRecord record;
        if (controller->measurements.recordAt(row, &record) && record.hasAScan)
            result = controller->fetchAScan(row);
        QCoreApplication::processEvents();
        // A new transfer, another download opened or the closing window makes the remaining
        // rows moot.
        if (transferTimerId != 0 || closing || controller->fromFile)
            break;
    }
    return result;
}
