// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/archiveservice.h"

#include "archive/archiveset.h"
#include "format/keptdownload.h"
#include "services/archivesettings.h"

#include <QPointer>
#include <QTimer>

CArchiveService::CArchiveService(Threading threading, const QString &url)
    : threading(threading), localUrl(url), url(url)
{
    if (threading == Threading::CallersThread)
        return;
    worker = new QObject;
    worker->moveToThread(&thread);
    thread.setObjectName(QStringLiteral("archive"));
}

// The stop is queued behind the work still waiting, so no download is lost; the archive's
// connections close on the thread that opened them.
CArchiveService::~CArchiveService()
{
    local.reset();
    if (threading == Threading::CallersThread)
        return;
    if (!thread.isRunning()) {
        delete worker;
        return;
    }
    QMetaObject::invokeMethod(
        worker,
        [this] {
            delete retry;
            set.reset();
            thread.quit();
        },
        Qt::QueuedConnection);
    thread.wait();
    delete worker;
}

// The thread starts with the first work: a controller that never uses the archive, as in a
// program without an event loop, has no thread to stop.
QObject *CArchiveService::started()
{
    if (!thread.isRunning())
        thread.start();
    return worker;
}

void CArchiveService::post(const std::function<void()> &step)
{
    if (threading == Threading::CallersThread)
        step();
    else
        QMetaObject::invokeMethod(started(), step, Qt::QueuedConnection);
}

void CArchiveService::open(const QStringList &keptFiles)
{
    post([this, keptFiles] { ensureOpen(keptFiles); });
}

void CArchiveService::reopen(const QString &newUrl, const QString &newPassword)
{
    local.reset();
    localUrl = newUrl;
    post([this, newUrl, newPassword] {
        set.reset();
        url = newUrl;
        password = newPassword;
        ensureOpen();
    });
}

void CArchiveService::record(const CKeptDownload &kept, const QString &file,
                             const QString &identification)
{
    post([this, kept, file, identification] { recordNow(kept, file, identification); });
}

void CArchiveService::sync()
{
    post([this] { syncNow(); });
}

void CArchiveService::checkPassword()
{
    post([this] {
        const bool wanted = ensureOpen() && !set->sharedOpen() && set->passwordWanted();
        if (wanted)
            updateState(state().problem, Reach::PasswordWanted);
        emit passwordChecked(wanted);
    });
}

void CArchiveService::query(const Work &work, QObject *context, const std::function<void()> &done)
{
    // The context is looked at on its own thread, where it cannot go while it is looked at.
    const QPointer<QObject> guard(context);
    post([this, work, guard, done] {
        if (ensureOpen())
            work(*set);
        QMetaObject::invokeMethod(
            this,
            [guard, done] {
                if (guard)
                    done();
            },
            Qt::QueuedConnection);
    });
}

bool CArchiveService::run(const Work &work, QString *problem)
{
    bool usable = false;
    const auto step = [&] {
        usable = ensureOpen();
        if (usable)
            work(*set);
    };
    if (threading == Threading::CallersThread)
        step();
    else
        QMetaObject::invokeMethod(started(), step, Qt::BlockingQueuedConnection);
    if (!usable)
        *problem = state().problem;
    return usable;
}

bool CArchiveService::read(const Work &work, QString *problem)
{
    if (threading == Threading::CallersThread || state().reach == Reach::Shared)
        return run(work, problem);
    if (!local) {
        CArchiveLocation location;
        if (!CArchiveLocation::chosen(localUrl.isEmpty() ? CArchiveSettings::chosenUrl() : localUrl,
                                      &location, problem))
            return false;
        auto opened = std::make_unique<CArchiveSet>(
            location.isShared() ? CArchiveLocation::embedded() : location);
        if (!opened->open(problem))
            return false;
        local = std::move(opened);
    }
    work(*local);
    return true;
}

CArchiveService::State CArchiveService::state() const
{
    const QMutexLocker lock(&mutex);
    return current;
}

QString CArchiveService::describe(const State &state)
{
    switch (state.reach) {
    case Reach::Opening:
        return tr("Opening the archive...");
    case Reach::Embedded:
        return QString();
    case Reach::Shared:
        return state.waiting > 0 ? tr("Shared archive: %n download(s) waiting", "", state.waiting)
                                 : tr("Shared archive reached");
    case Reach::Away: {
        const qint64 seconds =
            std::max<qint64>(0, QDateTime::currentDateTime().secsTo(state.nextTry));
        return (state.waiting > 0
                    ? tr("Shared archive not reachable, %n download(s) waiting, next try in %1 s",
                         "", state.waiting)
                    : tr("Shared archive not reachable, next try in %1 s"))
            .arg(seconds);
    }
    case Reach::PasswordWanted:
        return tr("The shared archive wants a password: open the Archive window");
    case Reach::Unusable:
        return tr("The archive cannot be used: %1").arg(state.problem);
    }
    return QString();
}

bool CArchiveService::ensureOpen(const QStringList &keptFiles)
{
    if (set)
        return true;
    CArchiveLocation location;
    QString problem;
    if (!CArchiveLocation::chosen(url.isEmpty() ? CArchiveSettings::chosenUrl() : url, &location,
                                  &problem)) {
        setState({Reach::Unusable, 0, QDateTime(), problem});
        return false;
    }
    location.password = password;
    auto opened = std::make_unique<CArchiveSet>(location);
    if (!opened->open(&problem)) {
        setState({Reach::Unusable, 0, QDateTime(), problem});
        return false;
    }
    if (opened->embedded().created() && !keptFiles.isEmpty()) {
        const CArchiveSet::Tally tally =
            opened->import(keptFiles, [this](int done, int total, const QString &) {
                emit importProgress(done, total);
            });
        if (!tally.problems.isEmpty())
            problem = tally.problems.join(QLatin1Char('\n'));
    }
    set = std::move(opened);
    updateState(problem);
    return true;
}

void CArchiveService::recordNow(const CKeptDownload &kept, const QString &file,
                                const QString &identification)
{
    QString problem;
    if (ensureOpen()) {
        set->record(kept, kept.toBytes(), file, identification, &problem);
        updateState(problem);
    } else {
        problem = state().problem;
    }
    emit recorded(problem);
}

void CArchiveService::syncNow()
{
    int brought = 0;
    QString problem;
    if (ensureOpen()) {
        set->sync(&brought, &problem);
        updateState(problem);
    } else {
        problem = state().problem;
    }
    emit synced(brought, problem);
}

// A shared archive out of reach is tried again after a while, by a sync of what waits.
void CArchiveService::updateState(const QString &problem, Reach away)
{
    State next;
    next.problem = problem;
    next.waiting = set->hasShared() ? set->waitingCount() : 0;
    if (!set->hasShared())
        next.reach = Reach::Embedded;
    else if (set->sharedOpen())
        next.reach = Reach::Shared;
    else
        next.reach = away;
    if (next.reach == Reach::Away && threading == Threading::OwnThread) {
        if (!retry) {
            retry = new QTimer;
            retry->setSingleShot(true);
            connect(retry, &QTimer::timeout, retry, [this] { syncNow(); });
        }
        retry->start(retryMs);
        next.nextTry = QDateTime::currentDateTime().addMSecs(retryMs);
    }
    setState(next);
}

void CArchiveService::setState(const State &state)
{
    {
        const QMutexLocker lock(&mutex);
        current = state;
    }
    emit stateChanged();
}
