// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Where an archive is: an SQLite file ("sqlite:PATH") or a PostgreSQL server named by a libpq
// connection URI ("postgresql://user@host:port/dbname", "postgresql:///dbname?host=/socket").
// Passwords are left to libpq (~/.pgpass, PGSERVICE); one typed at the window's prompt is held
// here for the session only and never written anywhere.
class CArchiveLocation
{
    Q_DECLARE_TR_FUNCTIONS(CArchiveLocation)

public:
    enum class Backend { Sqlite, Postgres };

    // $XDG_DATA_HOME/collatrix/archive.sqlite (by default ~/.local/share/collatrix/).
    static QString defaultPath();
    static CArchiveLocation embedded(const QString &path = defaultPath());
    // The URL given, else $COLLATRIX_ARCHIVE, else the embedded file. False with the reason.
    static bool chosen(const QString &url, CArchiveLocation *out, QString *problem);
    // False with the reason when the text is neither form.
    bool parse(const QString &url, QString *problem);

    bool isShared() const { return backend == Backend::Postgres; }
    // The URL as the user may see it.
    QString text() const;

    Backend backend = Backend::Sqlite;
    QString path;
    QString host;
    int port = -1;
    QString user;
    QString database;
    QString password;
    // libpq keywords beyond the above, from the URI's query ("service=archive", "sslmode=...").
    QStringList options;
    // An SQLite file opened without the right to write it, as a write-protected file or folder
    // is, also for root, whom file modes do not stop.
    bool readOnly = false;

private:
    bool parsePostgres(const QString &url, QString *problem);
};
