// Kept downloads: written as a reception ends, completed after the A-scan prefetch, and opened
// again from the command line, a drop or Ctrl+O.
#include "mainwindow.h"

#include "data/collatrix.h"
#include "data/keptfolder.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>

namespace
{

QString droppedFile(const QMimeData *mime)
{
    const QList<QUrl> urls = mime->urls();
    return urls.size() == 1 && urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
}

} // namespace

void MainWindow::keepDownload(CTransferEngine::Outcome outcome)
{
    QString problem;
    if (!controller->keepReception(outcome, &problem))
        tellNotKept(problem);
}

void MainWindow::keepAScans()
{
    QString problem;
    if (!controller->keepAScans(&problem))
        tellNotKept(problem);
}

// Once a run is enough: the folder does not become writable between two downloads by itself.
void MainWindow::tellNotKept(const QString &problem)
{
    if (notKeptTold)
        return;
    notKeptTold = true;
    QMessageBox::warning(
        this, controller->programTitle,
        tr("Downloads are not being kept: %1 cannot be written (%2).\nThe received data is "
           "shown as usual; save it before you close the program.")
            .arg(QDir::toNativeSeparators(CKeptFolder::defaultPath()), problem));
}

bool MainWindow::openDownload(const QString &path, bool bareExtended)
{
    if (transferTimerId != 0 || !confirmDiscardUnsaved())
        return false;
    // A-scans fetched so far belong to the download on screen; keep them before it goes.
    keepAScans();
    QString problem;
    if (!controller->openDownload(path, bareExtended, &problem)) {
        QMessageBox::warning(
            this, controller->programTitle,
            tr("Cannot open %1:\n%2.").arg(QDir::toNativeSeparators(path), problem));
        return false;
    }
    applyResultsView();
    return true;
}

void MainWindow::openDownloadDialog()
{
    const QString kept = tr("Kept downloads (*%1)").arg(CKeptFolder::kSuffix);
    const QString dump = tr("Tester dumps (*)");
    const QString extendedDump = tr("Tester dumps of 32-byte records (*)");
    QString filter = kept;
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open a kept download"), CKeptFolder::defaultPath(),
        QStringList{kept, dump, extendedDump}.join(QStringLiteral(";;")), &filter);
    if (!path.isEmpty())
        openDownload(path, filter == extendedDump);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openDownload(path);
}
