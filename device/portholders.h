// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

#include <sys/types.h>

// The character devices that other processes hold open, as /proc/PID/fd shows them: a GPS
// daemon or a terminal program keeps its port open without any lock. Reading every descriptor
// of every process costs a system call each, so one look serves a whole search.
// A process that holds the master side of a pseudo-terminal is the device end of that line (a
// simulator, a terminal window), not a competitor: its own descriptor of the slave side does
// not count. Processes whose descriptors we may not read are not seen.
class CPortHolders
{
public:
    // Looks through procRoot/PID/fd of every process but ours; devRoot holds "ptmx" and "pts".
    CPortHolders(const QString &procRoot, const QString &devRoot);
    // The process that has the device open (the lowest PID of several); 0 when none has.
    pid_t holder(dev_t device) const;
    // The character device a path names, links followed; 0 when it is none.
    static dev_t characterDevice(const QString &path);

private:
    void addProcess(pid_t pid, const QString &folder);
    // The slave of the pseudo-terminal whose master descriptor fdinfo describes; 0 when unknown.
    dev_t slaveOfMaster(const QString &fdinfo) const;

    QString devRoot;
    dev_t ptmx = 0;
    QHash<quint64, pid_t> held;
};
