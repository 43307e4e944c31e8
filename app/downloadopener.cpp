// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/downloadopener.h"

#include "archive/archiveset.h"
#include "format/atomicfile.h"
#include "services/archiveservice.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <memory>

CDownloadOpener::CDownloadOpener(CArchiveService *archive, QObject *parent)
    : QObject(parent), archive(archive)
{
}

void CDownloadOpener::open(const QString &file, const QString &sha256)
{
    if (QFile::exists(file)) {
        emit opened(file);
        return;
    }
    auto copy = std::make_shared<QByteArray>();
    archive->query(
        [sha256, copy](CArchiveSet &set) {
            QString problem;
            *copy = set.reached().keptBytes(sha256, &problem);
        },
        this, [this, file, sha256, copy] { openCopy(file, sha256, *copy); });
}

void CDownloadOpener::openCopy(const QString &file, const QString &sha256, const QByteArray &bytes)
{
    if (bytes.isEmpty()) {
        emit failed(tr("The kept file %1 is gone, and the archive holds no copy of it.").arg(file));
        return;
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                           QStringLiteral("/collatrix/shared");
    const QString path = folder + QLatin1Char('/') + sha256 + QStringLiteral(".clxd");
    QString reason;
    if (!QDir().mkpath(folder) || !CAtomicFile::write(path, bytes, &reason)) {
        emit failed(tr("The copy of the download cannot be written to %1.").arg(path));
        return;
    }
    emit opened(path);
}
