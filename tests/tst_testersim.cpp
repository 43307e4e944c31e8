#include "ascansynthesizer.h"
#include "data/ascanparams.h"
#include "frameparser.h"
#include "testbytes.h"
#include "testermemory.h"

#include <QtTest>
#include <algorithm>
#include <set>

namespace
{

const std::uint8_t *raw(const QByteArray &b)
{
    return reinterpret_cast<const std::uint8_t *>(b.constData());
}

QByteArray qbytes(const Bytes &b)
{
    return QByteArray(reinterpret_cast<const char *>(b.data()), int(b.size()));
}

} // namespace

class TestTesterSim : public QObject
{
    Q_OBJECT

private slots:
    void layoutBytesAndCounts_data();
    void layoutBytesAndCounts();
    void generatedRecords();
    void generationIsDeterministicPerSeed();
    void generationLimits();
    void dumpFileLayouts();
    void ascanEchoGateAndMarkers();
    void flatReplyForMissingAScans();
    void frameParsing();
};

void TestTesterSim::layoutBytesAndCounts_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("groups");
    QTest::addColumn<int>("cells");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("boundary");
    // 10 records fill one 257-byte block; the host stops at 256 * floor(268 / 256).
    QTest::newRow("layout 1") << 1 << 2 << 5
                              << qbytes(bytes({'O', 'R', 'B', 'E', 'X', 2, 6, 0, 4, 1, 1}))
                              << 11 + 257 << 256;
    // 33 records need two 256-byte blocks.
    QTest::newRow("layout 2") << 2 << 3 << 11
                              << qbytes(bytes({'O', 'R', 'B', 'E', 'X', 'M', '4', '7', 'T', 0, 2}))
                              << 11 + 2 * 256 << 512;
    // 40 records of 32 bytes are 1280 bytes, 5 whole units of 256 without the header; the host
    // reaches 100 % at 1280 of 1291 bytes.
    QTest::newRow("layout 3") << 3 << 4 << 10
                              << qbytes(bytes({'O', 'R', 'B', 'E', 'X', 'M', '4', '7', 'T', 0, 5}))
                              << 1291 << 1280;
    // 9 records are 288 bytes: one whole unit, and 43 bytes after the host's 100 %.
    QTest::newRow("layout 3, 9 records")
        << 3 << 1 << 9 << qbytes(bytes({'O', 'R', 'B', 'E', 'X', 'M', '4', '7', 'T', 0, 1}))
        << 11 + 288 << 256;
    // 2 records are padded with empty ones to one unit, so the count is not 0.
    QTest::newRow("layout 3, tiny")
        << 3 << 1 << 2 << qbytes(bytes({'O', 'R', 'B', 'E', 'X', 'M', '4', '7', 'T', 0, 1}))
        << 11 + 256 << 256;
}

void TestTesterSim::layoutBytesAndCounts()
{
    QFETCH(int, layout);
    QFETCH(int, groups);
    QFETCH(int, cells);
    QFETCH(QByteArray, header);
    QFETCH(int, size);
    QFETCH(int, boundary);
    const CTesterMemory m = CTesterMemory::generate(layout, groups, cells, 7);
    QCOMPARE(m.bytes().size(), size);
    QCOMPARE(m.bytes().left(11), header);
    QCOMPARE(m.receptionBoundary(), boundary);
}

void TestTesterSim::generatedRecords()
{
    for (int layout : {1, 2, 3}) {
        const CTesterMemory m = CTesterMemory::generate(layout, 12, 9, 3);
        const std::vector<TesterRecord> &records = m.records();
        QCOMPARE(int(records.size()), 12 * 9);
        // The bytes hold what the index says, read back the way a dump file is read.
        QVERIFY(CTesterMemory::fromDump(m.bytes(), layout).records() == records);
        std::set<std::pair<bool, bool>> resolutions;
        int withAScan = 0;
        for (std::size_t i = 0; i < records.size(); ++i) {
            const TesterRecord &r = records[i];
            QCOMPARE(r.group, int(i) / 9 + 1);
            QCOMPARE(r.cell, int(i) % 9 + 1);
            withAScan += r.hasAScan ? 1 : 0;
            if (layout == 1)
                continue;
            resolutions.insert({r.inches, r.fine});
            // Walls of 2 to 60 mm, give or take the rounding of a coarse inch reading.
            const double mm = r.thickness() * (r.inches ? 25.4 : 1.0);
            QVERIFY2(mm > 1.8 && mm < 60.2, qPrintable(QString::number(mm)));
        }
        QCOMPARE(int(resolutions.size()), layout == 1 ? 0 : 4);
        if (layout == 3) {
            QVERIFY(withAScan > int(records.size()) * 3 / 4);
            QVERIFY(withAScan < int(records.size()));
        } else {
            QCOMPARE(withAScan, 0);
        }
    }
}

