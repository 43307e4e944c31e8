// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port on Linux: COM n is a device file, opened non-blocking so that reads never wait.
#include "device/comport.h"
#include "device/comportdescriptor.h"
#include "device/portclaim.h"
#include "device/portowners.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace
{

constexpr int kWriteStallMs = 1000;

// What this program did to each device it holds open, by descriptor, to be undone on close.
std::map<int, CPortClaim> &claims()
{
    static std::map<int, CPortClaim> held;
    return held;
}

} // namespace

namespace
{

// Four families of 32 ports each; terminals and pseudo-terminals are never reached this way.
std::string tablePath(int n)
{
    static const char *const families[] = {"/dev/ttyS", "/dev/ttyUSB", "/dev/ttyACM",
                                           "/dev/rfcomm"};
    constexpr int kFamilySize = 32;
    if (n < 1 || n > kFamilySize * 4)
        return {};
    return families[(n - 1) / kFamilySize] + std::to_string((n - 1) % kFamilySize);
}

// The device file of a "\\.\COMn" name, links resolved; empty when there is none. An entry in
// a ports folder wins even when it is a dangling link, so a closed simulator makes its port fail.
std::string devicePath(int n)
{
    for (const QString &folder : CCOMPort::portsFolders()) {
        const QByteArray entry = QFile::encodeName(folder + QStringLiteral("/COM%1").arg(n));
        struct stat st;
        if (::lstat(entry.constData(), &st) != 0)
            continue;
        char resolved[PATH_MAX];
        return ::realpath(entry.constData(), resolved) ? std::string(resolved) : std::string();
    }
    return tablePath(n);
}

// Many machines list ttyS ports without a UART behind them; each would cost a full probe.
bool isPhantomUart(int fd, const std::string &path)
{
    if (path.rfind("/dev/ttyS", 0) != 0)
        return false;
    serial_struct info{};
    return ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type == PORT_UNKNOWN;
}

speed_t lineSpeed(int baudRate)
{
    static const struct {
        int rate;
        speed_t speed;
    } speeds[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
                  {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (const auto &s : speeds) {
        if (s.rate == baudRate)
            return s.speed;
    }
    return B38400;
}

// Raw 8N1 at the given speed; handshake settings stay as the driver has them.
void configureLine(int fd, int baudRate)
{
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return;
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, lineSpeed(baudRate));
    ::cfsetospeed(&tio, lineSpeed(baudRate));
    ::tcsetattr(fd, TCSANOW, &tio);
}

// A pseudo-terminal has no modem lines and answers ENOTTY; that is fine.
void raiseRts(int fd)
{
    int bits = TIOCM_RTS;
    ::ioctl(fd, TIOCMBIS, &bits);
}

bool writeAll(int fd, const char *data, int length)
{
    while (length > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(length));
        if (n > 0) {
            data += n;
            length -= static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN)
            return false;
        pollfd out{fd, POLLOUT, 0};
        if (::poll(&out, 1, kWriteStallMs) <= 0)
            return false;
    }
    return true;
}

} // namespace

bool sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms > 0 ? ms : 0));
    return true;
}

std::int64_t clockMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::shared_ptr<const void> CCOMPort::surveyOwners()
{
    return CPortOwners::survey();
}

bool CCOMPort::open(bool overlappedMode)
{
    close();
    refusalReason.clear();
    const std::string path = devicePath(portNumber());
    if (path.empty())
        return false;
    const QString device = QFile::decodeName(path.c_str());
    // Nothing is opened that another program announced as its own.
    refusalReason = CPortOwners::foreignUse(device);
    if (!refusalReason.isEmpty())
        return false;
    const int opened = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (opened < 0) {
        if (errno == EBUSY)
            refusalReason = QStringLiteral("in exclusive use by another program");
        return false;
    }
    if (isPhantomUart(opened, path) || !claims()[opened].take(opened, device, &refusalReason)) {
        claims().erase(opened);
        ::close(opened);
        return false;
    }
    native->fd = opened;
    native->overlapped = overlappedMode;
    configureLine(native->fd, baudRate);
    raiseRts(native->fd);
    sleepMs(kSettleMs);
    flushInput();
    return true;
}

void CCOMPort::close()
{
    if (native->fd < 0)
        return;
    claims()[native->fd].release(native->fd, tester);
    claims().erase(native->fd);
    ::close(native->fd);
    native->fd = -1;
    native->overlapped = false;
}

bool CCOMPort::write(const void *data, int length)
{
    const bool written =
        native->fd >= 0 && writeAll(native->fd, static_cast<const char *>(data), length);
    return native->overlapped || written;
}

// A hang-up or an error counts as no byte: nothing more will come.
bool CCOMPort::waitReadable(int timeoutMs)
{
    if (native->fd < 0 || timeoutMs < 0)
        return false;
    pollfd in{native->fd, POLLIN, 0};
    return ::poll(&in, 1, timeoutMs) > 0 && (in.revents & POLLIN) != 0;
}

int CCOMPort::queuedBytes() const
{
    int queued = 0;
    if (native->fd < 0 || ::ioctl(native->fd, FIONREAD, &queued) != 0)
        return 0;
    return queued;
}

// EAGAIN, EIO (the other side of a pseudo-terminal went away) and end of file all mean nothing.
int CCOMPort::readQueued(void *buffer, int n)
{
    const ssize_t got = ::read(native->fd, buffer, static_cast<size_t>(n));
    return got > 0 ? static_cast<int>(got) : 0;
}
