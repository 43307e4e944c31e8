#include "data/ascanparams.h"
#include "device/kvtustester.h"
#include "portsfolder.h"
#include "ptypeer.h"
#include "testbytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <memory>
#include <utility>

namespace
{

Bytes ascii(const char *text)
{
    return Bytes(text, text + std::strlen(text));
}

const Bytes kMagic = bytes({'K', 'V', 'T', ' ', 'M', '4', '7', 'T'});
const Bytes kIdentifyFrame = kMagic + bytes({0x01, 0x00, 0x00});
const Bytes kProbeFrame = kMagic + bytes({0x0A, 0x00, 0x00});
const Bytes kDumpFrame = kMagic + bytes({0x06, 0x00, 0x00});
const Bytes kExtendedDumpFrame = kMagic + bytes({0x09, 0x00, 0x00});
const Bytes kM47Start = ascii("ORBEXM47T");
const Bytes kLayout1Start = bytes({'O', 'R', 'B', 'E', 'X', 0x02, 0x06, 0x00, 0x04, 0x01});

Bytes filler(int n, int seed)
{
    Bytes b;
    for (int i = 0; i < n; ++i)
        b.push_back(std::uint8_t(i * 13 + seed));
    return b;
}

Bytes tail(const Bytes &b, std::size_t n)
{
    return n <= b.size() ? Bytes(b.end() - long(n), b.end()) : b;
}

// Sends a chunk, gives it time to arrive as the 500 ms transfer tick would, and polls:
// the bytes read and the progress.
std::pair<int, int> deliverAndPoll(PtyPeer &peer, CKVTUSTester &tester, const Bytes &chunk)
{
    peer.send(chunk);
    sleepMs(100);
    int progress = -1;
    const int read = tester.poll(&progress);
    return {read, progress};
}

} // namespace

class TestKVTUSTester : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void foundTesterStartsItsDump_data();
    void foundTesterStartsItsDump();
    void searchStopsAtFirstTester();
    void searchFailsWithoutRightAnswer();
    void aScanExchange();
    void secondExchangeWhileBusyIsRefused();
    void pollProgress();
    void shortDumpStartIsHeldBack();
    void layout1DumpStart();
    void takeDumpReturnsTheStream();

private:
    // A tester on COM n that identifies itself and answers the extended probe as given.
    std::unique_ptr<PtyPeer> addTester(int n, const char *probeAnswer);
    // Finds the one tester and starts its transfer.
    void startOn(CKVTUSTester &tester);

    std::unique_ptr<TestPortsFolder> folder;
    std::unique_ptr<PtyPeer> peer;
    std::unique_ptr<CKVTUSTester> tester;
};

void TestKVTUSTester::init()
{
    folder = std::make_unique<TestPortsFolder>();
    tester = std::make_unique<CKVTUSTester>();
}

void TestKVTUSTester::cleanup()
{
    tester.reset();
    peer.reset();
    folder.reset();
}

std::unique_ptr<PtyPeer> TestKVTUSTester::addTester(int n, const char *probeAnswer)
{
    auto peer = std::make_unique<PtyPeer>(folder->path(), n);
    if (!peer->isValid())
        qFatal("no pseudo-terminal for COM%d", n);
    peer->setReply(CKVTUSTester::Identify, ascii("Tarn Qellix"));
    peer->setReply(CKVTUSTester::ProbeExtended, ascii(probeAnswer));
    return peer;
}

void TestKVTUSTester::startOn(CKVTUSTester &tester)
{
    QVERIFY(tester.findDevice());
    QVERIFY(tester.startTransfer());
    QVERIFY(tester.busy);
    sleepMs(100);
}

void TestKVTUSTester::foundTesterStartsItsDump_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("extended");
    QTest::newRow("extended") << 2 << true;
    QTest::newRow("non-extended") << 6 << false;
}

