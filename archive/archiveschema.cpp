// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archiveschema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace
{

const QString kVersionTable = QStringLiteral("schema_version");

// Who set a row and why, beside every setting from version 6 on.
QStringList whoColumns()
{
    return {QStringLiteral("set_by TEXT NOT NULL DEFAULT ''"),
            QStringLiteral("db_role TEXT NOT NULL DEFAULT ''"),
            QStringLiteral("reason TEXT NOT NULL DEFAULT ''")};
}

} // namespace

bool CArchiveSchema::prepare(QString *problem)
{
    QStringList begin{dialect.beginWrite()};
    if (!dialect.schemaLock().isEmpty())
        begin << dialect.schemaLock();
    int version = 0;
    if (!run(begin, problem) || !readVersion(&version, problem) || !migrate(version, problem) ||
        !run({QStringLiteral("COMMIT")}, problem)) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    created = version == 0;
    migratedFrom = version;
    return true;
}

bool CArchiveSchema::readVersion(int *version, QString *problem)
{
    if (!db.tables().contains(kVersionTable)) {
        // An empty file or database is a new archive; tables of something else are not ours.
        if (!db.tables().isEmpty()) {
            *problem = tr("it holds tables, but not those of an archive");
            return false;
        }
        *version = 0;
        return true;
    }
    if (!readNumber(QStringLiteral("version"), version, problem))
        return false;
    if (*version <= kVersion)
        return true;
    int lowest = 0;
    if (!readNumber(QStringLiteral("min_writer_version"), &lowest, problem))
        return false;
    if (lowest > kVersion) {
        *problem = tr("it was changed by a newer version of the program: writing to it needs "
                      "archive version %1 or later, and this one knows version %2")
                       .arg(lowest)
                       .arg(kVersion);
        return false;
    }
    return true;
}

bool CArchiveSchema::readNumber(const QString &column, int *value, QString *problem)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT %1 FROM schema_version").arg(column)) || !query.next()) {
        failure = query.lastError();
        *problem = failure.text();
        return false;
    }
    *value = query.value(0).toInt();
    return true;
}

// The version is written even when it stays: an archive that cannot be written is told at once,
// not at the first download. A newer archive keeps its version: this program only writes to it.
bool CArchiveSchema::migrate(int from, QString *problem)
{
    for (int version = from + 1; version <= kVersion; ++version) {
        const QStringList statements = step(version, problem);
        if (statements.isEmpty() || !run(statements, problem))
            return false;
    }
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE schema_version SET version = ?"));
    update.addBindValue(qMax(from, kVersion));
    if (!update.exec()) {
        failure = update.lastError();
        *problem = failure.text();
        return false;
    }
    return true;
}

bool CArchiveSchema::run(const QStringList &statements, QString *problem)
{
    QSqlQuery query(db);
    for (const QString &statement : statements) {
        if (!query.exec(statement)) {
            failure = query.lastError();
            *problem = failure.text();
            return false;
        }
    }
    return true;
}

QStringList CArchiveSchema::step(int toVersion, QString *problem) const
{
    switch (toVersion) {
    case 1:
        return version1();
    case 2:
        return version2();
    case 3:
        return version3();
    case 4:
        return version4();
    case 5:
        return version5();
    case 6:
        return version6();
    case 7:
        return version7();
    case 8:
        return version8();
    default:
        *problem = tr("no migration leads to archive version %1").arg(toVersion);
        return {};
    }
}

// The first archive: downloads and their results.
QStringList CArchiveSchema::version1() const
{
    return {
        QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"),
        QStringLiteral("INSERT INTO schema_version (version) VALUES (1)"),
        QStringLiteral("CREATE TABLE downloads (id %1, sha256 TEXT NOT NULL UNIQUE, "
                       "time_ms BIGINT NOT NULL, utc_offset INTEGER NOT NULL, port TEXT NOT NULL, "
                       "protocol TEXT NOT NULL, outcome TEXT NOT NULL, tester TEXT NOT NULL, "
                       "program TEXT NOT NULL, file TEXT NOT NULL, results INTEGER NOT NULL, "
                       "ascans INTEGER NOT NULL)")
            .arg(dialect.keyColumn()),
        QStringLiteral("CREATE INDEX downloads_time ON downloads (time_ms)"),
        QStringLiteral("CREATE TABLE results (download_id BIGINT NOT NULL REFERENCES downloads "
                       "(id) ON DELETE CASCADE, row_no INTEGER NOT NULL, grp INTEGER NOT NULL, "
                       "cell INTEGER NOT NULL, raw INTEGER NOT NULL, divisor INTEGER NOT NULL, "
                       "unit INTEGER NOT NULL, ascan INTEGER NOT NULL, "
                       "PRIMARY KEY (download_id, row_no))"),
        QStringLiteral("CREATE INDEX results_point ON results (grp, cell)"),
    };
}

