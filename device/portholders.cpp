// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/portholders.h"

#include <QFile>
#include <QList>
#include <QSet>

#include <cstdlib>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// The numeric entries of a folder (PIDs of /proc, descriptors of fd); empty when it cannot be
// read.
QList<long> numericEntries(const QString &folder)
{
    QList<long> numbers;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (dir == nullptr)
        return numbers;
    while (const dirent *entry = ::readdir(dir)) {
        char *end = nullptr;
        const long n = std::strtol(entry->d_name, &end, 10);
        if (end != entry->d_name && *end == '\0')
            numbers.append(n);
    }
    ::closedir(dir);
    return numbers;
}

} // namespace

CPortHolders::CPortHolders(const QString &procRoot, const QString &devRoot)
    : devRoot(devRoot), ptmx(characterDevice(devRoot + QStringLiteral("/ptmx")))
{
    for (const long pid : numericEntries(procRoot)) {
        if (pid != ::getpid())
            addProcess(pid_t(pid), procRoot + '/' + QString::number(pid));
    }
}

dev_t CPortHolders::characterDevice(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return 0;
    return st.st_rdev;
}

pid_t CPortHolders::holder(dev_t device) const
{
    return held.value(quint64(device), 0);
}

void CPortHolders::addProcess(pid_t pid, const QString &folder)
{
    QSet<quint64> devices;
    QSet<quint64> deviceEnds;
    for (const long fd : numericEntries(folder + QStringLiteral("/fd"))) {
        const QString name = QString::number(fd);
        const dev_t device = characterDevice(folder + QStringLiteral("/fd/") + name);
        if (device != 0 && device == ptmx)
            deviceEnds.insert(quint64(slaveOfMaster(folder + QStringLiteral("/fdinfo/") + name)));
        else if (device != 0)
            devices.insert(quint64(device));
    }
    for (const quint64 device : devices - deviceEnds) {
        const pid_t known = held.value(device, 0);
        if (known == 0 || pid < known)
            held.insert(device, pid);
    }
}

// The fdinfo of a master descriptor names its pair by the "tty-index:" line; the slave is
// pts/N.
dev_t CPortHolders::slaveOfMaster(const QString &fdinfo) const
{
    QFile file(fdinfo);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key("tty-index:");
    for (const QByteArray &line : file.read(4096).split('\n')) {
        if (line.startsWith(key))
            return characterDevice(devRoot + QStringLiteral("/pts/") +
                                   QString::fromLatin1(line.mid(key.size()).trimmed()));
    }
    return 0;
}