void TestKVTUSTester::foundTesterStartsItsDump()
{
    QFETCH(int, port);
    QFETCH(bool, extended);
    peer = addTester(port, extended ? "Yeah" : "Nope");
    QVERIFY(tester->findDevice());
    QVERIFY(tester->deviceFound);
    QCOMPARE(tester->extendedProtocol, extended);
    QVERIFY(!tester->busy);
    QCOMPARE(tester->currentPort->deviceName(), QStringLiteral("\\\\.\\COM%1").arg(port));
    QCOMPARE(tester->currentPort->baudRate, 38400);
    QVERIFY(!tester->currentPort->isOpen());

    QVERIFY(tester->startTransfer());
    QVERIFY(tester->busy);
    QVERIFY(tester->currentPort->isOpen());
    sleepMs(100);
    // Byte for byte: identify, the extended probe, then the dump command.
    QCOMPARE(peer->received(), bytes({'K', 'V', 'T', ' ', 'M', '4', '7', 'T', 0x01, 0x00, 0x00}) +
                                   kProbeFrame + (extended ? kExtendedDumpFrame : kDumpFrame));
    tester->stopTransfer();
    QVERIFY(!tester->busy);
    QVERIFY(!tester->currentPort->isOpen());
}

void TestKVTUSTester::searchStopsAtFirstTester()
{
    const auto first = addTester(3, "Nope");
    const auto second = addTester(7, "Yeah");
    QVERIFY(tester->findDevice());
    QCOMPARE(tester->currentPort->deviceName(), "\\\\.\\COM3");
    QVERIFY(!tester->extendedProtocol);
    QCOMPARE(first->received(), kIdentifyFrame + kProbeFrame);
    QVERIFY(second->received().empty());

    // Both were found by the scan, in port order.
    QCOMPARE(tester->portCount, 2);
    QCOMPARE(tester->ports[0].deviceName(), "\\\\.\\COM3");
    QCOMPARE(tester->ports[1].deviceName(), "\\\\.\\COM7");
    QCOMPARE(tester->ports[1].baudRate, 38400);
}

void TestKVTUSTester::searchFailsWithoutRightAnswer()
{
    // No port at all: nothing is found, sent or started.
    QVERIFY(!tester->findDevice());
    QCOMPARE(tester->portCount, 0);
    QVERIFY(tester->currentPort == nullptr);
    QVERIFY(!tester->sendCommand(CKVTUSTester::Identify, 0, 0, nullptr));
    QVERIFY(!tester->identify());
    QVERIFY(!tester->startTransfer());
    signed short samples[240 + 72];
    int count = 0;
    QVERIFY(!tester->requestAScan(1, 1, samples, &count, nullptr));
    QVERIFY(!tester->busy);
    int progress = -1;
    QCOMPARE(tester->poll(&progress), 0);
    QCOMPARE(progress, 100);

    // One byte short, and one byte wrong.
    peer = std::make_unique<PtyPeer>(folder->path(), 4);
    QVERIFY(peer->isValid());
    peer->setReply(CKVTUSTester::Identify, ascii("Tarn Qelli"));
    peer->setReply(CKVTUSTester::ProbeExtended, ascii("Yeah"));
    QVERIFY(!tester->findDevice());
    QVERIFY(!tester->deviceFound);
    QVERIFY(!tester->busy);
    QCOMPARE(tester->currentPort->deviceName(), "\\\\.\\COM4"); // the last one tried
    QVERIFY(!tester->currentPort->isOpen());

    peer->setReply(CKVTUSTester::Identify, ascii("Tarn Qellux"));
    QVERIFY(!tester->findDevice());
    QVERIFY(!tester->deviceFound);
}

