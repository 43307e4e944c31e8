// SPDX-License-Identifier: GPL-3.0-or-later
// The dump decoders against hand-written bytes of all three layouts.
#include "format/zrdata.h"

#include <QtTest>

namespace
{

QByteArray b(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

const QByteArray kLayout1 = b({'O', 'R', 'B', 'E', 'X', 0x02, 0x06, 0x00, 0x04, 0x01});
const QByteArray kM47 = "ORBEXM47T";

QByteArray m47(int group, int cell, int value, int fine, int inch)
{
    return b(
        {group & 0xFF, group >> 8, cell & 0xFF, cell >> 8, value & 0xFF, value >> 8, fine, inch});
}

QByteArray block(const QByteArray &records, int size = 256)
{
    return records + QByteArray(size - int(records.size()), '\0');
}

QByteArray extended(int group, int cell, int value, int fine, int inch, int ascan)
{
    return m47(group, cell, value, fine, inch) + QByteArray(7, 0x5A) + b({ascan}) +
           QByteArray(16, char(0xA5));
}

// Each decoded record as "group/cell raw/divisor unit mode" with " A" for an A-scan.
QStringList rows(const CZRData &d)
{
    QStringList out;
    MeasurementRecord r;
    for (int row = 0; d.recordAt(row, &r); ++row)
        out << QString::asprintf("%d/%d %d/%d %d %d%s", r.group, r.cell, r.rawValue, r.divisor,
                                 r.unit, r.mode, r.hasAScan ? " A" : "");
    return out;
}

} // namespace

class TestZRData : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("dump");
        QTest::addColumn<bool>("extended");
        QTest::addColumn<QString>("type"); // empty: the dump is refused
        QTest::addColumn<QStringList>("rows");

        // Layout 1: value low, high with the tenths bit, unread, kind (0: a time in tenths).
        const QByteArray l1 =
            b({1, 1, 0x10, 0x85, 0xEE, 1, 0xEE, 0xEE}) + b({1, 2, 0xFF, 0x7F, 0, 7, 0, 0}) +
            b({2, 9, 0x34, 0x92, 0, 0, 0, 0}) + b({2, 11, 0x00, 0x80, 0, 1, 0, 0});
        QTest::newRow("layout 1 kinds")
            << kLayout1 + b({1}) + block(l1, 257) << false << "ZR2604"
            << QStringList{"1/1 1296/10 1 1", "1/2 32767/1 0 0", "2/9 4660/10 1 2"};
        // Its count byte is signed; the second block starts 257 bytes after the first.
        const QByteArray two =
            block(b({1, 1, 5, 0, 0, 1, 0, 0}), 257) + block(b({7, 3, 9, 0, 0, 1, 0, 0}), 257);
        QTest::newRow("layout 1, two blocks") << kLayout1 + b({2}) + two << false << "ZR2604"
                                              << QStringList{"1/1 5/1 0 0", "7/3 9/1 0 0"};
        QTest::newRow("layout 1, count -128")
            << kLayout1 + b({0x80}) + two << false << "" << QStringList();
        // Layout 2: little-endian words; the fine and inch flags give the divisor and the unit.
        const QByteArray l2 = m47(1, 1, 1250, 0, 0) + m47(1, 2, 1250, 1, 0) +
                              m47(1, 3, 1250, 0, 1) + m47(1, 4, 1250, 1, 1) +
                              m47(300, 1, 77, 0, 0) + m47(256, 2, 0x1234, 0, 0) +
                              m47(2, 0, 5, 0, 0);
        QTest::newRow("layout 2 flags and groups")
            << kM47 + b({0, 1}) + block(l2) << false << "M47xx"
            << QStringList{"1/1 1250/10 2 3", "1/2 1250/100 2 3", "1/3 1250/100 3 3",
                           "1/4 1250/1000 3 3", "256/2 4660/10 2 3"};
        QTest::newRow("layout 2, only groups above 256")
            << kM47 + b({0, 1}) + block(m47(300, 1, 5, 0, 0)) << false << "M47xx" << QStringList();
        QTest::newRow("layout 2, count 0")
            << kM47 + b({0, 0}) + block(m47(1, 1, 5, 0, 0)) << false << "" << QStringList();
        // The count is big-endian: 0x0100 blocks announced, 2 records sent, the second cut short.
        QTest::newRow("layout 2, cut in a record")
            << kM47 + b({1, 0}) + m47(1, 1, 7, 0, 0) + m47(1, 2, 8, 0, 0).left(5) << false
            << "M47xx" << QStringList{"1/1 7/10 2 3"};
        QTest::newRow("bad magic")
            << b({'O', 'R', 'B', 'E', 'Y', 'M', '4', '7', 'T', 0, 1}) + block(l2) << false << ""
            << QStringList();
        // Layout 3: 32-byte records after an unread header; the A-scan flag is byte 15.
        const QByteArray l3 = extended(1, 1, 366, 0, 0, 1) + extended(0, 3, 10, 0, 0, 1) +
                              extended(999, 1, 10, 0, 0, 1) + extended(2, 15, 437, 1, 1, 0x40) +
                              QByteArray(7, 0x01);
        QTest::newRow("layout 3") << QByteArray(11, 'X') + l3 << true << "M47xx"
                                  << QStringList{"1/1 366/10 2 3 A", "2/15 437/1000 3 3 A"};
        QTest::newRow("layout 3, no whole record")
            << QByteArray(11, 'X') + l3.left(31) << true << "" << QStringList();
    }
    void decode()
    {
        QFETCH(QByteArray, dump);
        QFETCH(bool, extended);
        QFETCH(QString, type);
        QFETCH(QStringList, rows);
        CZRData d;
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(dump.constData());
        QCOMPARE(d.decodeDump(bytes, int(dump.size()), extended), !type.isEmpty());
        QCOMPARE(::rows(d), rows);
        QCOMPARE(d.deviceType, type);
        QCOMPARE(d.hasAScans, !type.isEmpty() && extended);
    }
};

QTEST_APPLESS_MAIN(TestZRData)
#include "tst_zrdata.moc"
