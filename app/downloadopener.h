// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class CArchiveService;

// A download of the archive opened again, for the windows that list downloads: its kept file
// when it is still there, else the copy a shared archive holds (a colleague's download), which
// comes from the archive's thread and is written to the cache first.
class CDownloadOpener : public QObject
{
    Q_OBJECT

public:
    CDownloadOpener(CArchiveService *archive, QObject *parent);

    // The answer comes as opened or failed.
    void open(const QString &file, const QString &sha256);

signals:
    // The file to open as a kept download.
    void opened(const QString &path);
    void failed(const QString &problem);

private:
    void openCopy(const QString &file, const QString &sha256, const QByteArray &bytes);

    CArchiveService *archive;
};
