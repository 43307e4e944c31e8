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

// Sends a chunk and gives it time to arrive, as the 500 ms transfer tick would.
void deliver(PtyPeer &peer, const Bytes &chunk)
{
    peer.send(chunk);
    sleepMs(100);
}

} // namespace

class TestKVTUSTester : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void constructedState();
    void findsExtendedTester();
    void nonExtendedTesterStartsPlainDump();
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
};

void TestKVTUSTester::init()
{
    folder = std::make_unique<TestPortsFolder>();
}

void TestKVTUSTester::cleanup()
{
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

void TestKVTUSTester::constructedState()
{
    auto tester = std::make_unique<CKVTUSTester>();
    QVERIFY(!tester->extendedProtocol && !tester->busy && !tester->deviceFound);
    QCOMPARE(tester->blocksReceived + tester->blocksExpected + tester->dumpSize, 0);
    QCOMPARE(tester->ringBuffer.capacity(), 2500000);
    QCOMPARE(tester->ringBuffer.used(), 0);
    QVERIFY(tester->dump == nullptr);
    QCOMPARE(tester->baudRate, 38400);
    QVERIFY(tester->currentPort == nullptr);
    QCOMPARE(int(tester->ports.size()), 500);
    QCOMPARE(tester->portCount, 0);

    // Without a port nothing is sent and nothing starts.
    QVERIFY(!tester->sendCommand(CKVTUSTester::Identify, 0, 0, nullptr));
    QVERIFY(!tester->identify());
    QVERIFY(!tester->startTransfer());
    QVERIFY(!tester->busy);
    signed short samples[240 + 72];
    int count = 0;
    QVERIFY(!tester->requestAScan(1, 1, samples, &count, nullptr));
    QVERIFY(!tester->busy);
    int progress = -1;
    QCOMPARE(tester->poll(&progress), 0);
    QCOMPARE(progress, 100);
}

void TestKVTUSTester::findsExtendedTester()
{
    const auto peer = addTester(2, "Yeah");
    auto tester = std::make_unique<CKVTUSTester>();
    QVERIFY(tester->findDevice());
    QVERIFY(tester->deviceFound);
    QVERIFY(tester->extendedProtocol);
    QVERIFY(!tester->busy);
    QCOMPARE(tester->portCount, 1);
    QCOMPARE(tester->currentPort, &tester->ports[0]);
    QCOMPARE(tester->currentPort->deviceName(), "\\\\.\\COM2");
    QCOMPARE(tester->currentPort->baudRate, 38400);
    QVERIFY(!tester->currentPort->isOpen());
    // Byte for byte: identify, then the extended probe.
    QCOMPARE(peer->received(), bytes({'K', 'V', 'T', ' ', 'M', '4', '7', 'T', 0x01, 0x00, 0x00}) +
                                   bytes({'K', 'V', 'T', ' ', 'M', '4', '7', 'T', 0x0A, 0, 0}));

    QVERIFY(tester->startTransfer());
    QVERIFY(tester->busy);
    QVERIFY(tester->currentPort->isOpen());
    sleepMs(100);
    QCOMPARE(tail(peer->received(), 11), kExtendedDumpFrame);
    tester->stopTransfer();
    QVERIFY(!tester->busy);
    QVERIFY(!tester->currentPort->isOpen());
}

void TestKVTUSTester::nonExtendedTesterStartsPlainDump()
{
    const auto peer = addTester(6, "Nope");
    auto tester = std::make_unique<CKVTUSTester>();
    QVERIFY(tester->findDevice());
    QVERIFY(tester->deviceFound);
    QVERIFY(!tester->extendedProtocol);
    QVERIFY(tester->startTransfer());
    sleepMs(100);
    QCOMPARE(peer->received(), kIdentifyFrame + kProbeFrame + kDumpFrame);
    tester->stopTransfer();
}

void TestKVTUSTester::searchStopsAtFirstTester()
{
    const auto first = addTester(3, "Nope");
    const auto second = addTester(7, "Yeah");
    auto tester = std::make_unique<CKVTUSTester>();
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
    auto tester = std::make_unique<CKVTUSTester>();
    QVERIFY(!tester->findDevice()); // no port at all
    QCOMPARE(tester->portCount, 0);
    QVERIFY(tester->currentPort == nullptr);

    // One byte short, and one byte wrong.
    auto peer = std::make_unique<PtyPeer>(folder->path(), 4);
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
    const auto peer = addTester(5, "Yeah");
    auto tester = std::make_unique<CKVTUSTester>();
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
    QCOMPARE(params.rangeStart, expected.rangeStart);
    QCOMPARE(params.rangeEnd, expected.rangeEnd);
    QCOMPARE(params.mark1Position, expected.mark1Position);
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
    const auto peer = addTester(8, "Nope");
    auto tester = std::make_unique<CKVTUSTester>();
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
    const auto peer = addTester(2, "Nope");
    auto tester = std::make_unique<CKVTUSTester>();
    startOn(*tester);
    int progress = -1;

    // Quiet before any announcement.
    QCOMPARE(tester->poll(&progress), 0);
    QCOMPARE(progress, 100);

    // Not a dump start: dropped.
    deliver(*peer, filler(300, 1));
    QCOMPARE(tester->poll(&progress), 0);
    QCOMPARE(progress, 0);
    QCOMPARE(tester->ringBuffer.used(), 0);
    QCOMPARE(tester->blocksExpected, 0);

    const Bytes first = kM47Start + bytes({0x00, 0x02}) + filler(289, 7);
    deliver(*peer, first);
    QCOMPARE(tester->poll(&progress), 300);
    QCOMPARE(tester->blocksExpected, 2);
    QCOMPARE(tester->blocksReceived, 1);
    QCOMPARE(progress, 50);

    // Quiet after the announcement: the last progress.
    QCOMPARE(tester->poll(&progress), 0);
    QCOMPARE(progress, 50);

    deliver(*peer, filler(212, 9));
    QCOMPARE(tester->poll(nullptr), 212);
    QCOMPARE(tester->blocksReceived, 2);
    QCOMPARE(tester->poll(&progress), 0);
    QCOMPARE(progress, 100);

    // More than announced stays at 100.
    deliver(*peer, filler(600, 2));
    QCOMPARE(tester->poll(&progress), 600);
    QCOMPARE(tester->blocksReceived, 4);
    QCOMPARE(progress, 100);

    tester->stopTransfer();
    deliver(*peer, filler(10, 4));
    QCOMPARE(tester->poll(&progress), 0); // not busy: the port is not read
    QCOMPARE(progress, 100);
    QCOMPARE(tester->ringBuffer.used(), 1112);
}

void TestKVTUSTester::shortDumpStartIsHeldBack()
{
    const auto peer = addTester(2, "Nope");
    auto tester = std::make_unique<CKVTUSTester>();
    startOn(*tester);
    int progress = -1;

    const Bytes first = kM47Start + bytes({0x00, 0x04}) + filler(300, 5);
    deliver(*peer, Bytes(first.begin(), first.begin() + 6));
    QCOMPARE(tester->poll(&progress), 0);
    QCOMPARE(progress, 0);
    deliver(*peer, Bytes(first.begin() + 6, first.begin() + 10));
    QCOMPARE(tester->poll(&progress), 0);
    QCOMPARE(progress, 0);
    QCOMPARE(tester->blocksExpected, 0);
    deliver(*peer, Bytes(first.begin() + 10, first.end()));
    QCOMPARE(tester->poll(&progress), int(first.size()));
    QCOMPARE(tester->blocksExpected, 4);
    QCOMPARE(progress, 25);
    tester->stopTransfer();
    std::uint8_t *data = nullptr;
    int size = 0;
    QCOMPARE(tester->takeDump(&data, &size), int(first.size()));
    QCOMPARE(Bytes(data, data + size), first);

    // A held-back start that turns out not to be a header is dropped with what completed it.
    QVERIFY(tester->startTransfer());
    sleepMs(100);
    deliver(*peer, ascii("ORBEX"));
    QCOMPARE(tester->poll(&progress), 0);
    deliver(*peer, ascii("M48T") + filler(100, 1));
    QCOMPARE(tester->poll(&progress), 0);
    QCOMPARE(progress, 0);
    QCOMPARE(tester->ringBuffer.used(), 0);
    tester->stopTransfer();
}

void TestKVTUSTester::layout1DumpStart()
{
    const auto peer = addTester(2, "Nope");
    auto tester = std::make_unique<CKVTUSTester>();
    startOn(*tester);
    int progress = -1;

    // Two 257-byte records after the 11-byte header: (11 + 514) / 256 = 2 blocks.
    deliver(*peer, kLayout1Start + bytes({0x02}) + filler(300, 3));
    QCOMPARE(tester->poll(&progress), 311);
    QCOMPARE(tester->blocksExpected, 2);
    QCOMPARE(progress, 50);
    tester->stopTransfer();

    // A count byte of 0x80 is -128: accepted, but nothing is announced.
    QVERIFY(tester->startTransfer());
    sleepMs(100);
    deliver(*peer, kLayout1Start + bytes({0x80}) + filler(20, 3));
    QCOMPARE(tester->poll(&progress), 31);
    QCOMPARE(tester->blocksExpected, 0);
    QCOMPARE(tester->ringBuffer.used(), 31);
    QCOMPARE(progress, 100);
    tester->stopTransfer();
}

void TestKVTUSTester::takeDumpReturnsTheStream()
{
    const auto peer = addTester(2, "Yeah");
    auto tester = std::make_unique<CKVTUSTester>();
    startOn(*tester);
    const Bytes stream = kM47Start + bytes({0x00, 0x11}) + filler(4400, 6);
    const int progressAfter[] = {47, 94, 100};
    int progress = -1;
    for (std::size_t at = 0, step = 0; at < stream.size(); at += 2048, ++step) {
        const Bytes chunk(stream.begin() + long(at),
                          stream.begin() + long(std::min(at + 2048, stream.size())));
        deliver(*peer, chunk);
        QCOMPARE(tester->poll(&progress), int(chunk.size()));
        QCOMPARE(progress, progressAfter[step]);
    }
    tester->stopTransfer();

    std::uint8_t *data = nullptr;
    int size = -1;
    QCOMPARE(tester->takeDump(&data, &size), int(stream.size()));
    QCOMPARE(size, int(stream.size()));
    QCOMPARE(tester->dumpSize, size);
    QCOMPARE(Bytes(data, data + size), stream);
    QCOMPARE(tester->ringBuffer.used(), 0);

    QCOMPARE(tester->takeDump(&data, &size), 0);
    QCOMPARE(size, 0);
    QVERIFY(data != nullptr);
}

QTEST_APPLESS_MAIN(TestKVTUSTester)
#include "tst_kvtustester.moc"