void TestTesterSim::generationIsDeterministicPerSeed()
{
    for (int layout : {1, 2, 3}) {
        const QByteArray a = CTesterMemory::generate(layout, 3, 7, 11).bytes();
        QCOMPARE(CTesterMemory::generate(layout, 3, 7, 11).bytes(), a);
        QVERIFY(CTesterMemory::generate(layout, 3, 7, 12).bytes() != a);
    }
    TesterRecord r;
    QVERIFY(CTesterMemory::generate(3, 2, 5, 1).findRecord(1, 3, &r));
    QCOMPARE(CAScanSynthesizer::reply(r, 1), CAScanSynthesizer::reply(r, 1));
    QVERIFY(CAScanSynthesizer::reply(r, 1) != CAScanSynthesizer::reply(r, 2));
}

void TestTesterSim::generationLimits()
{
    QVERIFY(CTesterMemory::checkGeneration(1, 127, 32).isEmpty());
    QVERIFY(!CTesterMemory::checkGeneration(1, 128, 32).isEmpty());
    QVERIFY(!CTesterMemory::checkGeneration(1, 256, 1).isEmpty());
    QVERIFY(CTesterMemory::checkGeneration(2, 256, 100).isEmpty());
    QVERIFY(!CTesterMemory::checkGeneration(2, 257, 1).isEmpty());
    QVERIFY(!CTesterMemory::checkGeneration(3, 256, 400).isEmpty());
    QVERIFY(!CTesterMemory::checkGeneration(4, 1, 1).isEmpty());
    QVERIFY(!CTesterMemory::checkGeneration(2, 0, 1).isEmpty());

    // The largest layout-1 memory keeps its count positive as a signed byte.
    const CTesterMemory big = CTesterMemory::generate(1, 127, 32, 1);
    QCOMPARE(quint8(big.bytes()[10]), quint8(127));
    QCOMPARE(int(big.records().size()), 127 * 32);
}

void TestTesterSim::dumpFileLayouts()
{
    // Layout 1: the second block starts after the first one's checksum byte.
    const Bytes zr = bytes({'O', 'R', 'B', 'E', 'X', 2, 6, 0, 4, 1, 2}) +
                     bytes({1, 2, 0x10, 0x05, 0, 1, 0, 0}) + zeros(256 - 8) + bytes({0x18}) +
                     bytes({2, 1, 0x20, 0x03, 0, 1, 0, 0}) + zeros(257 - 8);
    // The header tells layout 1 whatever the hint.
    const CTesterMemory one = CTesterMemory::fromDump(qbytes(zr), 3);
    QCOMPARE(one.layout(), 1);
    QVERIFY(one.records() == (std::vector<TesterRecord>{{1, 2}, {2, 1}}));

    // Layout 2: group 2 cell 5 at 10.00 mm, an empty slot, group 257 cell 3 at 3.00 inches.
    const Bytes m47 = bytes({'O', 'R', 'B', 'E', 'X', 'M', '4', '7', 'T', 0, 1}) +
                      bytes({2, 0, 5, 0, 0xE8, 0x03, 1, 0}) + zeros(8) +
                      bytes({1, 1, 3, 0, 0x2C, 0x01, 0, 1}) + zeros(256 - 24);
    const CTesterMemory two = CTesterMemory::fromDump(qbytes(m47), 2);
    QCOMPARE(two.layout(), 2);
    QVERIFY(two.records() ==
            (std::vector<TesterRecord>{{2, 5, 1000, true, false}, {257, 3, 300, false, true}}));
    TesterRecord found;
    QVERIFY(two.findRecord(1, 4, &found));
    QCOMPARE(found.thickness(), 10.0);
    // Group 257 travels as 256 mod 256 = 0.
    QVERIFY(two.findRecord(0, 2, &found));
    QCOMPARE(found.thickness(), 3.0);
    QVERIFY(!two.findRecord(0, 4, nullptr));

    // Layout 3: 32-byte records with the A-scan flag at byte 15.
    const Bytes ext = bytes({'O', 'R', 'B', 'E', 'X', 'M', '4', '7', 'T', 0, 0}) +
                      bytes({2, 0, 5, 0, 0xE8, 0x03, 1, 0}) + zeros(7) + bytes({1}) + zeros(16) +
                      zeros(32) + bytes({1, 0, 1, 0, 0x10, 0, 0, 1}) + zeros(24);
    const CTesterMemory three = CTesterMemory::fromDump(qbytes(ext), 3);
    QCOMPARE(three.layout(), 3);
    QVERIFY(three.isExtended());
    QVERIFY(three.records() == (std::vector<TesterRecord>{{2, 5, 1000, true, false, true},
                                                          {1, 1, 16, false, true, false}}));
}

