// SPDX-License-Identifier: GPL-3.0-or-later
#include "testerdevice.h"

#include "ascansynthesizer.h"
#include "ptylink.h"
#include "testerrandom.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace
{

constexpr int kIdentify = 0x01;
constexpr int kDump = 0x06;
constexpr int kDumpExtended = 0x09;
constexpr int kExtendedProbe = 0x0A;
constexpr int kAScan = 0x0C;

constexpr int kStepMs = 5;
// Small pieces, as a UART with a short FIFO hands them over.
constexpr int kMaxPiece = 64;
// The host reads every 500 ms; a queue that does not move for this long has no reader.
constexpr int kStallMs = 3000;
// How long the host's queue must stay empty before it counts as drained.
constexpr int kSettleMs = 20;
// Stray bytes must reach the host's tick before the dump's first bytes do.
constexpr int kStrayGapMs = 700;
// What a noisy line makes of silence: bits stuck low or high, a lone edge. None is an 'O', so
// the host cannot take a burst of them for the start of a dump header.
const char kLineNoise[] = {'\x00', '\xFF', '\xF0', '\x80', '\xFE', '\xE0', '\xC0', '\xF8'};

volatile std::sig_atomic_t stopSignal = 0;

void onStopSignal(int signal)
{
    stopSignal = signal;
}

bool stopRequested()
{
    return stopSignal != 0;
}

// Waits for the master to become writable (or readable), at most ms; interrupted by a signal.
void waitOn(int fd, short events, int ms)
{
    pollfd p{fd, events, 0};
    ::poll(&p, 1, ms);
}

QByteArray lineNoise(int count, std::uint64_t seed)
{
    CTesterRandom rng(seed);
    QByteArray noise;
    for (int i = 0; i < count; ++i)
        noise.append(kLineNoise[rng.between(0, int(sizeof kLineNoise) - 1)]);
    return noise;
}

QString hex(int code)
{
    return QStringLiteral("0x%1").arg(code, 2, 16, QLatin1Char('0'));
}

} // namespace

CTesterDevice::CTesterDevice(const CTesterMemory &memory, const TesterOptions &options,
                             CPtyLink &link)
    : memory(memory), options(options), link(link), name(QStringLiteral("COM%1").arg(options.port))
{
}

