// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class CKeptDownload;

// The folder every download is kept in, one file per download, named by its time.
class CKeptFolder
{
public:
    static const QString kSuffix;

    // $XDG_DATA_HOME/collatrix/downloads (by default ~/.local/share/collatrix/downloads).
    static QString defaultPath();
    explicit CKeptFolder(const QString &path = defaultPath());

    // Writes the download under a name of its own; never over another file. Returns the path,
    // or an empty string with the reason in *problem.
    QString keep(const CKeptDownload &download, QString *problem) const;
    // Replaces a kept file as a whole: a temporary file, synced, then renamed over it.
    static bool rewrite(const QString &file, const CKeptDownload &download, QString *problem);
    // The kept files, oldest first.
    QStringList files() const;

    QString path;

private:
    QString reserveName(const CKeptDownload &download, QString *problem) const;
};
