// The results table and the clipboard text of its rows.
#include "mainwindow.h"

#include "ui_mainwindowgui.h"

#include "data/collatrix.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>

#include <algorithm>

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