void TestTesterSim::ascanEchoGateAndMarkers()
{
    const CTesterMemory m = CTesterMemory::generate(3, 16, 12, 5);
    int checked = 0;
    int withSecondMarker = 0;
    for (const TesterRecord &r : m.records()) {
        if (!r.hasAScan)
            continue;
        const QByteArray reply = CAScanSynthesizer::reply(r, 5);
        QCOMPARE(reply.size(), kAScanReplySize);
        signed short trace[kAScanTraceLength];
        AScanParams p;
        QVERIFY(parseAScanReply(raw(reply), reply.size(), trace, &p));
        const QString where = QStringLiteral("group %1 cell %2").arg(r.group).arg(r.cell);

        // The first echo lies at the reading's depth, inside the picture, clear of the pulse.
        QCOMPARE(p.rangeStart, 0.0);
        QVERIFY2(p.rangeEnd > r.thickness(), qPrintable(where));
        const double expected =
            CAScanSynthesizer::sampleAt(r.thickness(), p.rangeStart, p.rangeEnd);
        QVERIFY2(std::abs(p.mark1Position - expected) <= 0.5, qPrintable(where));
        QVERIFY2(p.mark1Position >= 40 && p.mark1Position < kAScanTraceLength, qPrintable(where));

        // Marker 1 sits on the peak, which is the highest sample inside the gate; the gate
        // brackets it below the peak. Levels count down from the top of the screen.
        QVERIFY(p.mark1Shown);
        QVERIFY2(p.gateStart < p.mark1Position && p.mark1Position < p.gateEnd, qPrintable(where));
        const auto gateBegin = trace + p.gateStart;
        const auto gateEndIt = trace + p.gateEnd + 1;
        QCOMPARE(int(std::max_element(gateBegin, gateEndIt) - trace), p.mark1Position);
        const int peak = trace[p.mark1Position];
        QVERIFY2(peak >= 60 && peak <= CAScanSynthesizer::kScreenTop, qPrintable(where));
        QCOMPARE(p.mark1Level, CAScanSynthesizer::kScreenTop - peak);
        const int gateAmplitude = CAScanSynthesizer::kScreenTop - p.gateLevel;
        QVERIFY2(gateAmplitude > 15 && gateAmplitude < peak, qPrintable(where));

        // The initial pulse is at the left; the baseline between pulse and echo is quiet.
        QVERIFY(trace[0] > CAScanSynthesizer::kScreenTop);
        std::vector<int> quiet(trace + 25, trace + p.gateStart - 8);
        std::sort(quiet.begin(), quiet.end());
        QVERIFY2(!quiet.empty() && quiet[quiet.size() / 2] <= 8, qPrintable(where));

        // Marker 2 is on the second echo when it fits in the range, and hidden otherwise.
        const double second =
            CAScanSynthesizer::sampleAt(2 * r.thickness(), p.rangeStart, p.rangeEnd);
        QCOMPARE(p.mark2Shown, std::round(second) < kAScanTraceLength);
        if (p.mark2Shown) {
            ++withSecondMarker;
            QVERIFY(std::abs(p.mark2Position - second) <= 0.5);
            QCOMPARE(p.mark2Level, CAScanSynthesizer::kScreenTop - trace[p.mark2Position]);
            QVERIFY(trace[p.mark2Position] < peak);
        }
        ++checked;
    }
    QVERIFY(checked > 150);
    QVERIFY(withSecondMarker > 20 && withSecondMarker < checked);
}

void TestTesterSim::flatReplyForMissingAScans()
{
    const QByteArray flat = CAScanSynthesizer::flatReply();
    QCOMPARE(flat.size(), kAScanReplySize);
    QCOMPARE(flat.left(kAScanSampleBytes), QByteArray(kAScanSampleBytes, '\0'));
    AScanParams p;
    QVERIFY(parseAScanReply(raw(flat), flat.size(), nullptr, &p));
    QVERIFY(!p.mark1Shown);
    QVERIFY(!p.mark2Shown);
    QVERIFY(p.rangeEnd > p.rangeStart);
}

void TestTesterSim::frameParsing()
{
    CFrameParser parser;
    CommandFrame f;
    // Noise, an identify frame fed in two pieces, then an A-scan request for group 1, cell 18.
    parser.feed(qbytes(bytes({0x00, 'K', 'V', 0xFF}) + bytes({'K', 'V', 'T', ' ', 'M'})));
    QVERIFY(!parser.next(&f));
    parser.feed(qbytes(bytes({'4', '7', 'T', 0x01, 0x00, 0x00})));
    QVERIFY(parser.next(&f));
    QCOMPARE(f.code, 0x01);
    QCOMPARE(f.param, 0);
    QVERIFY(f.payload.isEmpty());
    QCOMPARE(parser.takeSkipped(), 4);

    parser.feed(qbytes(
        bytes({'K', 'V', 'T', ' ', 'M', '4', '7', 'T', 0x0C, 0x00, 0x04, 0x00, 0x00, 0x00})));
    QVERIFY(!parser.next(&f));
    parser.feed(qbytes(bytes({0x11, 'x'})));
    QVERIFY(parser.next(&f));
    QCOMPARE(f.code, 0x0C);
    QCOMPARE(f.payload, qbytes(bytes({0x00, 0x00, 0x00, 0x11})));
    QVERIFY(!parser.next(&f));
    QCOMPARE(parser.takeSkipped(), 0);
}

QTEST_GUILESS_MAIN(TestTesterSim)
#include "tst_testersim.moc"