void TestKVTUSTester::aScanExchange()
{
    peer = addTester(5, "Yeah");
    QVERIFY(tester->findDevice());

    const Bytes reply = filler(240, 3) + filler(144, 101) + Bytes(1664, 0x99);
    peer->setReply(CKVTUSTester::RequestAScan, reply);
    signed short samples[240 + 72];
    std::memset(samples, 0x55, sizeof samples);
    int count = 0;
    AScanParams params;
    QVERIFY(tester->requestAScan(1, 18, samples, &count, &params));
    QCOMPARE(tail(peer->received(), 15), bytes({'K', 'V', 'T', ' ', 'M', '4', '7', 'T', 0x0C, 0x00,
                                                0x04, 0x00, 0x00, 0x00, 0x11}));
    QCOMPARE(count, 239);
    for (int i = 0; i < 240; ++i)
        QCOMPARE(samples[i], short(reply[std::size_t(i)])); // widened without sign
    QVERIFY(std::memcmp(samples + 240, reply.data() + 240, 144) == 0);
    const AScanParams expected = parseAScanParams(reply.data() + 240);
    QCOMPARE(params.rangeEnd, expected.rangeEnd);
    QCOMPARE(params.gateLevel, expected.gateLevel);
    QVERIFY(!tester->busy);
    QVERIFY(!tester->currentPort->isOpen());

    // Group and cell go on the wire minus one, modulo 256; params may be left out.
    QVERIFY(tester->requestAScan(300, 0, samples, &count, nullptr));
    QCOMPARE(tail(peer->received(), 4), bytes({0x00, 43, 0x00, 0xFF}));

    // One byte short of a reply.
    peer->setReply(CKVTUSTester::RequestAScan, Bytes(reply.begin(), reply.begin() + 383));
    count = 0;
    QVERIFY(!tester->requestAScan(1, 18, samples, &count, &params));
    QCOMPARE(count, 0);
    QVERIFY(!tester->busy);
    QVERIFY(!tester->currentPort->isOpen());
}

void TestKVTUSTester::secondExchangeWhileBusyIsRefused()
{
    peer = addTester(8, "Nope");
    startOn(*tester);
    const Bytes before = peer->received();
    signed short samples[240 + 72];
    int count = 0;
    QVERIFY(!tester->requestAScan(1, 1, samples, &count, nullptr));
    QVERIFY(tester->busy);
    QVERIFY(tester->currentPort->isOpen()); // the transfer keeps its port
    sleepMs(100);
    QCOMPARE(peer->received(), before);
    QCOMPARE(count, 0);
    tester->stopTransfer();
}

void TestKVTUSTester::pollProgress()
{
    peer = addTester(2, "Nope");
    startOn(*tester);
    using Polled = std::pair<int, int>;

    // Quiet before any announcement.
    QCOMPARE(deliverAndPoll(*peer, *tester, {}), Polled(0, 100));
    // Not a dump start: dropped.
    QCOMPARE(deliverAndPoll(*peer, *tester, filler(300, 1)), Polled(0, 0));
    QCOMPARE(tester->ringBuffer.used(), 0);
    QCOMPARE(tester->blocksExpected, 0);

    const Bytes first = kM47Start + bytes({0x00, 0x02}) + filler(289, 7);
    QCOMPARE(deliverAndPoll(*peer, *tester, first), Polled(300, 50));
    QCOMPARE(tester->blocksExpected, 2);
    QCOMPARE(tester->blocksReceived, 1);
    // Quiet after the announcement: the last progress.
    QCOMPARE(deliverAndPoll(*peer, *tester, {}), Polled(0, 50));

    QCOMPARE(deliverAndPoll(*peer, *tester, filler(212, 9)), Polled(212, 100));
    QCOMPARE(tester->blocksReceived, 2);
    // More than announced stays at 100.
    QCOMPARE(deliverAndPoll(*peer, *tester, filler(600, 2)), Polled(600, 100));
    QCOMPARE(tester->blocksReceived, 4);
    QCOMPARE(tester->poll(nullptr), 0); // progress may be left out

    tester->stopTransfer();
    // Not busy: the port is not read.
    QCOMPARE(deliverAndPoll(*peer, *tester, filler(10, 4)), Polled(0, 100));
    QCOMPARE(tester->ringBuffer.used(), 1112);
}

