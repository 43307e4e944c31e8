// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal that another program holds, linked as COMn of a ports folder: cooked as a
// login would leave it, so that any change a search makes shows; or raw, so that bytes sent to
// it before the port is opened are not echoed. Its descriptors stay out of child processes, which
// would otherwise hold the line as well.
class HeldTerminal
{
public:
    HeldTerminal(const QString &portsFolder, int n, bool cooked = true)
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ::grantpt(master);
        ::unlockpt(master);
        slave = QString::fromLocal8Bit(::ptsname(master));
        held = ::open(qPrintable(slave), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios t{};
        ::tcgetattr(held, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(held, TCSANOW, &t);
        if (cooked)
            cook();
        QFile::link(slave, portsFolder + QStringLiteral("/COM%1").arg(n));
    }
    // Cooked, echoing, 115200 baud, seven data bits, even parity, two stop bits.
    void cook() const
    {
        termios t{};
        ::tcgetattr(held, &t);
        t.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
        t.c_iflag |= IXON | ICRNL;
        t.c_oflag |= OPOST;
        t.c_cflag = (t.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB;
        ::cfsetspeed(&t, B115200);
        ::tcsetattr(held, TCSANOW, &t);
    }
    // Sends bytes as a device would, and waits until they are in the port's queue.
    bool send(const QByteArray &bytes) const
    {
        pollfd p{held, POLLIN, 0};
        return ::write(master, bytes.data(), std::size_t(bytes.size())) == bytes.size() &&
               ::poll(&p, 1, 1000) == 1;
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

    // What the program wrote to the port and nobody has read, after waiting for it as long as
    // given.
    QByteArray unread(int waitMs = 0) const
    {
        pollfd p{master, POLLIN, 0};
        ::poll(&p, 1, waitMs);
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
