#include "ascansynthesizer.h"
#include "data/ascanparams.h"
#include "testermemory.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{

const QString kTester = QStringLiteral(COLLATRIX_BIN_DIR "/collatrix-tester");
// How long the host waits for a reply.
constexpr int kReplyWaitMs = 500;
// The tester's default dump rate: 38400 baud.
constexpr int kLineRate = 3840;

// The host's side of the link, talking to the terminal directly.
class PtyClient
{
public:
    explicit PtyClient(const QString &path)
        : fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        termios t{};
        if (fd >= 0 && tcgetattr(fd, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(fd, TCSANOW, &t);
        }
    }
    ~PtyClient()
    {
        if (fd >= 0)
            ::close(fd);
    }
    bool isOpen() const { return fd >= 0; }

    void send(int code, const QByteArray &payload = QByteArray())
    {
        QByteArray frame("KVT M47T");
        frame.append(char(code)).append('\0').append(char(payload.size())).append(payload);
        sendRaw(frame);
    }
    void sendRaw(const QByteArray &bytes)
    {
        QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    }
    // What arrives until nothing more comes for quietMs.
    QByteArray readUntilQuiet(int quietMs)
    {
        QByteArray all;
        while (waitForInput(quietMs)) {
            const QByteArray piece = readOnce(4096);
            if (piece.isEmpty())
                break;
            all += piece;
        }
        return all;
    }
    bool waitForInput(int ms)
    {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0;
    }
    QByteArray readOnce(int max)
    {
        QByteArray b(max, '\0');
        const ssize_t n = ::read(fd, b.data(), size_t(max));
        lastReadFailed = n == 0 || (n < 0 && errno != EAGAIN);
        return b.left(int(std::max<ssize_t>(n, 0)));
    }
    bool lastReadFailed = false;

private:
    int fd;
};

// A tester process linked as COM3 in a folder of its own.
class TesterRun
{
public:
    explicit TesterRun(const QStringList &args)
    {
        process.start(kTester, args + QStringList{"--ports-dir", dir.path()});
        if (process.waitForReadyRead(10000))
            firstLine = QString::fromUtf8(process.readLine()).trimmed();
    }
    ~TesterRun()
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            process.waitForFinished(5000);
        }
    }
    QString link() const { return dir.filePath(QStringLiteral("COM3")); }
    bool linked() const { return firstLine.contains(QLatin1String(" linked ")); }

    QTemporaryDir dir;
    QProcess process;
    QString firstLine;
};

