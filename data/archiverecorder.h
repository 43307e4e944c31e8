// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/keptdownload.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <memory>

class CArchiveSet;

// Records kept downloads in the archive on a thread of its own, so that a shared server that does
// not answer holds up this thread only, never the window. Downloads are recorded in the order
// they were kept, and every one of them before the recorder is gone.
class CArchiveRecorder : public QObject
{
    Q_OBJECT

public:
    CArchiveRecorder();
    ~CArchiveRecorder() override;
    CArchiveRecorder(const CArchiveRecorder &) = delete;
    CArchiveRecorder &operator=(const CArchiveRecorder &) = delete;

    void record(const CKeptDownload &kept, const QString &file, const QString &identification);
    // The next download opens the archive afresh: another shared archive, or a password.
    void reopen(const QString &password);

signals:
    // Each download once it is recorded; problem is empty when all went well.
    void recorded(const QString &problem);

private:
    // On the recorder's thread only.
    QString recordNow(const CKeptDownload &kept, const QString &file,
                      const QString &identification);

    QThread thread;
    QObject *worker = nullptr;
    std::unique_ptr<CArchiveSet> set;
    QString password;
};
