// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archivedecision.h"
#include "archive/archivedialect.h"
#include "archive/archivedownload.h"
#include "archive/archivelimits.h"
#include "archive/archivelocation.h"
#include "archive/archivelogentry.h"
#include "archive/archivepointname.h"
#include "archive/archivereading.h"
#include "archive/archivesetting.h"
#include "format/ascanentry.h"

#include <QCoreApplication>
#include <QList>
#include <QMap>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <functional>

class CKeptDownload;
class QSqlQuery;
class CZRData;

// One archive, embedded or shared: callers ask for operations, never for SQL. Every download is
// identified by the SHA-256 of its kept file, so recording one twice, or from two programs at
// once, leaves one record. A connection that is lost (a server restarted) is replaced by a fresh
// one and the operation is tried once more. Whatever decides a figure (limits, names, settings,
// decisions on readings) is never changed in place: each change is a row of its own, with its
// time, the login name and the server's role of who made it, and the reason given.
class CArchive
{
    Q_DECLARE_TR_FUNCTIONS(CArchive)

public:
    enum class Recorded { Failed, New, Known };

    explicit CArchive(const CArchiveLocation &location);
    ~CArchive();
    CArchive(const CArchive &) = delete;
    CArchive &operator=(const CArchive &) = delete;

    // Connects and creates or migrates the tables; false with the reason in *problem.
    bool open(QString *problem);
    bool isOpen() const { return opened; }
    // open() found no archive and made a new one.
    bool created() const { return wasCreated; }
    // The last open() failed because the server asks for a password it was not given or
    // refused. Asked only when wanted: it may take a connection attempt of its own.
    bool passwordWanted() const { return dialect.wantsPassword(connectFailure, where); }
    const CArchiveLocation &location() const { return where; }

    // Records a kept download, given the bytes of its file and where it is. A record of the same
    // kept file in an earlier state (before its A-scans were added) is replaced. A shared
    // archive keeps the bytes too.
    // identification is the tester's identify reply, empty when the file is all that is known.
    Recorded record(const CKeptDownload &kept, const QByteArray &fileBytes, const QString &file,
                    const QString &identification, QString *problem);
    Recorded record(const CKeptDownload &kept, const QByteArray &fileBytes, const QString &file,
                    QString *problem)
    {
        return record(kept, fileBytes, file, QString(), problem);
    }
    bool setWaiting(const QString &sha256, bool waiting, QString *problem);

    // Newest first; only the ones not yet shared when waitingOnly.
    QList<ArchiveDownload> downloads(bool waitingOnly, QString *problem);
    // Every reading of the test point, oldest first.
    QList<ArchiveReading> history(int group, int cell, QString *problem);
    // Hands take the readings of the downloads made before the time, one download at a time in
    // its stored order, oldest first, until take returns false.
    bool readDownloadsBefore(const QDateTime &time,
                             const std::function<bool(const QList<ArchiveReading> &)> &take,
                             QString *problem);
    // Sets a group's limits from limits.from on, for limits.reason; the earlier settings stay.
    bool setLimits(const ArchiveLimits &limits, QString *problem);
    // Every setting of the group's limits, oldest first.
    QList<ArchiveLimits> limitsHistory(int group, QString *problem);
    // The latest limits of every group that has any.
    QMap<int, ArchiveLimits> latestLimits(QString *problem);
    // Remembers the report particulars of an object (group) as set at the time; an empty value
    // forgets the key.
    bool setParticulars(int group, const QMap<QString, QString> &values, const QDateTime &at,
                        QString *problem);
    // The latest value of every particular of the group.
    QMap<QString, QString> particulars(int group, QString *problem);
    // Names the group from the given time onward.
    bool nameGroup(int group, const QString &name, const QDateTime &from, QString *problem,
                   const QString &reason = QString());
    // By download, the names its groups had at its time ("Tank 3 shell"), in group order;
    // unnamed groups are left out.
    QMap<qint64, QStringList> objectNames(QString *problem);
    // The group's name at the time; empty when it had none.
    QString groupName(int group, const QDateTime &at, QString *problem);
    // The name every named group had at the time.
    QMap<int, QString> groupNames(const QDateTime &at, QString *problem);
    // Sets the group's settings ("rule", "tolerance", ...) from the time on, a row each, all or
    // none; the earlier settings stay.
    bool setSettings(int group, const QMap<QString, QString> &values, const QDateTime &from,
                     const QString &reason, QString *problem);
    // By group, the latest of each of its settings.
    QMap<int, QMap<QString, ArchiveSetting>> latestSettings(QString *problem);
    // Records a decision on a reading, marked as waiting for the shared archive when waiting. The
    // same decision (reading, time and verdict) recorded already stays as it was.
    bool decide(const ArchiveDecision &decision, bool waiting, QString *problem);
    bool setDecisionWaiting(const ArchiveDecision &decision, bool waiting, QString *problem);
    // Every decision oldest first, so that the last on a reading is the one in force; only the
    // ones not yet shared when waitingOnly.
    QList<ArchiveDecision> decisions(bool waitingOnly, QString *problem);
    QList<ArchiveDecision> decisions(QString *problem) { return decisions(false, problem); }
    // The test points (group, cell) with a reading in a download later than the time.
    QList<QPair<int, int>> pointsReadAfter(const QDateTime &time, QString *problem);
    // Names the test points, with their locations, from the time on, all or none. Only a change
    // is a row: a point that already has the name and location given is left as it is. The
    // number of points that changed goes to *changed.
    bool namePoints(const QList<ArchivePointName> &points, const QDateTime &from,
                    const QString &reason, QString *problem, int *changed = nullptr);
    // By (group, cell), the latest name of every named point of the group (0: every group).
    QMap<QPair<int, int>, ArchivePointName> pointNames(int group, QString *problem);
    // The values that changed in the limits, names, settings, point names and decisions of the
    // group (0: every group), oldest first.
    QList<ArchiveLogEntry> log(int group, QString *problem);
    // The time of the newest download; invalid when there is none.
    QDateTime newestTime(QString *problem);
    // The kept file's bytes, held by a shared archive; empty when not held.
    QByteArray keptBytes(const QString &sha256, QString *problem);

