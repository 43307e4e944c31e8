#include "data/zrdata.h"
#include "testbytes.h"

#include <QtTest>

namespace
{

const Bytes kZR2604Header = bytes({'O', 'R', 'B', 'E', 'X', 0x02, 0x06, 0x00, 0x04, 0x01});
const Bytes kM47Magic = bytes({'O', 'R', 'B', 'E', 'X', 'M', '4', '7', 'T'});

Bytes m47Record(int group, int cell, int value, int fine, int inch)
{
    return bytes(
        {group & 0xFF, group >> 8, cell & 0xFF, cell >> 8, value & 0xFF, value >> 8, fine, inch});
}

// A layout-2 block: the given records, then empty slots up to 32.
Bytes m47Block(const Bytes &records)
{
    return records + zeros(256 - int(records.size()));
}

Bytes extendedRecord(int group, int cell, int value, int fine, int inch, int ascan)
{
    return m47Record(group, cell, value, fine, inch) + Bytes(7, 0x5A) + bytes({ascan}) +
           Bytes(16, 0xA5);
}

bool decodeWith(bool (CZRData::*decoder)(const std::uint8_t *, int), CZRData &d, const Bytes &b)
{
    return (d.*decoder)(b.data(), int(b.size()));
}

MeasurementRecord at(const CZRData &d, int row)
{
    MeasurementRecord r;
    if (!d.recordAt(row, &r))
        qFatal("no record at row %d", row);
    return r;
}

} // namespace

class TestZRData : public QObject
{
    Q_OBJECT

private slots:
    void recordDefaults();
    void lookupsAcrossEmptyGroups();
    void clearKeepsTypeAndCapacity();
    void headerRecognition();
    void zr2604ValueAndKindTable();
    void zr2604SignedBlockCount();
    void m47DivisorsUnitsAndGroups();
    void m47OnlyHighGroupsIsContentWithoutRows();
    void m47TruncatedMidBlock();
    void extendedRecordsAndAScanFlag();
    void neverReadsPastTheEnd();
};

void TestZRData::recordDefaults()
{
    const MeasurementRecord r;
    QCOMPARE(r.group, 0);
    QCOMPARE(r.cell, 0);
    QCOMPARE(r.rawValue, 0);
    QCOMPARE(r.divisor, 1);
    QCOMPARE(r.mode, 3);
    QCOMPARE(r.unit, 2);
    QCOMPARE(r.hasAScan, false);
}

void TestZRData::lookupsAcrossEmptyGroups()
{
    CZRData d;
    for (int cell : {1, 2})
        d.append({1, cell, 10 + cell, 10, 3, 2, false});
    for (int cell : {1, 2, 3})
        d.append({3, cell, 30 + cell, 10, 3, 2, false});
    QCOMPARE(d.groupCount, 3);
    QCOMPARE(d.cellCount(2), 0);
    QCOMPARE(d.cellCount(3), 3);
    QCOMPARE(d.cellCount(4), 0);
    QCOMPARE(d.cellCount(0), 0);
    QCOMPARE(d.totalCount(), 5);

    const int expected[][2] = {{1, 1}, {1, 2}, {3, 1}, {3, 2}, {3, 3}};
    for (int row = 0; row < 5; ++row) {
        QCOMPARE(at(d, row).group, expected[row][0]);
        QCOMPARE(at(d, row).cell, expected[row][1]);
    }
    QVERIFY(!d.recordAt(5, nullptr));
    QVERIFY(!d.recordAt(-1, nullptr));

    MeasurementRecord r;
    QVERIFY(d.record(3, 2, &r));
    QCOMPARE(r.rawValue, 32);
    QVERIFY(d.record(1, 1, nullptr));
    QVERIFY(!d.record(1, 3, nullptr));
    QVERIFY(!d.record(1, 0, nullptr));
    QVERIFY(!d.record(4, 1, nullptr));
    QVERIFY(!d.record(2, 1, nullptr));
}

