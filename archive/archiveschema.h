// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archivedialect.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The archive's tables and their version. A new archive is built by the same steps an old one
// is migrated by, one step per version, all in one transaction: a migration either completes
// or leaves the archive as it was.
class CArchiveSchema
{
    Q_DECLARE_TR_FUNCTIONS(CArchiveSchema)

public:
    static constexpr int kVersion = 8;

    CArchiveSchema(const QSqlDatabase &db, const CArchiveDialect &dialect)
        : db(db), dialect(dialect)
    {
    }

    // Creates or migrates the tables; refuses an archive that a newer program has changed in a
    // way this one cannot write to. False with the reason in *problem.
    bool prepare(QString *problem);
    // The statements that take an archive of the version before toVersion to toVersion; none,
    // with the reason in *problem, for a version no step leads to.
    QStringList step(int toVersion, QString *problem) const;
    // The archive had no tables before prepare().
    bool created = false;
    // The version prepare() found; 0 for a new archive.
    int migratedFrom = 0;
    // What the database said when prepare() failed.
    QSqlError failure;

private:
    bool migrate(int from, QString *problem);
    bool readVersion(int *version, QString *problem);
    // One column of the version table's row.
    bool readNumber(const QString &column, int *value, QString *problem);
    bool run(const QStringList &statements, QString *problem);
    QStringList version1() const;
    QStringList version2() const;
    QStringList version3() const;
    QStringList version4() const;
    QStringList version5() const;
    QStringList version6() const;
    QStringList version7() const;
    QStringList version8() const;

    QSqlDatabase db;
    CArchiveDialect dialect;
};
