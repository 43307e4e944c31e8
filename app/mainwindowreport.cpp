// The inspection report: Report... in the table's context menu and Ctrl+P.
#include "mainwindow.h"

#include "reportwriter.h"

#include "ui_mainwindowgui.h"

#include "data/collatrix.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

bool MainWindow::saveReport()
{
    if (ui->tableWidget->isHidden() || ui->tableWidget->rowCount() == 0)
        return false;
    controller->normaliseDataPath();
    const QString name = CCollatrix::uniqueFileName(controller->dataPath, QStringLiteral("report"),
                                                    QStringLiteral(".pdf"));
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save report as"), controller->dataPath + name, tr("PDF files (*.pdf)"));
    if (path.isEmpty())
        return false;
    // The rows Save As would write: the selection when it has two rows or more.
    QList<int> rows;
    selectedRows(&rows);
    if (rows.size() < 2)
        rows = CCsvWriter::allRows(controller->measurements);
    CReportWriter::Source source;
    source.data = &controller->measurements;
    source.rows = rows;
    source.aScanOf = [this](int row) { return heldAScan(row); };
    source.time = controller->kept.time;
    source.port = controller->kept.port;
    source.outcome = controller->kept.outcome;
    CReportWriter report(source, controller->version);
    report.format = controller->csvWriter();
    report.labels = ascanWindow->labels;
    QString problem;
    if (report.write(path, &problem))
        return true;
    QMessageBox::warning(this, controller->programTitle,
                         tr("The report cannot be written to %1:\n%2.")
                             .arg(QDir::toNativeSeparators(path), problem));
    return false;
}