void TestZRData::clearKeepsTypeAndCapacity()
{
    CZRData d;
    const Bytes dump = kM47Magic + bytes({0, 1}) + m47Block(m47Record(5, 1, 100, 0, 0));
    QVERIFY(decodeWith(&CZRData::decodeM47Dump, d, dump));
    const auto capacity = d.groups[4].capacity();
    d.clear();
    QCOMPARE(d.groupCount, 0);
    QCOMPARE(d.totalCount(), 0);
    QCOMPARE(d.groups[4].capacity(), capacity);
    QCOMPARE(d.deviceType, QStringLiteral("M47xx"));

    // A failed decode leaves the device type and A-scan flag of the last good one.
    d.hasAScans = true;
    QVERIFY(!decodeWith(&CZRData::decodeHeaderedDump, d, kM47Magic + bytes({0, 1}) + zeros(256)));
    QCOMPARE(d.deviceType, QStringLiteral("M47xx"));
    QVERIFY(d.hasAScans);
}

void TestZRData::headerRecognition()
{
    CZRData d;
    const Bytes record = m47Record(1, 1, 50, 0, 0);
    QVERIFY(!decodeWith(&CZRData::decodeHeaderedDump, d,
                        bytes({'O', 'R', 'B', 'E', 'X', 'M', '4', '7', 'T', 0})));
    QVERIFY(!decodeWith(&CZRData::decodeHeaderedDump, d, kM47Magic + bytes({0, 1})));
    QVERIFY(!decodeWith(&CZRData::decodeHeaderedDump, d,
                        bytes({'O', 'R', 'B', 'E', 'Y', 'M', '4', '7', 'T', 0, 1}) + record));
    // The ZR2604 header needs its 0x01 at byte 9.
    QVERIFY(!decodeWith(&CZRData::decodeHeaderedDump, d,
                        Bytes(kZR2604Header.begin(), kZR2604Header.end() - 1) + bytes({0x02, 1}) +
                            record));
    QVERIFY(decodeWith(&CZRData::decodeHeaderedDump, d, kM47Magic + bytes({0, 1}) + record));
    QCOMPARE(d.deviceType, QStringLiteral("M47xx"));
    QVERIFY(decodeWith(&CZRData::decodeHeaderedDump, d,
                       kZR2604Header + bytes({1, 2, 3, 10, 0x00, 0, 1, 0, 0})));
    QCOMPARE(d.deviceType, QStringLiteral("ZR2604"));
    QVERIFY(!d.hasAScans);
}

void TestZRData::zr2604ValueAndKindTable()
{
    // group, cell, value low, value high + tenths, unread, kind, unread x2
    const Bytes block = bytes({1, 1, 0x10, 0x85, 0xEE, 1, 0xEE, 0xEE}) // 1296, tenths
                        + bytes({1, 2, 0xFF, 0x7F, 0, 7, 0, 0})        // 32767, no tenths
                        + bytes({2, 9, 0x34, 0x92, 0, 0, 0, 0})        // kind 0, bit 7 set
                        + bytes({2, 10, 0x34, 0x12, 0, 0, 0, 0})       // kind 0, bit 7 clear
                        + bytes({2, 11, 0x00, 0x80, 0, 1, 0, 0})       // value 0: empty slot
                        + zeros(27 * 8) + bytes({0xC3});
    CZRData d;
    QVERIFY(decodeWith(&CZRData::decodeZR2604Dump, d, kZR2604Header + bytes({1}) + block));
    QCOMPARE(d.totalCount(), 4);
    struct Expected {
        int group, cell, raw, divisor, mode, unit;
    };
    const Expected expected[] = {{1, 1, 1296, 10, 1, 1},
                                 {1, 2, 32767, 1, 0, 0},
                                 {2, 9, 0x1234, 10, 2, 1},
                                 {2, 10, 0x1234, 10, 2, 1}};
    for (int row = 0; row < 4; ++row) {
        const MeasurementRecord r = at(d, row);
        QCOMPARE(r.group, expected[row].group);
        QCOMPARE(r.cell, expected[row].cell);
        QCOMPARE(r.rawValue, expected[row].raw);
        QCOMPARE(r.divisor, expected[row].divisor);
        QCOMPARE(r.mode, expected[row].mode);
        QCOMPARE(r.unit, expected[row].unit);
        QVERIFY(!r.hasAScan);
    }
}