// A tester run that ends by itself.
struct Finished {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Finished runToEnd(const QStringList &args)
{
    QProcess p;
    p.start(kTester, args);
    if (!p.waitForFinished(10000))
        return Finished();
    return Finished{p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QByteArray writtenDump(const QStringList &args)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("memory.bin"));
    if (runToEnd(args + QStringList{"--write-dump", path}).exitCode != 0)
        return QByteArray();
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TesterRecord recordAt(const CTesterMemory &memory, int group, int cell)
{
    for (const TesterRecord &r : memory.records()) {
        if (r.group == group && r.cell == cell)
            return r;
    }
    return TesterRecord();
}

// What the tester answers an A-scan request with: the synthesized trace of a reading saved with
// its A-scan (checked in the synthesizer's own test), a flat one otherwise.
QByteArray expectedAScan(const TesterRecord &record, std::uint64_t seed)
{
    return record.hasAScan ? CAScanSynthesizer::reply(record, seed)
                           : CAScanSynthesizer::flatReply();
}

QByteArray ascanPayload(int group, int cell)
{
    return QByteArray(1, '\0') + char((group - 1) & 0xFF) + '\0' + char((cell - 1) & 0xFF);
}

} // namespace

class TestTester : public QObject
{
    Q_OBJECT

private slots:
    void identifyAndExtendedProbe();
    void streamEqualsWrittenDump_data();
    void streamEqualsWrittenDump();
    void ascanReplies();
    void repliesAtLineRate();
    void silentAndCutReplies();
    void pauseAfter();
    void dumpInTwoParts_data();
    void dumpInTwoParts();
    void vanishRemovesLinkAndCloses();
    void linkLifecycle();
    void badOptions();
};

void TestTester::identifyAndExtendedProbe()
{
    TesterRun extended({"--layout", "3"});
    QVERIFY(extended.linked());
    PtyClient host(extended.link());
    QVERIFY(host.isOpen());
    host.send(0x01);
    QCOMPARE(host.readUntilQuiet(kReplyWaitMs), QByteArray("Tarn Qellix"));
    host.send(0x0A);
    QCOMPARE(host.readUntilQuiet(kReplyWaitMs), QByteArray("Yeah"));
    // Bytes that form no frame are skipped; the frame behind them is answered.
    host.sendRaw(QByteArray("\x00noise KVT", 10));
    host.send(0x01);
    QCOMPARE(host.readUntilQuiet(kReplyWaitMs), QByteArray("Tarn Qellix"));
    host.send(0x33);
    QCOMPARE(host.readUntilQuiet(kReplyWaitMs), QByteArray());
    // Each memory streams for its own dump command only: a host that takes a memory of
    // 32-byte records for a plain one gets nothing.
    host.send(0x06);
    QCOMPARE(host.readUntilQuiet(600), QByteArray());

    const std::pair<QStringList, int> plainDevices[] = {
        {{"--layout", "2"}, 0x09},
        {{"--layout", "1"}, 0x09},
        {{"--layout", "3", "--non-extended"}, 0x06}};
    for (const auto &[args, wrongDump] : plainDevices) {
        TesterRun plain(args);
        QVERIFY(plain.linked());
        PtyClient client(plain.link());
        client.send(0x0A);
        QCOMPARE(client.readUntilQuiet(600), QByteArray());
        client.send(wrongDump);
        QCOMPARE(client.readUntilQuiet(600), QByteArray());
        client.send(0x01);
        QCOMPARE(client.readUntilQuiet(kReplyWaitMs), QByteArray("Tarn Qellix"));
    }
}

void TestTester::streamEqualsWrittenDump_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("memory");
    QTest::addColumn<int>("command");
    // Each fits the terminal's 4096-byte queue, so one late read can take all of it.
    QTest::newRow("layout 1") << QStringList{"--layout", "1",  "--groups", "7",
                                             "--cells",  "32", "--seed",   "5"}
                              << CTesterMemory::generate(1, 7, 32, 5).bytes() << 0x06;
    QTest::newRow("layout 2") << QStringList{"--layout", "2",  "--groups", "8",
                                             "--cells",  "40", "--seed",   "6"}
                              << CTesterMemory::generate(2, 8, 40, 6).bytes() << 0x06;
    QTest::newRow("layout 3") << QStringList{"--layout", "3",  "--groups", "3",
                                             "--cells",  "30", "--seed",   "9"}
                              << CTesterMemory::generate(3, 3, 30, 9).bytes() << 0x09;
}

void TestTester::streamEqualsWrittenDump()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, memory);
    QFETCH(int, command);
    QCOMPARE(writtenDump(options), memory);
    TesterRun tester(options);
    QVERIFY(tester.linked());
    PtyClient host(tester.link());
    const int lineMs = int(memory.size()) * 1000 / kLineRate;
    QElapsedTimer clock;
    clock.start();
    host.send(command);
    QTest::qWait(lineMs / 2);
    const QByteArray early = host.readOnce(4096);
    // Never ahead of the line, however late the host reads.
    QVERIFY(early.size() <= kLineRate * clock.elapsed() / 1000 + 64);
    // The tester does not wait for the host: long after the line time everything is queued,
    // the bytes past the host's 100 % too.
    QTest::qWait(lineMs + 700);
    QCOMPARE(early + host.readOnce(4096), memory);
    QCOMPARE(host.readUntilQuiet(300), QByteArray());
}

