// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/transferengine.h"

#include <QObject>
#include <QString>

class CCollatrix;
class QMimeData;
class QWidget;

// Keeping and opening downloads on behalf of the main window: each reception is kept as it ends
// and completed after the A-scan prefetch; a kept download or a bare dump opens again from a file
// dialog or a drop. The messages go to the window given.
class CKeptDownloads : public QObject
{
    Q_OBJECT

public:
    CKeptDownloads(CCollatrix *controller, QWidget *window);

    void keep(CTransferEngine::Outcome outcome);
    void keepAScans();
    // Opens the archive at the start; a new one takes in the kept downloads.
    void openArchive();
    // Hands the file to the controller; a file that cannot be read is named in a message.
    bool open(const QString &path, bool bareExtended);
    // The file chosen in the open dialog, empty when none; *bareExtended when its type was the
    // dumps of 32-byte records.
    QString chooseFile(bool *bareExtended);
    // The one local file a drop carries, empty otherwise.
    static QString droppedFile(const QMimeData *mime);

private:
    void tellNotKept(const QString &problem);

    CCollatrix *controller;
    QWidget *window;
    bool notKeptTold = false;
};
