#include "ptypeer.h"

#include <QFile>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{

constexpr int kFrameHeaderSize = 11;
const char kFrameMagic[] = "KVT M47T";

} // namespace

PtyPeer::PtyPeer(const QString &portsFolder, int portNumber)
    : link(portsFolder + QStringLiteral("/COM%1").arg(portNumber))
{
    if (openPair()) {
        worker = std::thread(&PtyPeer::run, this);
        return;
    }
    if (slave >= 0)
        ::close(slave);
    if (master >= 0)
        ::close(master);
    master = slave = -1;
}

// Raw mode, and the slave stays open here, so the master never sees a hang-up when the program
// closes its side.
bool PtyPeer::openPair()
{
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return false;
    const QString slaveName = QString::fromLocal8Bit(::ptsname(master));
    slave = ::open(QFile::encodeName(slaveName).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (slave < 0 || ::tcgetattr(slave, &tio) != 0)
        return false;
    ::cfmakeraw(&tio);
    // A test may have shadowed this port number with a dangling entry; the peer takes it over.
    QFile::remove(link);
    return ::tcsetattr(slave, TCSANOW, &tio) == 0 && QFile::link(slaveName, link);
}

PtyPeer::~PtyPeer()
{
    if (!isValid())
        return;
    stopping = true;
    worker.join();
    QFile::remove(link);
    ::close(slave);
    ::close(master);
}

void PtyPeer::setReply(int command, const Bytes &reply)
{
    std::lock_guard<std::mutex> lock(mutex);
    replies[command] = reply;
}

Bytes PtyPeer::received() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return log;
}

void PtyPeer::run()
{
    while (!stopping) {
        pollfd in{master, POLLIN, 0};
        if (::poll(&in, 1, 20) <= 0 || !(in.revents & POLLIN))
            continue;
        std::uint8_t chunk[4096];
        const ssize_t n = ::read(master, chunk, sizeof chunk);
        if (n <= 0)
            continue;
        {
            std::lock_guard<std::mutex> lock(mutex);
            log.insert(log.end(), chunk, chunk + n);
        }
        pending.insert(pending.end(), chunk, chunk + n);
        answerFrames();
    }
}

// Bytes before a frame start are skipped; a frame is complete with its 11 + length bytes.
void PtyPeer::answerFrames()
{
    while (pending.size() >= kFrameHeaderSize) {
        if (std::memcmp(pending.data(), kFrameMagic, sizeof kFrameMagic - 1) != 0) {
            pending.erase(pending.begin());
            continue;
        }
        const std::size_t frameSize = kFrameHeaderSize + pending[10];
        if (pending.size() < frameSize)
            return;
        const int command = pending[8];
        pending.erase(pending.begin(), pending.begin() + frameSize);
        Bytes reply;
        {
            std::lock_guard<std::mutex> lock(mutex);
            const auto it = replies.find(command);
            if (it == replies.end())
                continue;
            reply = it->second;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kReplyDelayMs));
        send(reply);
    }
}

void PtyPeer::send(const Bytes &data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(master, data.data() + done, data.size() - done);
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}
