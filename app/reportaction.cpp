// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/reportaction.h"

#include "data/collatrix.h"
#include "format/csvwriter.h"
#include "report/reportwriter.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

CReportAction::CReportAction(CCollatrix *controller, const AScanWindow *ascanWindow,
                             QWidget *window)
    : QObject(window), controller(controller), ascanWindow(ascanWindow), window(window)
{
}

ReportSource CReportAction::sourceOf(const QList<int> &rows) const
{
    ReportSource source;
    source.data = &controller->measurements;
    source.rows = rows;
    source.aScanOf = [this](int row) { return controller->heldAScan(row); };
    const CKeptDownload &kept = controller->download->kept;
    source.time = kept.time;
    source.port = kept.port;
    source.outcome = kept.outcome;
    // As the command line does: the particulars last given for these objects.
    QString problem;
    source.particulars = controller->evaluation->particulars(controller->measurements, &problem);
    return source;
}

bool CReportAction::run(const QList<int> &rows)
{
    return write(sourceOf(rows));
}

bool CReportAction::runEvaluated(const CEvaluation &evaluation,
                                 const QMap<QString, QString> &particulars,
                                 const QMap<int, int> &mapWidths)
{
    ReportSource source = sourceOf(CCsvWriter::allRows(controller->measurements));
    source.evaluation = &evaluation;
    source.particulars = particulars;
    source.mapWidths = mapWidths;
    return write(source);
}

bool CReportAction::write(const ReportSource &source)
{
    controller->normaliseDataPath();
    const QString name = CCollatrix::uniqueFileName(controller->dataPath, QStringLiteral("report"),
                                                    QStringLiteral(".pdf"));
    const QString path = QFileDialog::getSaveFileName(
        window, tr("Save report as"), controller->dataPath + name, tr("PDF files (*.pdf)"));
    if (path.isEmpty())
        return false;
    CReportWriter report(source, controller->version);
    report.format = controller->csvWriter();
    report.labels = ascanWindow->labels;
    QString problem;
    if (report.write(path, &problem))
        return true;
    QMessageBox::warning(window, controller->programTitle,
                         tr("The report cannot be written to %1:\n%2.")
                             .arg(QDir::toNativeSeparators(path), problem));
    return false;
}
