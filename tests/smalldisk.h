// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
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

    bool mounted() const { return mountedHere; }
    QString path() const { return dir.path(); }

    // Takes every byte that is left: the copy stops when the disk is full.
    bool fill() const
    {
        return QProcess::execute("dd", {"if=/dev/zero", "of=" + dir.filePath(".filler"), "bs=4k",
                                        "status=none"}) == 1;
    }
    bool makeReadOnly() const
    {
        return QProcess::execute("mount", {"-o", "remount,ro", dir.path()}) == 0;
    }

private:
    QTemporaryDir dir;
    const bool mountedHere;
};
