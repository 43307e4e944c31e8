// SPDX-License-Identifier: GPL-3.0-or-later
#include "ptylink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace
{

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

CPtyLink::~CPtyLink()
{
    close();
}

CPtyLink::OpenResult CPtyLink::open(const QString &portsDir, int port, QString *error)
{
    if (!QDir().mkpath(portsDir)) {
        *error = QStringLiteral("cannot create the ports folder %1").arg(portsDir);
        return Failed;
    }
    link = QDir(portsDir).filePath(QStringLiteral("COM%1").arg(port));
    const QFileInfo existing(link);
    if (existing.isSymLink() && existing.exists()) {
        *error = QStringLiteral("%1 is already linked to %2: is another tester running?")
                     .arg(link, existing.symLinkTarget());
        link.clear();
        return LinkInUse;
    }
    if (!existing.isSymLink() && existing.exists()) {
        *error = QStringLiteral("%1 exists and is not a link; not touching it").arg(link);
        link.clear();
        return LinkInUse;
    }
    masterFd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (masterFd < 0 || grantpt(masterFd) != 0 || unlockpt(masterFd) != 0) {
        *error = QStringLiteral("cannot open a pseudo-terminal: %1").arg(systemError());
        link.clear();
        close();
        return Failed;
    }
    slave = QString::fromLocal8Bit(ptsname(masterFd));
    slaveFd = ::open(ptsname(masterFd), O_RDWR | O_NOCTTY);
    termios raw{};
    if (slaveFd < 0 || tcgetattr(slaveFd, &raw) != 0) {
        *error = QStringLiteral("cannot open %1: %2").arg(slave, systemError());
        link.clear();
        close();
        return Failed;
    }
    cfmakeraw(&raw);
    cfsetspeed(&raw, B38400);
    tcsetattr(slaveFd, TCSANOW, &raw);
    if (!createLink(error)) {
        link.clear();
        close();
        return Failed;
    }
    return Opened;
}

bool CPtyLink::createLink(QString *error)
{
    // A dangling link is what a tester that was killed leaves behind.
    QFile::remove(link);
    if (::symlink(QFile::encodeName(slave).constData(), QFile::encodeName(link).constData()) != 0) {
        *error = QStringLiteral("cannot link %1: %2").arg(link, systemError());
        return false;
    }
    return true;
}

void CPtyLink::close()
{
    if (!link.isEmpty() && QFileInfo(link).symLinkTarget() == slave)
        QFile::remove(link);
    link.clear();
    if (slaveFd >= 0)
        ::close(slaveFd);
    if (masterFd >= 0)
        ::close(masterFd);
    slaveFd = -1;
    masterFd = -1;
}

int CPtyLink::unreadByHost() const
{
    int n = 0;
    if (slaveFd < 0 || ioctl(slaveFd, FIONREAD, &n) != 0)
        return 0;
    return n;
}

void CPtyLink::discardUnread()
{
    if (slaveFd >= 0)
        tcflush(slaveFd, TCIFLUSH);
}