void TestKVTUSTester::shortDumpStartIsHeldBack()
{
    peer = addTester(2, "Nope");
    startOn(*tester);
    using Polled = std::pair<int, int>;

    const Bytes first = kM47Start + bytes({0x00, 0x04}) + filler(300, 5);
    QCOMPARE(deliverAndPoll(*peer, *tester, Bytes(first.begin(), first.begin() + 6)), Polled(0, 0));
    QCOMPARE(deliverAndPoll(*peer, *tester, Bytes(first.begin() + 6, first.begin() + 10)),
             Polled(0, 0));
    QCOMPARE(tester->blocksExpected, 0);
    QCOMPARE(deliverAndPoll(*peer, *tester, Bytes(first.begin() + 10, first.end())),
             Polled(int(first.size()), 25));
    QCOMPARE(tester->blocksExpected, 4);
    tester->stopTransfer();
    std::uint8_t *data = nullptr;
    int size = 0;
    QCOMPARE(tester->takeDump(&data, &size), int(first.size()));
    QCOMPARE(Bytes(data, data + size), first);

    // A held-back start that turns out not to be a header is dropped with what completed it.
    QVERIFY(tester->startTransfer());
    sleepMs(100);
    QCOMPARE(deliverAndPoll(*peer, *tester, ascii("ORBEX")).first, 0);
    QCOMPARE(deliverAndPoll(*peer, *tester, ascii("M48T") + filler(100, 1)), Polled(0, 0));
    QCOMPARE(tester->ringBuffer.used(), 0);
    tester->stopTransfer();
}

void TestKVTUSTester::layout1DumpStart()
{
    peer = addTester(2, "Nope");
    startOn(*tester);
    using Polled = std::pair<int, int>;

    // Two 257-byte records after the 11-byte header: (11 + 514) / 256 = 2 blocks.
    QCOMPARE(deliverAndPoll(*peer, *tester, kLayout1Start + bytes({0x02}) + filler(300, 3)),
             Polled(311, 50));
    QCOMPARE(tester->blocksExpected, 2);
    tester->stopTransfer();

    // A count byte of 0x80 is -128: accepted, but nothing is announced.
    QVERIFY(tester->startTransfer());
    sleepMs(100);
    QCOMPARE(deliverAndPoll(*peer, *tester, kLayout1Start + bytes({0x80}) + filler(20, 3)),
             Polled(31, 100));
    QCOMPARE(tester->blocksExpected, 0);
    QCOMPARE(tester->ringBuffer.used(), 31);
    tester->stopTransfer();
}

void TestKVTUSTester::takeDumpReturnsTheStream()
{
    peer = addTester(2, "Yeah");
    startOn(*tester);
    const Bytes stream = kM47Start + bytes({0x00, 0x11}) + filler(4400, 6);
    const int progressAfter[] = {47, 94, 100};
    for (std::size_t at = 0, step = 0; at < stream.size(); at += 2048, ++step) {
        const Bytes chunk(stream.begin() + long(at),
                          stream.begin() + long(std::min(at + 2048, stream.size())));
        QCOMPARE(deliverAndPoll(*peer, *tester, chunk),
                 std::make_pair(int(chunk.size()), progressAfter[step]));
    }
    tester->stopTransfer();

    std::uint8_t *data = nullptr;
    int size = -1;
    QCOMPARE(tester->takeDump(&data, &size), int(stream.size()));
    QCOMPARE(size, int(stream.size()));
    QCOMPARE(Bytes(data, data + size), stream);
    QCOMPARE(tester->ringBuffer.used(), 0);

    QCOMPARE(tester->takeDump(&data, &size), 0);
    QCOMPARE(size, 0);
    QVERIFY(data != nullptr);
}

QTEST_APPLESS_MAIN(TestKVTUSTester)
#include "tst_kvtustester.moc"
