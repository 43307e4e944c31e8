// The A-scan window: following the table, its scales, and its picture.
#include "mainwindow.h"

#include "ui_mainwindowgui.h"

#include "data/collatrix.h"

#include "ascan/ascanwindow.h"
#include "ascan/vectordrawframe.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>

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
    const QPixmap picture = grabAscanWindow();
    return !fileName.isEmpty() && picture.save(fileName);
}

void MainWindow::ascanToClipboard()
{
    QGuiApplication::clipboard()->setPixmap(grabAscanWindow(), QClipboard::Clipboard);
}