    static QString sha256Of(const QByteArray &bytes);
    // Who sets a figure: $USER, else $LOGNAME, else the name of the home folder.
    static QString loginName();
    // ISO 8601 to the second with the UTC offset as +hh:mm, also for an offset of zero: a time
    // as the archive's lines give it.
    static QString timeText(const QDateTime &time);

private:
    // The first archive version that keeps each download's results packed.
    static constexpr int kFirstPackedVersion = 8;
    bool packEarlierDownloads(QString *problem);
    bool connect(QString *problem);
    // The message for a failed open; a file that cannot be written is said to be read-only.
    QString openProblem(const char *what, const QString &reason, const QSqlError &error) const;
    void disconnect();
    bool reconnect(QString *problem);
    // Runs body as one write transaction, once more on a fresh connection when it was lost.
    bool write(const std::function<bool(QSqlDatabase &, QString *)> &body, QString *problem);
    bool read(const std::function<bool(QSqlDatabase &, QString *)> &body, QString *problem);
    // Runs a query and hands take its first row, if there is one.
    bool firstRow(const QString &sql, const QVariantList &values,
                  const std::function<void(const QSqlQuery &)> &take, QString *problem);
    bool attempt(bool transaction, const std::function<bool(QSqlDatabase &, QString *)> &body,
                 QString *problem);
    bool removeEarlierState(QSqlDatabase &db, const CKeptDownload &kept, const QString &file,
                            const QString &sha256, QString *problem);
    bool insertResults(QSqlDatabase &db, qint64 id, const CZRData &data,
                       const QMap<int, AScanEntry> &aScans, QString *problem);
    // A download's time and its packed results; null bytes when it was recorded without them.
    struct PackedDownload {
        qint64 id = 0;
        QDateTime time;
        QByteArray bytes;
    };
    bool readPacked(QSqlDatabase &db, const QDateTime &time, QList<PackedDownload> *downloads,
                    QString *problem);
    bool unpackResults(const PackedDownload &download, QList<ArchiveReading> *readings,
                       QString *problem);
    bool readResults(QSqlQuery &query, qint64 id, const QDateTime &at,
                     QList<ArchiveReading> *readings, QString *problem);
    bool readReadings(const QString &sql, const QVariantList &values,
                      QList<ArchiveReading> *readings, QString *problem);
    bool insertBytes(QSqlDatabase &db, qint64 id, const QByteArray &bytes, QString *problem);
    // A write of one statement.
    bool writeOne(const QString &sql, const QVariantList &values, QString *problem);
    // An INSERT of the columns' values, then of who wrote the row: the login name and the reason
    // are bound after the columns' values, the server's role is the server's own.
    QString insertWithWho(const QString &table, const QStringList &columns) const;

    CArchiveLocation where;
    CArchiveDialect dialect;
    QString connectionName;
    // What the database said when connect() failed.
    QSqlError connectFailure;
    bool opened = false;
    bool wasCreated = false;
};
