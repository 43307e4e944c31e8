// Save As: the CSV file, the A-scan pictures beside it, and the unsaved-data question.
#include "mainwindow.h"

#include "ui_mainwindowgui.h"

#include "data/collatrix.h"
#include "data/csvwriter.h"

#include "ascan/ascanwindow.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

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
    const bool ok = controller->writeCsv(path, rows);
    if (controller->measurements.hasAScans) {
        const QFileInfo info(path);
        saveAscanPictures(info.path() + QLatin1Char('/') + info.baseName() + QLatin1Char('/'),
                          rows);
    }
    return ok;
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

bool MainWindow::saveAscanPictures(const QString &folder, const QList<int> &rows)
{
    return ascanWindow->savePictures(folder, controller->measurements, rows,
                                     [this](int row) { return heldAScan(row); });
}

// A row's A-scan, fetched first when the tester still has it.
const AScanEntry *MainWindow::heldAScan(int row)
{
    return controller->aScanForRow(row, nullptr, nullptr, nullptr) ? &controller->aScanCache[row]
                                                                   : nullptr;
}