void CTesterDevice::installStopHandlers()
{
    struct sigaction sa {
    };
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    // No SA_RESTART: a signal must cut the waits short.
    sa.sa_flags = 0;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

int CTesterDevice::run()
{
    char buffer[4096];
    while (!stopRequested() && !vanished) {
        waitOn(link.master(), POLLIN, 100);
        const ssize_t n = ::read(link.master(), buffer, sizeof buffer);
        if (n <= 0)
            continue;
        parser.feed(QByteArray(buffer, int(n)));
        CommandFrame frame;
        while (!vanished && !stopRequested() && parser.next(&frame))
            handle(frame);
        if (const int skipped = parser.takeSkipped())
            log(QStringLiteral("skipped %1 bytes that form no command frame").arg(skipped));
    }
    if (stopRequested())
        log(QStringLiteral("stopped by signal %1, link removed").arg(int(stopSignal)));
    link.close();
    return 0;
}

void CTesterDevice::handle(const CommandFrame &frame)
{
    if (options.silent) {
        log(QStringLiteral("command %1 -> no answer (silent)").arg(hex(frame.code)));
        return;
    }
    // Whatever the host left unread belongs to an exchange it has given up.
    if (const int stale = link.unreadByHost()) {
        link.discardUnread();
        log(QStringLiteral("dropped %1 bytes the host did not read").arg(stale));
    }
    switch (frame.code) {
    case kIdentify:
        reply("identify", QByteArrayLiteral("Tarn Qellix"), QStringLiteral("identify"));
        break;
    case kExtendedProbe:
        answerExtendedProbe();
        break;
    case kDump:
    case kDumpExtended:
        // A plain device streams for the plain command only, an extended one for its own.
        if ((frame.code == kDumpExtended) == memory.isExtended())
            streamDump(frame.code);
        else
            log(QStringLiteral("dump %1 -> no answer (layout %2 memory)")
                    .arg(hex(frame.code))
                    .arg(memory.layout()));
        break;
    case kAScan:
        answerAScan(frame.payload);
        break;
    default:
        log(QStringLiteral("unknown command %1 (parameter %2, %3 payload bytes) ignored")
                .arg(hex(frame.code))
                .arg(frame.param)
                .arg(frame.payload.size()));
    }
}

void CTesterDevice::reply(const char *what, const QByteArray &bytes, const QString &cutName)
{
    const bool cut = options.cutReplies.contains(cutName);
    const QByteArray sent = cut ? bytes.left(bytes.size() - 1) : bytes;
    if (options.replyRate > 0)
        writePaced(sent.constData(), 0, int(sent.size()), options.replyRate);
    else
        writeAll(sent.constData(), int(sent.size()));
    const QString shown = bytes.size() <= 16 ? QString::fromLatin1(sent)
                                             : QStringLiteral("%1 bytes").arg(sent.size());
    log(QStringLiteral("%1 -> %2%3")
            .arg(QLatin1String(what), shown, cut ? QStringLiteral(" (cut short)") : QString()));
}

void CTesterDevice::answerExtendedProbe()
{
    if (!memory.isExtended() || options.nonExtended) {
        log(QStringLiteral("extended probe -> no answer (%1)")
                .arg(options.nonExtended ? QStringLiteral("--non-extended")
                                         : QStringLiteral("not an extended device")));
        return;
    }
    reply("extended probe", QByteArrayLiteral("Yeah"), QStringLiteral("extended"));
}

void CTesterDevice::answerAScan(const QByteArray &payload)
{
    if (payload.size() < 4) {
        log(QStringLiteral("ascan request with %1 payload bytes ignored").arg(payload.size()));
        return;
    }
    const int groupByte = quint8(payload[1]);
    const int cellByte = quint8(payload[3]);
    TesterRecord record;
    const bool found = memory.findRecord(groupByte, cellByte, &record);
    const bool stored = found && record.hasAScan;
    const QByteArray bytes =
        stored ? CAScanSynthesizer::reply(record, options.seed) : CAScanSynthesizer::flatReply();
    const QString what = QStringLiteral("ascan group %1 cell %2%3")
                             .arg(groupByte + 1)
                             .arg(cellByte + 1)
                             .arg(stored  ? QString()
                                  : found ? QStringLiteral(" (no A-scan stored: flat trace)")
                                          : QStringLiteral(" (no such record: flat trace)"));
    reply(qPrintable(what), bytes, QStringLiteral("ascan"));
}

void CTesterDevice::streamDump(int code)
{
    const int size = int(memory.bytes().size());
    int end = size;
    if (options.pauseAfter >= 0)
        end = int(std::min<qint64>(end, options.pauseAfter));
    if (options.vanishAfter >= 0)
        end = int(std::min<qint64>(end, options.vanishAfter));
    // The line is finished when the stream ends, so it reads as one exchange.
    log(QStringLiteral("dump %1: %2 bytes at %3 B/s").arg(hex(code)).arg(size).arg(options.rate),
        false);
    QElapsedTimer clock;
    clock.start();
    const bool ok = sendStrayBytes() && writeDump(end);
    const QString took = QStringLiteral("%1 s").arg(clock.elapsed() / 1000.0, 0, 'f', 2);
    if (stopRequested()) {
        log(QStringLiteral(" interrupted"));
        return;
    }
    if (!ok) {
        link.discardUnread();
        log(QStringLiteral(" ... the host stopped reading, rest of the dump dropped after %1")
                .arg(took));
    } else if (options.vanishAfter >= 0 && end == options.vanishAfter) {
        log(QStringLiteral(" ... vanished after %1 bytes (%2): link removed, terminal closed")
                .arg(end)
                .arg(took));
        // The host gets exactly N bytes before the line goes dead, so its outcome is certain.
        waitUntilDrained();
        link.close();
        vanished = true;
    } else if (end < size) {
        log(QStringLiteral(" ... paused after %1 bytes (%2), staying silent").arg(end).arg(took));
    } else {
        log(QStringLiteral(" ... done in %1").arg(took));
    }
}

bool CTesterDevice::sendStrayBytes()
{
    // 0xA5 is no 'O' either.
    const QByteArray stray =
        QByteArray(options.garbage, char(0xA5)) + lineNoise(options.noise, options.seed);
    return stray.isEmpty() ||
           (writeAll(stray.constData(), int(stray.size())) && pause(kStrayGapMs));
}

bool CTesterDevice::writeDump(int end)
{
    const char *dump = memory.bytes().constData();
    // The host stops reading at the tick whose progress reaches 100 %; the tail pause starts
    // when the bytes up to there are written.
    const int boundary =
        options.tailPause > 0 ? std::clamp(memory.receptionBoundary(), 0, end) : end;
    if (!writePaced(dump, 0, boundary, options.rate))
        return false;
    return boundary == end || (pause(int(std::lround(options.tailPause * 1000))) &&
                               writePaced(dump, boundary, end, options.rate));
}

bool CTesterDevice::writePaced(const char *data, int from, int to, double rate)
{
    QElapsedTimer clock;
    clock.start();
    qint64 lastMove = 0;
    int sent = from;
    while (sent < to && !stopRequested()) {
        const qint64 due = from + qint64(double(clock.nsecsElapsed()) * rate / 1e9);
        const int piece = int(std::min<qint64>(std::min<qint64>(to, due) - sent, kMaxPiece));
        if (piece <= 0) {
            waitOn(-1, 0, kStepMs);
            continue;
        }
        const ssize_t n = ::write(link.master(), data + sent, size_t(piece));
        if (n > 0) {
            sent += int(n);
            lastMove = clock.elapsed();
        } else if (clock.elapsed() - lastMove > kStallMs) {
            return false;
        } else {
            waitOn(link.master(), POLLOUT, kStepMs);
        }
    }
    return sent >= to;
}

bool CTesterDevice::waitUntilDrained()
{
    // Bytes written to the master reach the host's queue a moment later, so an empty queue
    // counts only when it stays empty for a while.
    QElapsedTimer stall;
    QElapsedTimer empty;
    stall.start();
    empty.start();
    int left = link.unreadByHost();
    while (!stopRequested() && (left > 0 || empty.elapsed() < kSettleMs)) {
        waitOn(-1, 0, 1);
        const int now = link.unreadByHost();
        if (now < left)
            stall.restart();
        else if (stall.elapsed() > kStallMs)
            return false;
        if (now > 0)
            empty.restart();
        left = now;
    }
    return left == 0 && !stopRequested();
}

bool CTesterDevice::writeAll(const char *data, int size)
{
    QElapsedTimer clock;
    clock.start();
    int sent = 0;
    while (sent < size && !stopRequested()) {
        const ssize_t n = ::write(link.master(), data + sent, size_t(size - sent));
        if (n > 0) {
            sent += int(n);
            clock.restart();
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else if (clock.elapsed() > kStallMs) {
            return false;
        } else {
            waitOn(link.master(), POLLOUT, kStepMs);
        }
    }
    return sent == size;
}

bool CTesterDevice::pause(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!stopRequested() && clock.elapsed() < ms)
        waitOn(-1, 0, int(std::min<qint64>(kStepMs * 4, ms - clock.elapsed())));
    return !stopRequested();
}

void CTesterDevice::log(const QString &text, bool endLine)
{
    if (!lineOpen)
        std::printf("%s: ", qPrintable(name));
    std::printf("%s%s", qPrintable(text), endLine ? "\n" : "");
    lineOpen = !endLine;
    std::fflush(stdout);
}
