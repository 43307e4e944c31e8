// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal that another program holds, linked as COMn of a ports folder: cooked, echoing
// and at 115200 baud as a login would leave it, so that any change a search makes shows.
class HeldTerminal
{
public:
    HeldTerminal(const QString &portsFolder, int n)
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        ::grantpt(master);
        ::unlockpt(master);
        slave = QString::fromLocal8Bit(::ptsname(master));
        held = ::open(qPrintable(slave), O_RDWR | O_NOCTTY);
        termios t{};
        ::tcgetattr(held, &t);
        t.c_lflag |= ICANON | ECHO | ISIG;
        ::cfsetspeed(&t, B115200);
        ::tcsetattr(held, TCSANOW, &t);
        QFile::link(slave, portsFolder + QStringLiteral("/COM%1").arg(n));
    }
    ~HeldTerminal()
    {
        ::close(held);
        ::close(master);
    }
    termios settings() const
    {
        termios t{};
        ::tcgetattr(held, &t);
        return t;
    }
    speed_t speed() const
    {
        const termios t = settings();
        return ::cfgetispeed(&t);
    }
    dev_t device() const
    {
        struct stat st;
        ::stat(qPrintable(slave), &st);
        return st.st_rdev;
    }
    bool exclusive() const
    {
        int on = 0;
        ::ioctl(held, TIOCGEXCL, &on);
        return on != 0;
    }

    // What the program wrote to the port and nobody has read.
    QByteArray unread() const
    {
        char buffer[4096];
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        return n > 0 ? QByteArray(buffer, int(n)) : QByteArray();
    }
    static bool sameSettings(const termios &a, const termios &b)
    {
        return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
               a.c_lflag == b.c_lflag && ::cfgetispeed(&a) == ::cfgetispeed(&b);
    }

    int master = -1;
    int held = -1;
    QString slave;
};
