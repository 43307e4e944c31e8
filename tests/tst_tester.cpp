// SPDX-License-Identifier: GPL-3.0-or-later
// collatrix-tester on a pseudo-terminal, driven as a host drives it, in real time.
#include "ascansynthesizer.h"
#include "testermemory.h"
#include "testerprocess.h"

#include <QtTest>
#include <fcntl.h>
#include <map>
#include <sys/ioctl.h>
#include <unistd.h>

namespace
{

// The host's end of the line, on the link of a tester started in a folder of its own.
class Host
{
public:
    explicit Host(const QStringList &options) : tester(dir.path(), options)
    {
        fd = ::open(QFile::encodeName(dir.filePath("COM3")), O_RDWR | O_NOCTTY | O_NONBLOCK);
    }
    ~Host() { ::close(fd); }
    // Sends a command, a stray byte first and the frame in two pieces: the tester must skip
    // what is no frame and keep the start of one until the rest comes. Then leaves what comes
    // unread until there are n bytes or ms have passed, noting when each count was first seen,
    // and reads it.
    void exchange(int code, const QByteArray &payload, int n, int ms = 10000)
    {
        const QByteArray frame =
            QByteArray("\xFFKVT M47T") + char(code) + '\0' + char(payload.size()) + payload;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(::write(fd, frame.constData(), 6), ssize_t(6));
        QTest::qSleep(30);
        QCOMPARE(::write(fd, frame.constData() + 6, size_t(frame.size() - 6)),
                 ssize_t(frame.size() - 6));
        seen = {{0, 0}};
        for (int queued = 0; queued < n && clock.elapsed() < ms; QTest::qSleep(5)) {
            ioctl(fd, FIONREAD, &queued);
            seen.emplace(queued, clock.elapsed());
        }
        received = QByteArray(4096, '\0');
        received.resize(int(std::max<ssize_t>(::read(fd, received.data(), 4096), 0)));
    }

    QTemporaryDir dir;
    TesterProcess tester;
    int fd = -1;
    std::map<int, qint64> seen; // byte count -> ms after the command
    QByteArray received;
};

} // namespace

class TestTester : public QObject
{
    Q_OBJECT

private slots:
    void streamsWholeDump_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<int>("stray"); // bytes that come alone, well before the dump
        QTest::addColumn<int>("split"); // dump bytes before a pause
        // Each fits the terminal's 4096-byte queue, so the host can leave all of it there.
        const QString layout3 = "--layout 3 --groups 2 --cells 20";
        QTest::newRow("layout 1") << "--layout 1 --groups 3 --cells 32" << 0 << 0;
        QTest::newRow("layout 2") << "--layout 2 --groups 4 --cells 40" << 0 << 0;
        QTest::newRow("layout 3") << layout3 << 0 << 0;
        QTest::newRow("garbage") << layout3 + " --garbage 100" << 100 << 0;
        QTest::newRow("noise") << layout3 + " --noise 64" << 64 << 0;
        // 40 records of 32 bytes announce 5 units: the host has all it counts on at 1280 bytes.
        QTest::newRow("tail pause") << layout3 + " --tail-pause 0.8" << 0 << 1280;
    }

    void streamsWholeDump()
    {
        QFETCH(QString, options);
        QFETCH(int, stray);
        QFETCH(int, split);
        const QByteArray memory = TesterProcess::memory(options.split(' '));
        const bool extended = options.startsWith("--layout 3");
        Host host(options.split(' '));
        QVERIFY(host.tester.linked());
        // The tester does not wait for the host to read, nor runs ahead of 38400 baud.
        host.exchange(extended ? 0x09 : 0x06, {}, stray + int(memory.size()));
        for (const auto &[n, ms] : host.seen)
            QVERIFY2(n <= stray + 3840 * ms / 1000 + 64, qPrintable(QString::number(n)));
        QVERIFY(!host.received.left(stray).contains('O')); // which could start a dump header
        QCOMPARE(host.received.mid(stray), memory);
        // Nothing comes for a while after the stray bytes, so they are a chunk of their own at
        // the host's 500 ms tick, nor after the host's 100 % point when the tail pauses.
        const auto pauseEnd = host.seen.upper_bound(stray + split);
        const qint64 pause = pauseEnd->second - host.seen.lower_bound(stray + split)->second;
        QVERIFY2(pause >= (stray + split > 0 ? 400 : 0), qPrintable(QString::number(pause)));
        // The other dump command gets nothing.
        host.exchange(extended ? 0x06 : 0x09, {}, 1, 300);
        QCOMPARE(host.seen.size(), std::size_t(1));
    }

    void ascanRepliesAtLineRate()
    {
        Host host(QString("--layout 3 --groups 3 --cells 300 --reply-rate 3840").split(' '));
        QVERIFY(host.tester.linked());
        // Cell 300 travels as 299 mod 256 = 43: cell 44. Cell 5 of group 1 was saved without
        // its A-scan, and there is no group 9: flat traces.
        const CTesterMemory memory = CTesterMemory::generate(3, 3, 300, 1);
        const int requests[][3] = {{2, 5, 5}, {2, 300, 44}, {1, 5, 0}, {9, 1, 0}};
        for (const auto &[group, cell, stored] : requests) {
            QByteArray expected = CAScanSynthesizer::flatReply();
            for (const TesterRecord &r : memory.records()) {
                if (r.group == group && r.cell == stored)
                    expected = CAScanSynthesizer::reply(r, 1);
            }
            // 384 bytes at 38400 baud take 100 ms: they come in pieces, and all of them.
            host.exchange(0x0C, QByteArray(1, '\0') + char(group - 1) + '\0' + char(cell - 1), 384);
            const qint64 took = host.seen.rbegin()->second;
            QVERIFY(host.seen.size() > 3 && took >= 100 && took < 1500);
            QCOMPARE(host.received, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestTester)
#include "tst_tester.moc"