void TestZRData::zr2604SignedBlockCount()
{
    const Bytes block = bytes({1, 1, 5, 0, 0, 1, 0, 0}) + zeros(31 * 8) + bytes({0});
    const Bytes twoBlocks = block + bytes({7, 3, 9, 0, 0, 1, 0, 0}) + zeros(31 * 8) + bytes({0});
    for (int count : {0, 0x80, 0xFF}) {
        CZRData d;
        QVERIFY2(
            !decodeWith(&CZRData::decodeZR2604Dump, d, kZR2604Header + bytes({count}) + twoBlocks),
            qPrintable(QString::number(count)));
        QCOMPARE(d.totalCount(), 0);
        QVERIFY(d.deviceType.isEmpty());
    }
    CZRData d;
    QVERIFY(decodeWith(&CZRData::decodeZR2604Dump, d, kZR2604Header + bytes({2}) + twoBlocks));
    // The second block starts 257 bytes after the first: the closing byte is skipped.
    QCOMPARE(d.totalCount(), 2);
    QCOMPARE(at(d, 1).group, 7);
    QCOMPARE(at(d, 1).cell, 3);
    QCOMPARE(at(d, 1).rawValue, 9);
}

void TestZRData::m47DivisorsUnitsAndGroups()
{
    const Bytes records = m47Record(1, 1, 1250, 0, 0) + m47Record(1, 2, 1250, 1, 0) +
                          m47Record(1, 3, 1250, 0, 1) + m47Record(1, 4, 1250, 1, 1) +
                          m47Record(300, 1, 77, 0, 0) + m47Record(256, 2, 0x1234, 0, 0) +
                          m47Record(1, 1, 999, 0x80, 0xFF) + m47Record(2, 0, 5, 0, 0);
    CZRData d;
    QVERIFY(decodeWith(&CZRData::decodeM47Dump, d, kM47Magic + bytes({0, 1}) + m47Block(records)));
    QCOMPARE(d.groupCount, 256);
    QCOMPARE(d.totalCount(), 6);
    struct Expected {
        int group, cell, raw, divisor, unit;
    };
    const Expected expected[] = {{1, 1, 1250, 10, 2},  {1, 2, 1250, 100, 2},
                                 {1, 3, 1250, 100, 3}, {1, 4, 1250, 1000, 3},
                                 {1, 1, 999, 1000, 3}, {256, 2, 0x1234, 10, 2}};
    for (int row = 0; row < 6; ++row) {
        const MeasurementRecord r = at(d, row);
        QCOMPARE(r.group, expected[row].group);
        QCOMPARE(r.cell, expected[row].cell);
        QCOMPARE(r.rawValue, expected[row].raw);
        QCOMPARE(r.divisor, expected[row].divisor);
        QCOMPARE(r.unit, expected[row].unit);
        QCOMPARE(r.mode, 3);
        QVERIFY(!r.hasAScan);
    }
    QCOMPARE(d.deviceType, QStringLiteral("M47xx"));
    QVERIFY(!d.hasAScans);
}

void TestZRData::m47OnlyHighGroupsIsContentWithoutRows()
{
    CZRData d;
    const Bytes dump = kM47Magic + bytes({0, 1}) +
                       m47Block(m47Record(300, 1, 5, 0, 0) + m47Record(257, 4, 6, 0, 0));
    QVERIFY(decodeWith(&CZRData::decodeM47Dump, d, dump));
    QCOMPARE(d.groupCount, 0);
    QCOMPARE(d.totalCount(), 0);
    // A block count of 0 is rejected even when records follow.
    CZRData e;
    QVERIFY(!decodeWith(&CZRData::decodeM47Dump, e,
                        kM47Magic + bytes({0, 0}) + m47Block(m47Record(1, 1, 5, 0, 0))));
}

