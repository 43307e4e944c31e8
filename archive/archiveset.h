// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archive.h"

#include <QCoreApplication>
#include <QStringList>

#include <functional>
#include <memory>

// The embedded archive every download goes into, and the shared one of a team when one is
// chosen. A download or a decision the shared archive cannot take now is marked as waiting in the
// embedded one and brought across by the next connection or by sync(), once.
class CArchiveSet
{
    Q_DECLARE_TR_FUNCTIONS(CArchiveSet)

public:
    using Progress = std::function<void(int done, int total, const QString &path)>;
    struct Tally {
        int recorded = 0;
        int known = 0;
        // One line per file that could not be recorded.
        QStringList problems;
    };

    // A shared archive chosen comes beside the embedded file at embeddedPath; an embedded one
    // chosen takes its place.
    explicit CArchiveSet(const CArchiveLocation &chosen,
                         const QString &embeddedPath = CArchiveLocation::defaultPath());

    // False when the embedded archive cannot be used. A shared archive out of reach is no
    // failure: *problem says so and its downloads wait.
    bool open(QString *problem);
    // The shared archive could not be opened last because its server wants a password; see
    // CArchive::passwordWanted().
    bool passwordWanted() const { return shared && shared->passwordWanted(); }
    CArchive &embedded() { return local; }
    // The shared archive when one is chosen, else the embedded one.
    CArchive &chosen() { return shared ? *shared : local; }
    bool hasShared() const { return shared != nullptr; }
    bool sharedOpen() const { return shared && shared->isOpen(); }
    // The shared archive when it is reached, else the embedded one: what the windows list.
    CArchive &reached() { return sharedOpen() ? *shared : local; }

    // Records a kept download in both; false when the embedded archive failed. *problem tells
    // what went wrong with either.
    bool record(const CKeptDownload &kept, const QByteArray &fileBytes, const QString &file,
                const QString &identification, QString *problem);
    bool record(const CKeptDownload &kept, const QByteArray &fileBytes, const QString &file,
                QString *problem)
    {
        return record(kept, fileBytes, file, QString(), problem);
    }
    // Records a decision on a reading in both, now when it carries no time; false when the
    // embedded archive failed. *problem tells what went wrong with either.
    bool decide(const ArchiveDecision &decision, QString *problem);
    // A kept download or a bare dump (timed by its file) as export reads it.
    CArchive::Recorded recordFile(const QString &path, QString *problem);
    // Files, and the kept downloads in folders and below them.
    Tally import(const QStringList &paths, const Progress &progress = {});
    // Brings every waiting download, then every waiting decision, into the shared archive;
    // *brought counts both. progress hears of each one tried.
    bool sync(int *brought, QString *problem, const Progress &progress = {});
    // The downloads waiting.
    int waitingCount();

    static QStringList filesOf(const QStringList &paths);

private:
    bool reachShared(QString *problem);
    CArchive::Recorded recordBoth(const CKeptDownload &kept, const QByteArray &fileBytes,
                                  const QString &file, const QString &identification,
                                  QString *problem);
    // Each waiting download and decision in turn; false when the embedded archive could not list
    // them.
    bool bringWaiting(int *brought, QStringList *problems, const Progress &progress,
                      QString *problem);
    CArchive::Recorded share(const CKeptDownload &kept, const QByteArray &fileBytes,
                             const QString &file, const QString &identification, QString *problem);

    CArchive local;
    std::unique_ptr<CArchive> shared;
    // Why the shared archive could not be reached; until the next sync() downloads wait at once
    // instead of each trying a server that did not answer.
    QString away;
};
