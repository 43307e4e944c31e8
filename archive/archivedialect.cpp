// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archivedialect.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

QString CArchiveDialect::driverName() const
{
    return backend == CArchiveLocation::Backend::Sqlite ? QStringLiteral("QSQLITE")
                                                        : QStringLiteral("QPSQL");
}

void CArchiveDialect::configure(QSqlDatabase *db, const CArchiveLocation &location) const
{
    if (backend == CArchiveLocation::Backend::Sqlite) {
        db->setDatabaseName(location.path);
        db->setConnectOptions(
            QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs) +
            (location.readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
        return;
    }
    db->setHostName(location.host);
    if (location.port > 0)
        db->setPort(location.port);
    db->setUserName(location.user);
    if (!location.password.isEmpty())
        db->setPassword(location.password);
    db->setDatabaseName(location.database);
    // Without a timeout a silent server holds open() for good.
    const QStringList options =
        QStringList{QStringLiteral("connect_timeout=%1").arg(kConnectTimeoutSeconds),
                    QStringLiteral("application_name=collatrix")} +
        location.options;
    db->setConnectOptions(options.join(QLatin1Char(';')));
}

QStringList CArchiveDialect::sessionSetup() const
{
    if (backend == CArchiveLocation::Backend::Sqlite)
        return {QStringLiteral("PRAGMA foreign_keys=ON"),
                QStringLiteral("PRAGMA synchronous=NORMAL")};
    return {QStringLiteral("SET client_min_messages=warning")};
}

QString CArchiveDialect::journalSetup() const
{
    return backend == CArchiveLocation::Backend::Sqlite ? QStringLiteral("PRAGMA journal_mode=WAL")
                                                        : QString();
}

QString CArchiveDialect::beginWrite() const
{
    return backend == CArchiveLocation::Backend::Sqlite ? QStringLiteral("BEGIN IMMEDIATE")
                                                        : QStringLiteral("BEGIN");
}

QString CArchiveDialect::schemaLock() const
{
    return backend == CArchiveLocation::Backend::Sqlite
               ? QString()
               : QStringLiteral("SELECT pg_advisory_xact_lock(1129858116)");
}

int CArchiveDialect::rowsPerStatement() const
{
    return backend == CArchiveLocation::Backend::Sqlite ? 1 : 500;
}

QString CArchiveDialect::keyColumn() const
{
    return backend == CArchiveLocation::Backend::Sqlite ? QStringLiteral("INTEGER PRIMARY KEY")
                                                        : QStringLiteral("BIGSERIAL PRIMARY KEY");
}

QString CArchiveDialect::blobType() const
{
    return backend == CArchiveLocation::Backend::Sqlite ? QStringLiteral("BLOB")
                                                        : QStringLiteral("BYTEA");
}

bool CArchiveDialect::cannotWrite(const QSqlError &error) const
{
    // SQLITE_READONLY and SQLITE_CANTOPEN, whatever extended code says more.
    constexpr int kReadOnly = 8;
    constexpr int kCannotOpen = 14;
    const int code = error.nativeErrorCode().toInt() & 0xFF;
    return backend == CArchiveLocation::Backend::Sqlite &&
           (code == kReadOnly || code == kCannotOpen);
}

bool CArchiveDialect::connectionLost(const QSqlDatabase &db) const
{
    if (backend == CArchiveLocation::Backend::Sqlite)
        return false;
    if (!db.isOpen())
        return true;
    QSqlQuery probe(db);
    return !probe.exec(QStringLiteral("SELECT 1"));
}
