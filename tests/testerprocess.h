// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/zrdata.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// collatrix-tester running as a child process, linked into a ports folder; stopped (and its
// link removed) when the object goes.
class TesterProcess
{
public:
    static QString program() { return QStringLiteral(COLLATRIX_BIN_DIR "/collatrix-tester"); }

    TesterProcess(const QString &portsFolder, const QStringList &args)
    {
        process.start(program(), args + QStringList{"--ports-dir", portsFolder});
        // The first line says where the terminal is linked.
        if (process.waitForReadyRead(10000))
            firstLine = QString::fromUtf8(process.readLine()).trimmed();
    }
    ~TesterProcess() { stop(); }

    bool linked() const { return firstLine.contains(QLatin1String(" linked ")); }
    void stop()
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            process.waitForFinished(5000);
        }
    }

    // The memory a tester started with these options serves.
    static QByteArray memory(const QStringList &args)
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("memory.bin"));
        QProcess p;
        p.start(program(), args + QStringList{"--write-dump", file});
        p.waitForFinished(10000);
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static bool decode(CZRData *data, const QByteArray &dump, bool extended)
    {
        return data->decodeDump(reinterpret_cast<const std::uint8_t *>(dump.constData()),
                                int(dump.size()), extended);
    }

    QProcess process;
    QString firstLine;
};
