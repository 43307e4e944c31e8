// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/csvwriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Every file of a folder by name, with its bytes; empty when there is no such folder.
inline QMap<QString, QByteArray> folderFiles(const QString &path)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(path).entryList(QDir::Files))
        files.insert(name, fileBytes(path + QLatin1Char('/') + name));
    return files;
}

// The CSV that Save As writes of every row.
inline QByteArray csvOf(const CZRData &data)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    CCsvWriter().write(out, data, CCsvWriter::allRows(data));
    return out.data();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// One run of collatrix-cli: exit status (-1 when it did not finish) and both outputs.
struct CliRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

inline CliRun runCli(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(COLLATRIX_BIN_DIR "/collatrix-cli"), args);
    CliRun r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.status = p.exitCode();
    r.out = p.readAllStandardOutput(), r.err = p.readAllStandardError();
    return r;
}
