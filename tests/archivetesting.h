// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Archives for the tests: a fresh SQLite file, or the throwaway PostgreSQL server of
// tests/with-postgres.sh emptied of the archive's tables, and kept downloads built by hand.
#include "archive/archive.h"
#include "archive/archivedialect.h"
#include "archive/archivelocation.h"
#include "format/keptdownload.h"
#include "services/keptfolder.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <functional>

inline QString postgresUrl()
{
    return qEnvironmentVariable("COLLATRIX_TEST_POSTGRES");
}

// The backend is the data tag, which freshArchive() reads.
inline void addBackends(const QStringList &backends = {"sqlite", "postgresql"})
{
    QTest::addColumn<QString>("backend");
    for (const QString &backend : backends)
        QTest::newRow(qPrintable(backend)) << backend;
}

inline QString urlOf(const CArchiveLocation &location)
{
    return location.isShared() ? postgresUrl() : QStringLiteral("sqlite:") + location.path;
}

// Hands use a connection of the test's own to the archive; false when either fails.
inline bool withSql(const CArchiveLocation &location, const std::function<bool(QSqlQuery &)> &use)
{
    bool ok = true;
    {
        const CArchiveDialect dialect(location.backend);
        QSqlDatabase db = QSqlDatabase::addDatabase(dialect.driverName(), QStringLiteral("test"));
        dialect.configure(&db, location);
        ok = db.open();
        QSqlQuery query(db);
        ok = ok && use(query);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test"));
    return ok;
}

inline bool runSql(const CArchiveLocation &location, const QStringList &statements)
{
    return withSql(location, [&](QSqlQuery &query) {
        for (const QString &statement : statements) {
            if (!query.exec(statement)) {
                qWarning("%s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
                return false;
            }
        }
        return true;
    });
}

// The first row of a query, its columns joined by '|'; empty when there is none.
inline QString firstRow(const CArchiveLocation &location, const QString &sql)
{
    QStringList columns;
    withSql(location, [&](QSqlQuery &query) {
        if (!query.exec(sql) || !query.next())
            return false;
        for (int i = 0; i < query.record().count(); ++i)
            columns << query.value(i).toString();
        return true;
    });
    return columns.join(QLatin1Char('|'));
}

// The throwaway server of tests/with-postgres.sh without the archive's tables; false when there
// is none.
inline bool emptyServer(CArchiveLocation *location)
{
    QString problem;
    if (postgresUrl().isEmpty() || !location->parse(postgresUrl(), &problem))
        return false;
    return runSql(
        *location,
        {"SET client_min_messages=warning",
         "DROP TABLE IF EXISTS kept_files, results, group_names, group_limits, object_settings, "
         "reading_decisions, point_names, packed_results, particulars, downloads, schema_version CASCADE",
         "DROP FUNCTION IF EXISTS halt"});
}

// A new, empty archive of the backend the data tag starts with ("sqlite ..." or
// "postgresql ..."); false when that backend is not there.
inline bool freshArchive(const QTemporaryDir &dir, CArchiveLocation *location)
{
    static int count = 0;
    if (QByteArray(QTest::currentDataTag()).startsWith("postgresql"))
        return emptyServer(location);
    *location = CArchiveLocation::embedded(dir.filePath(QStringLiteral("a%1.sqlite").arg(++count)));
    return true;
}

inline QDateTime at(const QString &iso)
{
    return QDateTime::fromString(iso, Qt::ISODate);
}

// A layout-3 dump, one 32-byte record per {group, cell, raw value, fine, A-scan mark}.
inline QByteArray dumpOf(const QList<std::array<int, 5>> &records)
{
    QByteArray dump("ORBEXM47T\0\1", 11);
    for (const auto &r : records) {
        QByteArray record(32, 0);
        for (int i = 0; i < 3; ++i) // little-endian 16-bit group, cell and raw value
            record[2 * i] = char(r[i]), record[2 * i + 1] = char(r[i] >> 8);
        record[6] = char(r[3]);
        record[15] = char(r[4]);
        dump += record;
    }
    return dump;
}

inline CKeptDownload keptAt(const QString &iso, const QList<std::array<int, 5>> &records,
                            const QString &port = QStringLiteral("COM3"))
{
    CKeptDownload kept;
    kept.time = at(iso);
    kept.port = port;
    kept.extended = true;
    kept.outcome = QStringLiteral("completed");
    kept.programVersion = QStringLiteral("4.2");
    kept.dump = dumpOf(records);
    return kept;
}

inline KeptAScan aScanOf(int group, int cell)
{
    return {group, cell, QByteArray(384, 7)};
}

// Keeps each survey, the first on 1 June of firstYear at 10:00 UTC and one a year after, and
// records it in the archive; prepare may add to a download before it is kept. The kept files, or
// none after a failure named in *problem.
inline QStringList recordYearly(CArchive &archive, const CKeptFolder &folder, int firstYear,
                                const QList<QList<std::array<int, 5>>> &surveys, QString *problem,
                                const std::function<void(int, CKeptDownload *)> &prepare = {})
{
    QStringList files;
    for (int year = 0; year < surveys.size(); ++year) {
        CKeptDownload kept = keptAt(QStringLiteral("%1-06-01T10:00:00+00:00").arg(firstYear + year),
                                    surveys.at(year));
        if (prepare)
            prepare(year, &kept);
        files << folder.keep(kept, problem);
        if (files.last().isEmpty() || archive.record(kept, kept.toBytes(), files.last(), problem) ==
                                          CArchive::Recorded::Failed)
            return {};
    }
    return files;
}
