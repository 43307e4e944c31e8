// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/keptfolder.h"

#include "format/atomicfile.h"
#include "format/keptdownload.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

const QString CKeptFolder::kSuffix = QStringLiteral(".clxd");

QString CKeptFolder::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/collatrix/downloads");
}

CKeptFolder::CKeptFolder(const QString &path) : path(path) {}

// Creating the file with NewOnly claims the name; a second download in the same second, or
// another program running at once, gets the next suffix instead.
QString CKeptFolder::reserveName(const CKeptDownload &download, QString *problem) const
{
    if (!QDir().mkpath(path)) {
        *problem = QCoreApplication::translate("CKeptFolder", "the folder cannot be made");
        return QString();
    }
    const QString stem = path + QLatin1Char('/') +
                         download.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    for (int n = 1;; ++n) {
        const QString name = stem + (n > 1 ? QStringLiteral("_%1").arg(n) : QString()) + kSuffix;
        QFile file(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return name;
        if (!file.exists()) {
            *problem = file.errorString();
            return QString();
        }
    }
}

QString CKeptFolder::keep(const CKeptDownload &download, QString *problem) const
{
    const QString name = reserveName(download, problem);
    if (name.isEmpty())
        return QString();
    if (!rewrite(name, download, problem)) {
        QFile::remove(name);
        return QString();
    }
    return name;
}

bool CKeptFolder::rewrite(const QString &file, const CKeptDownload &download, QString *problem)
{
    return CAtomicFile::write(file, download.toBytes(), problem);
}

QStringList CKeptFolder::files() const
{
    QStringList names = QDir(path).entryList({QLatin1Char('*') + kSuffix}, QDir::Files, QDir::Name);
    for (QString &name : names)
        name.prepend(path + QLatin1Char('/'));
    return names;
}