void TestZRData::m47TruncatedMidBlock()
{
    // Four full blocks announced (0x0004, big-endian); every slot holds group b+1, cell i+1.
    Bytes dump = kM47Magic + bytes({0x00, 0x04});
    for (int b = 0; b < 4; ++b)
        for (int i = 0; i < 32; ++i)
            dump = dump + m47Record(b + 1, i + 1, 100 * b + i + 1, 0, 0);
    // Cut in the middle of block 3's sixth record.
    dump.resize(11 + 3 * 256 + 5 * 8 + 3);
    CZRData d;
    QVERIFY(decodeWith(&CZRData::decodeM47Dump, d, dump));
    QCOMPARE(d.cellCount(1), 32);
    QCOMPARE(d.cellCount(3), 32);
    QCOMPARE(d.cellCount(4), 5);
    QCOMPARE(d.totalCount(), 3 * 32 + 5);
    QCOMPARE(at(d, 100).rawValue, 305);

    // More blocks announced than sent: the same records, no error.
    dump[10] = 0xFF;
    dump[9] = 0xFF;
    CZRData e;
    QVERIFY(decodeWith(&CZRData::decodeM47Dump, e, dump));
    QCOMPARE(e.totalCount(), 3 * 32 + 5);
}

void TestZRData::extendedRecordsAndAScanFlag()
{
    // The header is skipped unread; 7 trailing bytes are not a record.
    const Bytes dump = bytes({'X', 'X', 'X', 'X', 'X', 'X', 'X', 'X', 'X', 0, 0}) +
                       extendedRecord(1, 1, 366, 0, 0, 1) + extendedRecord(1, 2, 1205, 1, 0, 0) +
                       extendedRecord(0, 3, 10, 0, 0, 1) + extendedRecord(999, 1, 10, 0, 0, 1) +
                       extendedRecord(2, 15, 437, 1, 1, 0x40) + Bytes(7, 0x01);
    CZRData d;
    QVERIFY(decodeWith(&CZRData::decodeM47ExtendedDump, d, dump));
    QCOMPARE(d.totalCount(), 3);
    QVERIFY(d.hasAScans);
    QCOMPARE(d.deviceType, QStringLiteral("M47xx"));
    QVERIFY(at(d, 0).hasAScan);
    QVERIFY(!at(d, 1).hasAScan);
    QCOMPARE(at(d, 1).divisor, 100);
    const MeasurementRecord last = at(d, 2);
    QCOMPARE(last.group, 2);
    QCOMPARE(last.cell, 15);
    QCOMPARE(last.divisor, 1000);
    QCOMPARE(last.unit, 3);
    QVERIFY(last.hasAScan);

    CZRData e;
    QVERIFY(
        !decodeWith(&CZRData::decodeM47ExtendedDump, e, Bytes(dump.begin(), dump.begin() + 42)));
    QVERIFY(!decodeWith(&CZRData::decodeM47ExtendedDump, e,
                        zeros(11) + extendedRecord(0, 0, 0, 0, 0, 1)));
    QVERIFY(!e.hasAScans);
}

void TestZRData::neverReadsPastTheEnd()
{
    // Every prefix of dumps whose headers announce far more than is there; AddressSanitizer
    // watches the reads, the counts must only grow with the length.
    Bytes m47 = kM47Magic + bytes({0xFF, 0xFF});
    Bytes zr = kZR2604Header + bytes({0x7F});
    for (int i = 0; i < 40; ++i) {
        m47 = m47 + m47Record(1, i + 1, i + 1, 0, 0);
        zr = zr + bytes({1, i + 1, i + 1, 0, 0, 1, 0, 0});
    }
    using Decoder = bool (CZRData::*)(const std::uint8_t *, int);
    const std::pair<Decoder, const Bytes *> cases[] = {{&CZRData::decodeHeaderedDump, &m47},
                                                       {&CZRData::decodeM47Dump, &m47},
                                                       {&CZRData::decodeHeaderedDump, &zr},
                                                       {&CZRData::decodeZR2604Dump, &zr},
                                                       {&CZRData::decodeM47ExtendedDump, &m47}};
    for (const auto &c : cases) {
        int previous = 0;
        for (std::size_t n = 0; n <= c.second->size(); ++n) {
            const Bytes prefix(c.second->begin(), c.second->begin() + long(n));
            CZRData d;
            decodeWith(c.first, d, prefix);
            QVERIFY(d.totalCount() >= previous);
            previous = d.totalCount();
        }
        QVERIFY(previous > 0);
    }
    CZRData d;
    QVERIFY(!d.decodeHeaderedDump(nullptr, 100));
    QVERIFY(!d.decodeM47ExtendedDump(nullptr, 100));
}

QTEST_APPLESS_MAIN(TestZRData)
#include "tst_zrdata.moc"
