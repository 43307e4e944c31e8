// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer engine over the scripted line: the end rule, the outcome, and a dump whose last
// bytes are still on the line when the count is reached.
#include "data/transferengine.h"
#include "device/kvtustester.h"
#include "format/zrdata.h"
#include "scriptedtester.h"

#include <QtTest>

#include <string>

namespace
{

using Step = CTransferEngine::Step;
using Outcome = CTransferEngine::Outcome;

// size bytes of recordSize-byte records, group 1, cells 1, 2, ... with value 100 + cell.
std::string records(int size, int recordSize)
{
    std::string s;
    for (int cell = 1; int(s.size()) < size; ++cell)
        s += std::string{1, 0, char(cell & 0xFF), char(cell >> 8), char(100 + cell % 100)} +
             std::string(std::size_t(recordSize - 5), '\0');
    return s.substr(0, std::size_t(size));
}

} // namespace

class TestTransferEngine : public QObject
{
    Q_OBJECT

private slots:
    void endRule()
    {
        QCOMPARE(CTransferEngine::classify(false, 100), Step::Ended);   // quiet, nothing announced
        QCOMPARE(CTransferEngine::classify(false, 0), Step::Waiting);   // chunk dropped
        QCOMPARE(CTransferEngine::classify(true, 99), Step::Receiving); // flowing
        QCOMPARE(CTransferEngine::classify(true, 100), Step::Ended);    // count reached
    }
    void outcome()
    {
        QCOMPARE(CTransferEngine::outcome(false, 0, 100), Outcome::Failed); // undecodable
        // Only groups above 256.
        QCOMPARE(CTransferEngine::outcome(true, 0, 100), Outcome::NoMeasurements);
        QCOMPARE(CTransferEngine::outcome(true, 3, 99), Outcome::Incomplete); // paused at 99 %
        QCOMPARE(CTransferEngine::outcome(true, 3, 100), Outcome::Completed);
    }
    // The device streams the dump at 38400 baud in 64-byte packets up to the byte where the host's
    // count is reached, then, tailGapMs after the host's first tick, the first tailBytes of the
    // rest (-1: all of it). Ticks come every 500 ms; the tick that reaches the count reads on until
    // the line has been quiet for 20 ms (polls every 5 ms), and so does every later tick that
    // brings bytes. A quiet tick ends the reception unless the header says bytes are missing; then
    // it ends after the fourth quiet tick.
    void download_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("stored"); // records in the device
        QTest::addColumn<int>("tailGapMs");
        QTest::addColumn<int>("tailBytes");
        QTest::addColumn<int>("received"); // records decoded at the end
        QTest::addColumn<int>("bytes");    // accepted in all
        QTest::addColumn<int>("endMs");    // virtual time when run() returned

        // Layout 2, 4 blocks: the last 11 bytes, with the last record, follow the count. They take
        // 2.86 ms on the line, so at the tick they are in at 502.86 ms: quiet from 505 to 525, then
        // a quiet tick at 1025.
        QTest::newRow("layout 2, tail at the tick") << 2 << 128 << 0 << -1 << 128 << 1035 << 1025;
        // In at 512.86: the quiet read goes on from 515 to 535; the quiet tick comes at 1035.
        QTest::newRow("layout 2, tail at +10 ms") << 2 << 128 << 10 << -1 << 128 << 1035 << 1035;
        // In at 802.86, after the quiet read (505-520): the tick at 1020 takes them and reads on
        // until 1040; the quiet tick comes at 1540.
        QTest::newRow("layout 2, tail at +300 ms") << 2 << 128 << 300 << -1 << 128 << 1035 << 1540;
        // In at 1702.86: quiet ticks at 1020 and 1520 do not end it (11 bytes missing); 2020 takes
        // them, reads on until 2040, and the quiet tick at 2540 ends it.
        QTest::newRow("layout 2, tail at +1.2 s") << 2 << 128 << 1200 << -1 << 128 << 1035 << 2540;
        // Never sent: the fourth quiet tick (1020, 1520, 2020, 2520) ends it; 1013 bytes of records
        // hold 126 whole ones.
        QTest::newRow("layout 2, tail never comes") << 2 << 128 << 0 << 0 << 126 << 1024 << 2520;
        // Layout 3, 47 records: 5 blocks without the header; 235 bytes (7 records and a part)
        // follow the count, in packets complete at 516.67, 533.33, 550 and 561.2 ms: the quiet read
        // ends at 585, the quiet tick comes at 1085.
        QTest::newRow("layout 3, tail at the tick") << 3 << 47 << 0 << -1 << 47 << 1515 << 1085;
        // The first packet is in at 526.67, after the quiet read (505-520): the tick at 1020 takes
        // all of them and reads on until 1040; the quiet tick comes at 1540.
        QTest::newRow("layout 3, tail at +10 ms") << 3 << 47 << 10 << -1 << 47 << 1515 << 1540;
        QTest::newRow("layout 3, tail at +300 ms") << 3 << 47 << 300 << -1 << 47 << 1515 << 1540;
        // 100 bytes come (in at 516.67 and 526.04, quiet read until 550): 1369 bytes of records are
        // 42 records and 25 bytes of the next, so 7 are missing; quiet ticks at 1050, 1550, 2050,
        // 2550.
        QTest::newRow("layout 3, cut in a record") << 3 << 47 << 0 << 100 << 42 << 1380 << 2550;
        QTest::newRow("silent device") << 2 << 0 << -1 << -1 << 0 << 0 << 500;
    }
    void download()
    {
        QFETCH(int, layout);
        QFETCH(int, stored);
        QFETCH(int, tailGapMs);
        QFETCH(int, tailBytes);
        QFETCH(int, received);
        QFETCH(int, bytes);
        QFETCH(int, endMs);
        line().reset();
        line().replyTo(3, CKVTUSTester::Identify, "Tarn Qellix");
        if (layout == 3)
            line().replyTo(3, CKVTUSTester::ProbeExtended, "Yeah");
        CKVTUSTester tester;
        QVERIFY(tester.findDevice());
        line().reset(); // the clock starts with the dump command
        line().plugDevice(3);

        const int recordBytes = stored * (layout == 3 ? 32 : 8);
        const std::string dump =
            m47Header(recordBytes / 256) + records(recordBytes, layout == 3 ? 32 : 8);
        const std::size_t boundary = std::size_t(recordBytes / 256 * 256);
        if (tailGapMs >= 0) {
            line().answerNextWrite(dump.substr(0, boundary), {3840, 64, 0});
            const std::string tail = dump.substr(boundary, std::size_t(tailBytes));
            line().arrivePaced(tail, {3840, 64, CTransferEngine::kTickMs + tailGapMs});
        }
        CTransferEngine engine(&tester);
        QCOMPARE(engine.run(), 100);
        QVERIFY(!tester.busy);
        QCOMPARE(std::pair(engine.bytesReceived(), line().now()),
                 std::pair(bytes, std::int64_t(endMs) * 1000));

        std::uint8_t *data = nullptr;
        int size = 0;
        tester.takeDump(&data, &size);
        CZRData decoded;
        decoded.decodeDump(data, size, layout == 3);
        QCOMPARE(decoded.totalCount(), received);
    }
};

QTEST_APPLESS_MAIN(TestTransferEngine)
#include "tst_transferengine.moc"
