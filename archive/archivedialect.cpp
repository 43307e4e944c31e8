// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archivedialect.h"

#include <QLibrary>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <vector>

namespace
{

// Whether the server asks for a password when libpq connects with these keywords. Qt's
// PostgreSQL driver gives no SQLSTATE for a failed connection, only text in the languages of
// the client's libpq and of the server, and it drops libpq's connection; so libpq is asked
// itself, by a connection of its own made only after the driver's failed: it remembers whether
// the server asked for a password, whether none was found or the one given was refused. libpq
// is there whenever the driver is, and no header of it is needed.
bool serverAskedForPassword(const QList<QByteArray> &keywords, const QList<QByteArray> &values)
{
#ifdef Q_OS_WIN
    QLibrary libpq(QStringLiteral("libpq"));
#else
    QLibrary libpq(QStringLiteral("pq"), 5);
#endif
    using Connect = void *(*)(const char *const *, const char *const *, int);
    using Ask = int (*)(const void *);
    using Finish = void (*)(void *);
    const auto connect = reinterpret_cast<Connect>(libpq.resolve("PQconnectdbParams"));
    const auto status = reinterpret_cast<Ask>(libpq.resolve("PQstatus"));
    const auto asked = reinterpret_cast<Ask>(libpq.resolve("PQconnectionUsedPassword"));
    const auto finish = reinterpret_cast<Finish>(libpq.resolve("PQfinish"));
    if (!connect || !status || !asked || !finish)
        return false;
    std::vector<const char *> k, v;
    for (int i = 0; i < keywords.size(); ++i) {
        k.push_back(keywords.at(i).constData());
        v.push_back(values.at(i).constData());
    }
    k.push_back(nullptr);
    v.push_back(nullptr);
    constexpr int kConnectionOk = 0;
    void *connection = connect(k.data(), v.data(), 0);
    const bool wanted = connection && status(connection) != kConnectionOk && asked(connection);
    finish(connection);
    return wanted;
}

} // namespace

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
    db->setConnectOptions(serverOptions(location).join(QLatin1Char(';')));
}

QStringList CArchiveDialect::serverOptions(const CArchiveLocation &location)
{
    // Without a timeout a silent server holds open() for good; and a link that stalls under an
    // open connection (a VPN that drops, a firewall) would hold a statement for the quarter of
    // an hour the system takes to give up, unless unanswered data and a quiet line are given up
    // after seconds.
    return QStringList{QStringLiteral("connect_timeout=%1").arg(kConnectTimeoutSeconds),
                       QStringLiteral("tcp_user_timeout=10000"),
                       QStringLiteral("keepalives_idle=10"),
                       QStringLiteral("keepalives_interval=5"),
                       QStringLiteral("keepalives_count=2"),
                       QStringLiteral("application_name=collatrix")} +
           location.options;
}

QStringList CArchiveDialect::sessionSetup() const
{
    if (backend == CArchiveLocation::Backend::Sqlite)
        // An evaluation reads every earlier survey of its points, and the review every reading:
        // the file is mapped rather than read page by page through system calls, and a larger
        // page cache holds what the next query reads again.
        return {QStringLiteral("PRAGMA foreign_keys=ON"),
                QStringLiteral("PRAGMA synchronous=NORMAL"),
                QStringLiteral("PRAGMA mmap_size=268435456"),
                QStringLiteral("PRAGMA cache_size=-32768")};
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

QString CArchiveDialect::currentRole() const
{
    return backend == CArchiveLocation::Backend::Sqlite ? QStringLiteral("''")
                                                        : QStringLiteral("current_user");
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

bool CArchiveDialect::wantsPassword(const QSqlError &error, const CArchiveLocation &location) const
{
    if (backend == CArchiveLocation::Backend::Sqlite)
        return false;
    // SQLSTATE invalid_password and invalid_authorization_specification.
    const QString code = error.nativeErrorCode();
    if (code == QLatin1String("28P01") || code == QLatin1String("28000"))
        return true;
    if (!code.isEmpty() || error.type() != QSqlError::ConnectionError)
        return false;
    QList<QByteArray> keywords{"host", "user", "password", "dbname"};
    QList<QByteArray> values{location.host.toUtf8(), location.user.toUtf8(),
                             location.password.toUtf8(), location.database.toUtf8()};
    if (location.port > 0) {
        keywords << "port";
        values << QByteArray::number(location.port);
    }
    // The last of a keyword wins: the question waits for libpq's shortest time-out at most,
    // not a second full one.
    const QStringList options = serverOptions(location) << QStringLiteral("connect_timeout=2");
    for (const QString &option : options) {
        keywords << option.section(QLatin1Char('='), 0, 0).toUtf8();
        values << option.section(QLatin1Char('='), 1).toUtf8();
    }
    return serverAskedForPassword(keywords, values);
}
