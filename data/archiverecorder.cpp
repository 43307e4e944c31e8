// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/archiverecorder.h"

#include "archive/archiveset.h"
#include "data/archivesettings.h"

CArchiveRecorder::CArchiveRecorder() : worker(new QObject)
{
    worker->moveToThread(&thread);
    thread.start();
}

// The stop is queued behind the downloads still waiting, so none of them is lost; the archive's
// connections close on the thread that opened them.
CArchiveRecorder::~CArchiveRecorder()
{
    QMetaObject::invokeMethod(
        worker,
        [this] {
            set.reset();
            thread.quit();
        },
        Qt::QueuedConnection);
    thread.wait();
    delete worker;
}

void CArchiveRecorder::record(const CKeptDownload &kept, const QString &file,
                              const QString &identification)
{
    QMetaObject::invokeMethod(
        worker,
        [this, kept, file, identification] {
            emit recorded(recordNow(kept, file, identification));
        },
        Qt::QueuedConnection);
}

void CArchiveRecorder::reopen(const QString &newPassword)
{
    QMetaObject::invokeMethod(
        worker,
        [this, newPassword] {
            set.reset();
            password = newPassword;
        },
        Qt::QueuedConnection);
}

QString CArchiveRecorder::recordNow(const CKeptDownload &kept, const QString &file,
                                    const QString &identification)
{
    QString problem;
    if (!set) {
        CArchiveLocation location;
        if (!CArchiveLocation::chosen(CArchiveSettings::chosenUrl(), &location, &problem))
            return problem;
        location.password = password;
        set = std::make_unique<CArchiveSet>(location);
        if (!set->open(&problem)) {
            set.reset();
            return problem;
        }
    }
    set->record(kept, kept.toBytes(), file, identification, &problem);
    return problem;
}
