// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/portclaim.h"

#include "device/portowners.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace
{

bool inExclusiveMode(int fd)
{
    int exclusive = 0;
    return ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}

// Creates the lock file only when no other exists: two programs that start at once cannot both
// take it.
bool createLockFile(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    char text[16];
    const int n = std::snprintf(text, sizeof text, "%10d\n", int(::getpid()));
    const bool written = ::write(fd, text, size_t(n)) == n;
    ::close(fd);
    if (!written)
        QFile::remove(path);
    return written;
}

} // namespace

bool CPortClaim::take(int fd, const QString &device, QString *reason)
{
    if (inExclusiveMode(fd)) {
        *reason = QStringLiteral("in exclusive use by another program");
        return false;
    }
    // The flock stands in for the exclusive open of the Windows driver.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        *reason = QStringLiteral("locked by another program (flock)");
        return false;
    }
    if (!takeLockFile(device, reason))
        return false;
    ::ioctl(fd, TIOCEXCL);
    settingsSaved = ::tcgetattr(fd, &saved) == 0;
    modemSaved = ::ioctl(fd, TIOCMGET, &modemLines) == 0;
    return true;
}

// The first lock folder that we may write in gets the lock; a stale lock there (its process is
// gone, ours from a crash included) is removed first. Without a writable folder the port is
// used without a lock file, as before.
bool CPortClaim::takeLockFile(const QString &device, QString *reason)
{
    const QString name = CPortOwners::lockName(device);
    for (const QString &folder : CPortOwners::roots().lockFolders) {
        if (!QFileInfo(folder).isWritable())
            continue;
        const QString path = folder + '/' + name;
        if (QFileInfo::exists(path) && CPortOwners::lockHolder(path) == 0)
            QFile::remove(path);
        if (createLockFile(path)) {
            lockFile = path;
            return true;
        }
        const pid_t holder = CPortOwners::lockHolder(path);
        if (holder == 0)
            continue; // not written for another reason: try the next folder
        *reason = QStringLiteral("locked by %1, PID %2")
                      .arg(CPortOwners::processName(holder))
                      .arg(holder);
        return false;
    }
    return true;
}

void CPortClaim::release(int fd, bool keepSettings)
{
    if (!keepSettings && settingsSaved)
        ::tcsetattr(fd, TCSANOW, &saved);
    if (!keepSettings && modemSaved)
        ::ioctl(fd, TIOCMSET, &modemLines);
    ::ioctl(fd, TIOCNXCL);
    if (!lockFile.isEmpty())
        QFile::remove(lockFile);
    lockFile.clear();
    settingsSaved = false;
    modemSaved = false;
}
