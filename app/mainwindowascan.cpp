// The A-scan window: following the table, its scales, and its picture.
#include "mainwindow.h"

#include "ui_ascanwindowgui.h"
#include "ui_mainwindowgui.h"

#include "data/collatrix.h"

#include "ascan/scaleframe.h"
#include "ascan/vectordrawframe.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>

void MainWindow::createAscanWindow()
{
    ascanWindow =
        new QWidget(this, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    ascanUi->setupUi(ascanWindow);
    connect(ui->ascanButton, &QToolButton::clicked, this, &MainWindow::onSwitchAscan);
    connect(this, &MainWindow::showAscanWin, ascanWindow, &QWidget::show);
    connect(this, &MainWindow::hideAscanWin, ascanWindow, &QWidget::hide);
    connect(this, &MainWindow::vectorChanged, ascanUi->ascanFrame,
            &QVectorDrawFrame::vectorChanged);
    connect(ui->tableWidget, &QTableWidget::currentCellChanged, this, &MainWindow::getAscan);
    setupAscanWindow();
}

void MainWindow::setupAscanWindow()
{
    QVectorDrawFrame *trace = ascanUi->ascanFrame;
    trace->initPicture();
    trace->displayMode = QVectorDrawFrame::ModePolyline;
    trace->hLinesShown = true;
    trace->setHorizontalGrid(0, 100, 0, 25);
    trace->vLinesShown = true;
    trace->setVerticalGrid(0, 10, 0, 1);
    trace->valueMin = 0;
    trace->valueMax = 118; // the amplitude scale's 100 % sits at sample value 118
    QScaleFrame *amplitude = ascanUi->VScaleFrame;
    amplitude->position = QAbstractScale::ScaleLeft;
    amplitude->direction = -1;
    amplitude->setRange(0, 100);
    amplitude->setTicks(0, 25, 12.5, QStringLiteral("%"));
    QScaleFrame *depth = ascanUi->HScaleFrame;
    depth->position = QAbstractScale::ScaleBottom;
    depth->direction = 1;
    depth->setRange(0, 10);
    depth->setTicks(0, 1, 0.5, QStringLiteral("mm"));
    ascanUi->LValue->clear();
    ascanUi->LGroup->clear();
    ascanUi->LNumber->clear();
    connect(trace, &QVectorDrawFrame::saveAScan, this, &MainWindow::saveAScanPicture);
    connect(trace, &QVectorDrawFrame::ascanToClipboard, this, &MainWindow::ascanToClipboard);
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
    QString unit = controller->unitTexts[UnitMillimetres];
    bool mm = true;
    if (record != nullptr) {
        const float value = float(double(record->rawValue) / record->divisor);
        QString valueText;
        valueText.setNum(value, 'g', 6);
        mm = record->unit == UnitMillimetres;
        unit = controller->unitTexts[mm ? UnitMillimetres : UnitInches];
        ascanUi->LValue->setText(valueText + QLatin1Char(' ') + unit);
        ascanUi->LGroup->setText(controller->groupText + QStringLiteral("  ") +
                                 QString::number(record->group));
        ascanUi->LNumber->setText(controller->cellText + QStringLiteral("  ") +
                                  QString::number(record->cell));
    } else {
        ascanUi->LValue->clear();
        ascanUi->LGroup->clear();
        ascanUi->LNumber->clear();
    }
    if (params != nullptr) {
        const double span = params->rangeEnd - params->rangeStart;
        QScaleFrame *depth = ascanUi->HScaleFrame;
        depth->setRange(params->rangeStart, span);
        const double step = QScaleFrame::depthStep(span, mm);
        depth->setTicks(0.0, step, 0.5 * step, unit);
        depth->repaint();
    }
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
    return ascanWindow->grab(QRect(0, 0, -1, -1));
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
