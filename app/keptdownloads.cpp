// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/keptdownloads.h"

#include "data/collatrix.h"
#include "services/keptfolder.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

CKeptDownloads::CKeptDownloads(CCollatrix *controller, QWidget *window)
    : QObject(window), controller(controller), window(window)
{
}

void CKeptDownloads::keep(CTransferEngine::Outcome outcome)
{
    QString problem;
    if (!controller->keepReception(outcome, &problem))
        tellNotKept(problem);
}

void CKeptDownloads::keepAScans()
{
    QString problem;
    if (!controller->keepAScans(&problem))
        tellNotKept(problem);
}

// On the archive's own thread: the window is there at once, and the status area follows.
void CKeptDownloads::openArchive()
{
    controller->archive->open(CKeptFolder().files());
}

// Once a run is enough: the folder does not become writable between two downloads by itself.
void CKeptDownloads::tellNotKept(const QString &problem)
{
    if (notKeptTold)
        return;
    notKeptTold = true;
    QMessageBox::warning(
        window, controller->programTitle,
        tr("Downloads are not being kept: %1 cannot be written (%2).\nThe received data is "
           "shown as usual; save it before you close the program.")
            .arg(QDir::toNativeSeparators(CKeptFolder::defaultPath()), problem));
}

bool CKeptDownloads::open(const QString &path, bool bareExtended)
{
    // A-scans fetched so far belong to the download on screen; keep them before it goes.
    keepAScans();
    QString problem;
    if (controller->openDownload(path, bareExtended, &problem))
        return true;
    QMessageBox::warning(window, controller->programTitle,
                         tr("Cannot open %1:\n%2.").arg(QDir::toNativeSeparators(path), problem));
    return false;
}

QString CKeptDownloads::chooseFile(bool *bareExtended)
{
    const QString kept = tr("Kept downloads (*%1)").arg(CKeptFolder::kSuffix);
    const QString dump = tr("Tester dumps (*)");
    const QString extendedDump = tr("Tester dumps of 32-byte records (*)");
    QString filter = kept;
    const QString path = QFileDialog::getOpenFileName(
        window, tr("Open a kept download"), CKeptFolder::defaultPath(),
        QStringList{kept, dump, extendedDump}.join(QStringLiteral(";;")), &filter);
    *bareExtended = filter == extendedDump;
    return path;
}

QString CKeptDownloads::droppedFile(const QMimeData *mime)
{
    const QList<QUrl> urls = mime->urls();
    return urls.size() == 1 && urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
}