void TestTester::ascanReplies()
{
    const QStringList options{"--layout", "3", "--groups", "3", "--cells", "300", "--seed", "4"};
    TesterRun tester(options);
    QVERIFY(tester.linked());
    PtyClient host(tester.link());
    const CTesterMemory memory = CTesterMemory::generate(3, 3, 300, 4);
    int withAScan = 0;
    for (int cell : {1, 2, 3, 5, 8, 13}) {
        const TesterRecord record = recordAt(memory, 2, cell);
        QCOMPARE(record.cell, cell);
        withAScan += record.hasAScan ? 1 : 0;
        host.send(0x0C, ascanPayload(2, cell));
        QCOMPARE(host.readUntilQuiet(kReplyWaitMs), expectedAScan(record, 4));
    }
    QVERIFY(withAScan >= 4);
    // Cell 300 travels as 299 mod 256 = 43, which is cell 44 of the group.
    const TesterRecord cell44 = recordAt(memory, 2, 44);
    QCOMPARE(cell44.cell, 44);
    host.send(0x0C, ascanPayload(2, 300));
    QCOMPARE(host.readUntilQuiet(kReplyWaitMs), expectedAScan(cell44, 4));
    // A group that does not exist gets a flat trace.
    host.send(0x0C, ascanPayload(9, 1));
    QCOMPARE(host.readUntilQuiet(kReplyWaitMs), CAScanSynthesizer::flatReply());
}

void TestTester::repliesAtLineRate()
{
    TesterRun tester({"--layout", "3", "--reply-rate", "3840"});
    QVERIFY(tester.linked());
    PtyClient host(tester.link());
    const TesterRecord record = recordAt(CTesterMemory::generate(3, 4, 10, 1), 1, 1);
    QElapsedTimer clock;
    clock.start();
    host.send(0x0C, ascanPayload(1, 1));
    QByteArray reply;
    int reads = 0;
    while (reply.size() < kAScanReplySize && host.waitForInput(kReplyWaitMs)) {
        reply += host.readOnce(4096);
        ++reads;
    }
    // 384 bytes at 38400 baud take 100 ms, so they come in pieces, and all of them.
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= 100 && took < 1000, qPrintable(QString::number(took)));
    QVERIFY(reads > 1);
    QCOMPARE(reply, expectedAScan(record, 1));
}

void TestTester::silentAndCutReplies()
{
    TesterRun silent({"--layout", "3", "--silent"});
    QVERIFY(silent.linked());
    PtyClient quiet(silent.link());
    for (int code : {0x01, 0x0A, 0x0C, 0x09}) {
        quiet.send(code, code == 0x0C ? ascanPayload(1, 1) : QByteArray());
        QVERIFY(!quiet.waitForInput(600));
    }

    TesterRun cut({"--layout", "3", "--cut-reply", "identify,extended", "--cut-reply", "ascan"});
    QVERIFY(cut.linked());
    PtyClient host(cut.link());
    host.send(0x01);
    QCOMPARE(host.readUntilQuiet(kReplyWaitMs), QByteArray("Tarn Qelli"));
    host.send(0x0A);
    QCOMPARE(host.readUntilQuiet(kReplyWaitMs), QByteArray("Yea"));
    host.send(0x0C, ascanPayload(1, 1));
    QCOMPARE(host.readUntilQuiet(kReplyWaitMs).size(), kAScanReplySize - 1);
}

void TestTester::pauseAfter()
{
    const QStringList options{"--layout", "3", "--groups", "2", "--cells", "40"};
    TesterRun paused(options + QStringList{"--rate", "40000", "--pause-after", "700"});
    QVERIFY(paused.linked());
    PtyClient host(paused.link());
    host.send(0x09);
    QCOMPARE(host.readUntilQuiet(1500), writtenDump(options).left(700));
    // Still alive for the next exchange.
    host.send(0x01);
    QCOMPARE(host.readUntilQuiet(kReplyWaitMs), QByteArray("Tarn Qellix"));
}

void TestTester::dumpInTwoParts_data()
{
    QTest::addColumn<QStringList>("fault");
    QTest::addColumn<int>("stray");
    QTest::addColumn<int>("split");
    QTest::addColumn<int>("gapMs");
    // Stray bytes come alone, long enough before the dump to be a tick's chunk of their own.
    QTest::newRow("garbage") << QStringList{"--garbage", "100"} << 100 << 0 << 600;
    QTest::newRow("noise") << QStringList{"--noise", "5"} << 5 << 0 << 600;
    // 80 records of 32 bytes announce 10 blocks: the host has all it counts on at 2560 bytes.
    QTest::newRow("tail pause") << QStringList{"--tail-pause", "1.5"} << 0 << 2560 << 1500;
}

