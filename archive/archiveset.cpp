// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archiveset.h"

#include "format/keptdownload.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace
{

bool readBytes(const QString &path, QByteArray *bytes, QString *problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = file.errorString();
        return false;
    }
    *bytes = file.readAll();
    return true;
}

// The kept file's contents as a download; a bare dump knows no time but its file's.
bool readKept(const QString &path, CKeptDownload *kept, QByteArray *bytes, QString *problem)
{
    if (!readBytes(path, bytes, problem) || !kept->fromBytes(*bytes, false, problem))
        return false;
    if (kept->bareDump)
        kept->time = QFileInfo(path).lastModified();
    return true;
}

} // namespace

CArchiveSet::CArchiveSet(const CArchiveLocation &chosen, const QString &embeddedPath)
    : local(chosen.isShared() ? CArchiveLocation::embedded(embeddedPath) : chosen)
{
    if (chosen.isShared())
        shared = std::make_unique<CArchive>(chosen);
}

bool CArchiveSet::open(QString *problem)
{
    if (!local.open(problem))
        return false;
    if (shared)
        reachShared(problem);
    return true;
}

bool CArchiveSet::reachShared(QString *problem)
{
    if (shared->isOpen())
        return true;
    if (!away.isEmpty()) {
        *problem = away;
        return false;
    }
    int brought = 0;
    return sync(&brought, problem);
}

bool CArchiveSet::record(const CKeptDownload &kept, const QByteArray &fileBytes,
                         const QString &file, const QString &identification, QString *problem)
{
    return recordBoth(kept, fileBytes, file, identification, problem) != CArchive::Recorded::Failed;
}

// What the chosen archive made of it: the shared one's answer when it took the download.
CArchive::Recorded CArchiveSet::recordBoth(const CKeptDownload &kept, const QByteArray &fileBytes,
                                           const QString &file, const QString &identification,
                                           QString *problem)
{
    const CArchive::Recorded recorded =
        local.record(kept, fileBytes, file, identification, problem);
    if (recorded == CArchive::Recorded::Failed || !shared)
        return recorded;
    const CArchive::Recorded there = share(kept, fileBytes, file, identification, problem);
    if (there != CArchive::Recorded::Failed)
        return there;
    QString marking;
    if (!local.setWaiting(CArchive::sha256Of(fileBytes), true, &marking))
        *problem += QLatin1Char(' ') + marking;
    return recorded;
}

CArchive::Recorded CArchiveSet::share(const CKeptDownload &kept, const QByteArray &fileBytes,
                                      const QString &file, const QString &identification,
                                      QString *problem)
{
    QString reason;
    if (reachShared(&reason)) {
        const CArchive::Recorded there =
            shared->record(kept, fileBytes, file, identification, &reason);
        if (there != CArchive::Recorded::Failed)
            return there;
    }
    *problem = tr("The shared archive cannot take the download now (%1); it is kept and will be "
                  "shared later.")
                   .arg(reason);
    return CArchive::Recorded::Failed;
}

CArchive::Recorded CArchiveSet::recordFile(const QString &path, QString *problem)
{
    CKeptDownload kept;
    QByteArray bytes;
    QString reason;
    if (!readKept(path, &kept, &bytes, &reason)) {
        *problem = path + QStringLiteral(": ") + reason;
        return CArchive::Recorded::Failed;
    }
    return recordBoth(kept, bytes, QFileInfo(path).absoluteFilePath(), QString(), problem);
}

QStringList CArchiveSet::filesOf(const QStringList &paths)
{
    QStringList files;
    for (const QString &path : paths) {
        if (!QFileInfo(path).isDir()) {
            files << path;
            continue;
        }
        QStringList found;
        QDirIterator it(path, {QStringLiteral("*.clxd")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        found.sort();
        files << found;
    }
    return files;
}

CArchiveSet::Tally CArchiveSet::import(const QStringList &paths, const Progress &progress)
{
    Tally tally;
    const QStringList files = filesOf(paths);
    for (int i = 0; i < files.size(); ++i) {
        QString problem;
        switch (recordFile(files.at(i), &problem)) {
        case CArchive::Recorded::New:
            ++tally.recorded;
            break;
        case CArchive::Recorded::Known:
            ++tally.known;
            break;
        case CArchive::Recorded::Failed:
            break;
        }
        if (!problem.isEmpty())
            tally.problems << problem;
        if (progress)
            progress(i + 1, int(files.size()), files.at(i));
    }
    return tally;
}

bool CArchiveSet::decide(const ArchiveDecision &decision, QString *problem)
{
    ArchiveDecision stamped = decision;
    if (!stamped.at.isValid())
        stamped.at = QDateTime::currentDateTime();
    if (!local.decide(stamped, shared != nullptr, problem))
        return false;
    if (!shared)
        return true;
    QString reason;
    if (!reachShared(&reason) || !shared->decide(stamped, false, &reason)) {
        *problem = tr("The shared archive cannot take the decision now (%1); it is kept and will "
                      "be shared later.")
                       .arg(reason);
        return true;
    }
    return local.setDecisionWaiting(stamped, false, problem);
}

bool CArchiveSet::sync(int *brought, QString *problem, const Progress &progress)
{
    *brought = 0;
    if (!shared) {
        *problem = tr("No shared archive is chosen.");
        return false;
    }
    away.clear();
    if (!shared->isOpen() && !shared->open(problem)) {
        away = *problem;
        return false;
    }
    QStringList problems;
    if (!bringWaiting(brought, &problems, progress, problem))
        return false;
    *problem = problems.join(QLatin1Char('\n'));
    return problems.isEmpty();
}

bool CArchiveSet::bringWaiting(int *brought, QStringList *problems, const Progress &progress,
                               QString *problem)
{
    QString listing;
    const QList<ArchiveDownload> downloads = local.downloads(true, &listing);
    const QList<ArchiveDecision> decisions =
        listing.isEmpty() ? local.decisions(true, &listing) : QList<ArchiveDecision>();
    if (!listing.isEmpty()) {
        *problem = listing;
        return false;
    }
    const int total = int(downloads.size() + decisions.size());
    int done = 0;
    const auto tried = [&](bool across, const QString &what, const QString &reason) {
        if (across)
            ++*brought;
        else
            *problems << tr("%1 could not be shared: %2").arg(what, reason);
        if (progress)
            progress(++done, total, what);
    };
    for (const ArchiveDownload &d : downloads) {
        CKeptDownload kept;
        QByteArray bytes;
        QString reason;
        tried(readKept(d.file, &kept, &bytes, &reason) &&
                  shared->record(kept, bytes, d.file, d.identification, &reason) !=
                      CArchive::Recorded::Failed &&
                  local.setWaiting(d.sha256, false, &reason),
              d.file, reason);
    }
    for (const ArchiveDecision &d : decisions) {
        QString reason;
        tried(shared->decide(d, false, &reason) && local.setDecisionWaiting(d, false, &reason),
              tr("The decision on group %1, cell %2 of %3")
                  .arg(d.group)
                  .arg(d.cell)
                  .arg(CArchive::timeText(d.readingTime)),
              reason);
    }
    return true;
}

int CArchiveSet::waitingCount()
{
    QString problem;
    return int(local.downloads(true, &problem).size());
}
