// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archivelocation.h"

#include <QString>
#include <QStringList>

class QSqlDatabase;
class QSqlError;

// The few places where SQLite and PostgreSQL want different SQL or connection settings; the
// rest of the archive speaks one SQL to both.
class CArchiveDialect
{
public:
    explicit CArchiveDialect(CArchiveLocation::Backend backend) : backend(backend) {}

    QString driverName() const;
    // The settings a new connection is opened with, before open().
    void configure(QSqlDatabase *db, const CArchiveLocation &location) const;
    // Statements every fresh connection runs once, one statement each.
    QStringList sessionSetup() const;
    // Tried by every fresh connection, its failure no fault: SQLite's WAL journal, which lets a
    // reader go on beside a writer. It fails while another program turns a new file to WAL,
    // which then is WAL all the same.
    QString journalSetup() const;
    // Starts a write transaction. SQLite takes the write lock at once, so two writers queue on
    // the busy timeout instead of failing on a read snapshot that cannot be upgraded.
    QString beginWrite() const;
    // Taken inside the schema transaction so that two programs never create or migrate at once.
    QString schemaLock() const;
    // Rows in one multi-row INSERT. A server wants few round trips; SQLite looks up each bound
    // value among all of a statement's parameters, so it does best with one row to a statement
    // prepared once.
    int rowsPerStatement() const;
    QString keyColumn() const;
    QString blobType() const;
    // The SQL expression an INSERT writes as the database role it runs under: the server's
    // login role; SQLite has none.
    QString currentRole() const;
    // True when the error means that the SQLite file or its folder cannot be written.
    bool cannotWrite(const QSqlError &error) const;
    // True when the error means the server is gone and a fresh connection may succeed.
    bool connectionLost(const QSqlDatabase &db) const;
    // True when opening the location failed because the server asked for a password that it
    // was not given, or that it refused.
    bool wantsPassword(const QSqlError &error, const CArchiveLocation &location) const;

    static constexpr int kConnectTimeoutSeconds = 5;
    static constexpr int kBusyTimeoutMs = 10000;

private:
    // libpq's connection keywords beyond host, port, user, password and database, as key=value.
    static QStringList serverOptions(const CArchiveLocation &location);

    CArchiveLocation::Backend backend;
};
