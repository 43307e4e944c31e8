// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

// A file system of its own, 1 MiB of tmpfs, that a test can fill up or make read-only. Mounting
// needs root, as in CI; elsewhere mounted() is false and the test says it skips.
class TestSmallDisk
{
public:
    TestSmallDisk()
        : mountedHere(geteuid() == 0 && QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m",
                                                                    "tmpfs", dir.path()}) == 0)
    {
    }
    ~TestSmallDisk()
    {
        if (mountedHere)
            QProcess::execute("umount", {"-l", dir.path()});
    }
    TestSmallDisk(const TestSmallDisk &) = delete;
    TestSmallDisk &operator=(const TestSmallDisk &) = delete;

    bool mounted() const { return mountedHere; }
    QString path() const { return dir.path(); }

    // Takes every byte that is left.
    bool fill() const
    {
        QFile filler(dir.filePath(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, '\0');
        while (filler.write(block) == block.size()) {
        }
        return filler.error() != QFileDevice::NoError;
    }
    bool makeReadOnly() const
    {
        return QProcess::execute(
                   QStringLiteral("mount"),
                   {QStringLiteral("-o"), QStringLiteral("remount,ro"), dir.path()}) == 0;
    }

private:
    QTemporaryDir dir;
    const bool mountedHere;
};
