// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archivelocation.h"

#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

namespace
{

const QString kSqliteScheme = QStringLiteral("sqlite:");
const QString kEnvironment = QStringLiteral("COLLATRIX_ARCHIVE");

} // namespace

QString CArchiveLocation::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/collatrix/archive.sqlite");
}

CArchiveLocation CArchiveLocation::embedded(const QString &path)
{
    CArchiveLocation location;
    location.path = path;
    return location;
}

bool CArchiveLocation::chosen(const QString &url, CArchiveLocation *out, QString *problem)
{
    const QString text = !url.isEmpty() ? url : qEnvironmentVariable(qPrintable(kEnvironment));
    if (text.isEmpty()) {
        *out = embedded();
        return true;
    }
    return out->parse(text, problem);
}

bool CArchiveLocation::parse(const QString &url, QString *problem)
{
    *this = CArchiveLocation();
    if (url.startsWith(kSqliteScheme) && url.size() > kSqliteScheme.size()) {
        path = url.mid(kSqliteScheme.size());
        return true;
    }
    if (url.startsWith(QLatin1String("postgresql://")) ||
        url.startsWith(QLatin1String("postgres://")))
        return parsePostgres(url, problem);
    *problem = tr("'%1' names no archive (use sqlite:PATH or postgresql://...)").arg(url);
    return false;
}

bool CArchiveLocation::parsePostgres(const QString &url, QString *problem)
{
    const QUrl u(url, QUrl::StrictMode);
    if (!u.isValid()) {
        *problem = tr("'%1' is not a valid PostgreSQL URI: %2").arg(url, u.errorString());
        return false;
    }
    backend = Backend::Postgres;
    host = u.host();
    port = u.port(-1);
    user = u.userName();
    database = u.path().mid(1);
    const QUrlQuery query(u);
    for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key == QLatin1String("host"))
            host = value;
        else if (key == QLatin1String("port"))
            port = value.toInt();
        else if (key == QLatin1String("user"))
            user = value;
        else if (key == QLatin1String("dbname"))
            database = value;
        else if (key != QLatin1String("password"))
            options << key + QLatin1Char('=') + value;
    }
    return true;
}

QString CArchiveLocation::text() const
{
    if (backend == Backend::Sqlite)
        return kSqliteScheme + path;
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += user + QLatin1Char('@');
    if (!host.startsWith(QLatin1Char('/')))
        text += host;
    if (port > 0)
        text += QLatin1Char(':') + QString::number(port);
    text += QLatin1Char('/') + database;
    if (host.startsWith(QLatin1Char('/')))
        text += QStringLiteral("?host=") + host;
    return text;
}