void TestTester::dumpInTwoParts()
{
    QFETCH(QStringList, fault);
    QFETCH(int, stray);
    QFETCH(int, split);
    QFETCH(int, gapMs);
    const QStringList options{"--layout", "3", "--groups", "2", "--cells", "40"};
    const QByteArray dump = writtenDump(options);
    TesterRun tester(options + fault + QStringList{"--rate", "40000"});
    QVERIFY(tester.linked());
    PtyClient host(tester.link());
    host.send(0x09);
    QVERIFY(host.waitForInput(kReplyWaitMs));
    QElapsedTimer clock;
    clock.start();
    const QByteArray first = host.readUntilQuiet(400);
    QCOMPARE(first.size(), stray + split);
    // No stray byte could start a dump header.
    QVERIFY(!first.left(stray).contains('O'));
    QCOMPARE(first.mid(stray), dump.left(split));
    QVERIFY(host.waitForInput(3000));
    QVERIFY2(clock.elapsed() >= gapMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(host.readUntilQuiet(1000), dump.mid(split));
}

void TestTester::vanishRemovesLinkAndCloses()
{
    const QStringList options{"--layout", "2", "--groups", "8", "--cells", "40"};
    const QByteArray expected = writtenDump(options);
    TesterRun tester(options + QStringList{"--rate", "40000", "--vanish-after", "500"});
    QVERIFY(tester.linked());
    PtyClient host(tester.link());
    host.send(0x06);
    QCOMPARE(host.readUntilQuiet(1000), expected.left(500));
    QVERIFY(tester.process.waitForFinished(5000));
    QCOMPARE(tester.process.exitCode(), 0);
    QVERIFY(!QFileInfo(tester.link()).isSymLink());
    // The terminal is gone: reads report end or an error, not "nothing yet".
    host.readOnce(16);
    QVERIFY(host.lastReadFailed);
}

void TestTester::linkLifecycle()
{
    TesterRun first({});
    QVERIFY(first.linked());
    QVERIFY(QFileInfo(first.link()).isSymLink());
    QVERIFY(QFileInfo(first.link()).exists());

    // A live link of the same name is not taken over.
    QCOMPARE(runToEnd({"--ports-dir", first.dir.path()}).exitCode, 2);
    QVERIFY(QFileInfo(first.link()).exists());

    // SIGTERM removes the link.
    first.process.terminate();
    QVERIFY(first.process.waitForFinished(5000));
    QCOMPARE(first.process.exitStatus(), QProcess::NormalExit);
    QVERIFY(!QFileInfo(first.link()).isSymLink());

    // A dangling link, left by a killed tester, is replaced.
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("COM7"));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")), link));
    QProcess third;
    third.start(kTester, {"--ports-dir", dir.path(), "--port", "7"});
    QVERIFY(third.waitForReadyRead(10000));
    QVERIFY(QFileInfo(link).exists());
    PtyClient host(link);
    host.send(0x01);
    QCOMPARE(host.readUntilQuiet(kReplyWaitMs), QByteArray("Tarn Qellix"));
    third.kill();
    third.waitForFinished(5000);
}

void TestTester::badOptions()
{
    for (const QStringList &bad :
         {QStringList{"--bogus"}, QStringList{"--port", "0"}, QStringList{"--layout", "4"},
          QStringList{"--cut-reply", "dump"}, QStringList{"--rate", "fast"},
          QStringList{"--reply-rate", "0"}, QStringList{"--noise", "65"},
          QStringList{"--tail-pause", "-1"}, QStringList{"--groups", "300"},
          QStringList{"--layout", "1", "--cells", "300"}, QStringList{"stray"}}) {
        const Finished run = runToEnd(bad);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(!run.err.isEmpty(), qPrintable(bad.join(' ')));
    }
}

QTEST_GUILESS_MAIN(TestTester)
#include "tst_tester.moc"
