// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/portholders.h"

#include <QString>
#include <QStringList>

#include <memory>

#include <sys/types.h>

// Who else has a serial device: the kernel console, a session whose controlling terminal it is
// (a login on the line), a program that announced it with a UUCP lock file, or one that simply
// holds it open. None of these takes an flock, so the flock alone would not keep us out. The roots
// are settable so that tests can hand in trees of their own.
class CPortOwners
{
public:
    struct Roots {
        QString sysfs = QStringLiteral("/sys");
        QString proc = QStringLiteral("/proc");
        QString dev = QStringLiteral("/dev");
        QStringList lockFolders = {QStringLiteral("/run/lock"), QStringLiteral("/var/lock")};
    };
    static void setRoots(const Roots &roots);
    static const Roots &roots();

    // Why the device (links resolved) belongs to another program; empty when it does not.
    static QString foreignUse(const QString &device);
    // The UUCP lock file name of a device: "LCK.." and its name below /dev, "/" written as "_".
    static QString lockName(const QString &device);
    // The PID a lock file names when that process is alive; 0 when the lock is stale or absent.
    static pid_t lockHolder(const QString &lockFile);
    // A running process's name, as its comm file gives it.
    static QString processName(pid_t pid);
    // One look at the devices that other processes hold open. While a caller keeps it, every
    // check uses it: a search over many ports reads the processes' descriptors once.
    static std::shared_ptr<const CPortHolders> survey();

private:
    static QString consoleUse(dev_t device);
    static QString sessionUse(dev_t device);
    static QString lockUse(const QString &device);
    static QString holderUse(dev_t device);
    static QString inUseBy(pid_t pid);
};
