// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>
#include <memory>

class CArchiveSet;
class CKeptDownload;
class QTimer;

// The archive as the window and the command line use it: opening it (a new embedded archive
// takes in the downloads kept before it), recording each download as it is kept, bringing the
// waiting ones into a team's shared archive, and queries. In the window all of it runs on a
// thread of the service's own, in the order asked, so that a shared server that does not answer
// holds up that thread only; while the server is away the service tries it again now and then.
// The command line runs the same steps on its own thread.
class CArchiveService : public QObject
{
    Q_OBJECT

public:
    enum class Threading { OwnThread, CallersThread };
    enum class Reach {
        Opening,        // not yet tried
        Embedded,       // no shared archive is chosen
        Shared,         // the shared archive answers
        Away,           // the shared archive does not answer; downloads wait in the embedded one
        PasswordWanted, // the server wants a password nobody gave yet
        Unusable        // not even the embedded archive can be used
    };
    struct State {
        Reach reach = Reach::Opening;
        // Downloads waiting for the shared archive.
        int waiting = 0;
        // When the service tries an absent shared archive again.
        QDateTime nextTry;
        // What went wrong last; empty when all went well.
        QString problem;
    };
    using Work = std::function<void(CArchiveSet &set)>;

    // The archive chosen by url; an empty one means $COLLATRIX_ARCHIVE, else the shared archive of
    // the settings, else the embedded file.
    explicit CArchiveService(Threading threading = Threading::OwnThread,
                             const QString &url = QString());
    // Waits for what was asked before: no download is lost.
    ~CArchiveService() override;
    CArchiveService(const CArchiveService &) = delete;
    CArchiveService &operator=(const CArchiveService &) = delete;

    // Opens the archive; when the embedded archive is new it takes in the given kept files.
    void open(const QStringList &keptFiles = {});
    // Opens the archive afresh: another URL chosen (empty as above), or a password typed.
    void reopen(const QString &url, const QString &password);
    void record(const CKeptDownload &kept, const QString &file, const QString &identification);
    void sync();
    // Asks whether the shared archive's server wants a password nobody gave yet; the answer
    // comes as passwordChecked. It costs another attempt to reach the server, so only the user's
    // own move asks it.
    void checkPassword();
    // Runs work with the open archives on the service's thread, then done on the context's
    // thread (unless the context is gone by then). Work is skipped while the archive is unusable.
    void query(const Work &work, QObject *context, const std::function<void()> &done);
    // Runs work with the open archives and returns when it ran; false when the archive is
    // unusable, with the reason in *problem. For the command line and for what must finish
    // before the caller goes on.
    bool run(const Work &work, QString *problem);
    // A read that must finish before the caller goes on: while the shared archive is not
    // reached it reads this computer's archive on the caller's own connection, so the window
    // never waits behind an attempt to reach a silent server.
    bool read(const Work &work, QString *problem);

    State state() const;
    // The state in a line for the window's status area; empty when there is nothing to say.
    static QString describe(const State &state);
    // How long an absent shared archive is left alone; tests shorten it.
    void setRetryInterval(int ms) { retryMs = ms; }

signals:
    void stateChanged();
    void importProgress(int done, int total);
    // Each download once it is recorded; problem is empty when all went well.
    void recorded(const QString &problem);
    void synced(int brought, const QString &problem);
    void passwordChecked(bool wanted);

private:
    QObject *started();
    void post(const std::function<void()> &step);
    // On the service's thread only.
    bool ensureOpen(const QStringList &keptFiles = {});
    void recordNow(const CKeptDownload &kept, const QString &file, const QString &identification);
    void syncNow();
    void updateState(const QString &problem, Reach away = Reach::Away);
    void setState(const State &state);

    Threading threading;
    // The caller's own connection to this computer's archive, and the URL it was chosen by.
    std::unique_ptr<CArchiveSet> local;
    QString localUrl;
    QThread thread;
    QObject *worker = nullptr;
    std::unique_ptr<CArchiveSet> set;
    QString url;
    QString password;
    QTimer *retry = nullptr;
    int retryMs = 60000;

    mutable QMutex mutex;
    State current;
};