// Group names over time, the mark of a download not yet in the shared archive, and the kept
// file's bytes for colleagues.
QStringList CArchiveSchema::version2() const
{
    return {
        QStringLiteral("ALTER TABLE downloads ADD COLUMN waiting INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("CREATE TABLE group_names (id %1, grp INTEGER NOT NULL, "
                       "name TEXT NOT NULL, from_ms BIGINT NOT NULL)")
            .arg(dialect.keyColumn()),
        QStringLiteral("CREATE INDEX group_names_grp ON group_names (grp, from_ms)"),
        QStringLiteral("CREATE TABLE kept_files (download_id BIGINT PRIMARY KEY REFERENCES "
                       "downloads (id) ON DELETE CASCADE, bytes %1 NOT NULL)")
            .arg(dialect.blobType()),
    };
}

// What the tester said when it was asked who it is; a download imported from a file was not
// asked.
QStringList CArchiveSchema::version3() const
{
    return {
        QStringLiteral("ALTER TABLE downloads ADD COLUMN identification TEXT NOT NULL DEFAULT ''")};
}

// The limits of each object and the particulars of its reports, every setting kept with its
// time: the latest applies, the earlier ones stay for the record.
QStringList CArchiveSchema::version4() const
{
    return {
        QStringLiteral("CREATE TABLE group_limits (id %1, grp INTEGER NOT NULL, "
                       "nominal DOUBLE PRECISION NOT NULL, minimum DOUBLE PRECISION NOT NULL, "
                       "warning DOUBLE PRECISION NOT NULL, from_ms BIGINT NOT NULL)")
            .arg(dialect.keyColumn()),
        QStringLiteral("CREATE INDEX group_limits_grp ON group_limits (grp, from_ms)"),
        QStringLiteral("CREATE TABLE particulars (id %1, grp INTEGER NOT NULL, "
                       "name TEXT NOT NULL, value TEXT NOT NULL, set_ms BIGINT NOT NULL)")
            .arg(dialect.keyColumn()),
        QStringLiteral("CREATE INDEX particulars_grp ON particulars (grp, name, set_ms)"),
    };
}

// The lowest version a program must know to write to the archive. A program refuses an archive
// only when this is above its own version, so a newer version that merely adds tables or columns
// leaves it as it is and older programs go on writing to a shared archive. Every version so far
// only added, and what an older program leaves out has a default, so the writes of a program of
// version 1 are still valid: the lowest writer is 1. A version that changes what a writer must
// do raises it. Programs before this version know nothing of it and refuse any newer archive.
QStringList CArchiveSchema::version5() const
{
    return {QStringLiteral(
        "ALTER TABLE schema_version ADD COLUMN min_writer_version INTEGER NOT NULL DEFAULT 1")};
}

// Who set each figure and why: the login name, the server's role and a reason beside every
// setting of limits and names; the other settings of an object; and the engineers' decisions on
// single readings. Nothing that decides a figure is changed in place, each change is a row of
// its own. Only columns with defaults and tables are added, so the lowest writer stays 1. A
// decision is one row however often it is brought across from an embedded archive.
QStringList CArchiveSchema::version6() const
{
    const QString who = whoColumns().join(QStringLiteral(", "));
    QStringList statements;
    for (const QString &table : {QStringLiteral("group_limits"), QStringLiteral("group_names")}) {
        for (const QString &column : whoColumns())
            statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(table, column);
    }
    return statements
           << QStringLiteral("CREATE TABLE object_settings (id %1, grp INTEGER NOT NULL, "
                             "setting TEXT NOT NULL, value TEXT NOT NULL, from_ms BIGINT NOT "
                             "NULL, %2)")
                  .arg(dialect.keyColumn(), who)
           << QStringLiteral(
                  "CREATE INDEX object_settings_grp ON object_settings (grp, setting, from_ms)")
           << QStringLiteral("CREATE TABLE reading_decisions (id %1, grp INTEGER NOT NULL, "
                             "cell INTEGER NOT NULL, time_ms BIGINT NOT NULL, decision TEXT NOT "
                             "NULL, set_ms BIGINT NOT NULL, waiting INTEGER NOT NULL DEFAULT 0, "
                             "%2, UNIQUE (grp, cell, time_ms, set_ms, decision))")
                  .arg(dialect.keyColumn(), who);
}

// The plant's names of the test points and where they are, each change a row of its own. Only a
// table is added, so the lowest writer stays 1.
QStringList CArchiveSchema::version7() const
{
    return {QStringLiteral("CREATE TABLE point_names (id %1, grp INTEGER NOT NULL, cell INTEGER "
                           "NOT NULL, name TEXT NOT NULL, location TEXT NOT NULL DEFAULT '', "
                           "from_ms BIGINT NOT NULL, %2)")
                .arg(dialect.keyColumn(), whoColumns().join(QStringLiteral(", "))),
            QStringLiteral("CREATE INDEX point_names_point ON point_names (grp, cell, from_ms)")};
}

// Each download's results once more in one value, read at once where the rows would be read one
// by one. A program that writes no such value (one of an earlier version) leaves it out, and a
// reader then reads the rows: the lowest writer stays 1.
QStringList CArchiveSchema::version8() const
{
    return {QStringLiteral("CREATE TABLE packed_results (download_id BIGINT PRIMARY KEY "
                           "REFERENCES downloads (id) ON DELETE CASCADE, bytes %1 NOT NULL)")
                .arg(dialect.blobType())};
}
