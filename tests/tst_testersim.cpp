// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator's memories, and its A-scans read back with the program's own parser.
#include "ascansynthesizer.h"
#include "format/ascanparams.h"
#include "testermemory.h"

#include <QtTest>
#include <algorithm>

class TestTesterSim : public QObject
{
    Q_OBJECT

private slots:
    void memories_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("records");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<int>("size");
        // 10 records fill one 257-byte block.
        QTest::newRow("layout 1") << 1 << 10 << QByteArray("ORBEX\2\6\0\4\1\1", 11) << 268;
        // 33 records need two 256-byte blocks.
        QTest::newRow("layout 2") << 2 << 33 << QByteArray("ORBEXM47T\0\2", 11) << 523;
        // The count is of whole 256-byte units of 32-byte records, the header left out: 9
        // records are one unit and 32 bytes that come after the host's 100 %.
        QTest::newRow("layout 3") << 3 << 9 << QByteArray("ORBEXM47T\0\1", 11) << 299;
        // 2 records are padded with empty ones to one unit, so the count is not 0.
        QTest::newRow("layout 3, tiny") << 3 << 2 << QByteArray("ORBEXM47T\0\1", 11) << 267;
    }

    void memories()
    {
        QFETCH(int, layout);
        QFETCH(int, records);
        QFETCH(QByteArray, header);
        QFETCH(int, size);
        const CTesterMemory m = CTesterMemory::generate(layout, 1, records, 7);
        QCOMPARE(m.bytes().left(11), header);
        QCOMPARE(m.bytes().size(), size);
        // The bytes hold what the index that answers the A-scan requests says, read back the
        // way the tester reads the dump files it serves.
        QVERIFY(CTesterMemory::fromDump(m.bytes(), layout).records() == m.records());
    }

    void plannedMemory_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QByteArray>("records"); // as they begin the memory; empty: refused
        const QByteArray one("ORBEXM47T\0\1", 11);
        // 11.95 mm is 1195 (0x04AB) fine hundredths; then 5920 m/s (0x1720), the gain (here
        // 0), probe 2, the A-scan mark and the time: 2024, May, 14th, 09:30:05.
        QTest::newRow("layout 3")
            << 3 << QByteArray("1;6;11.95\r\n\n")
            << one + QByteArray("\1\0\6\0\xAB\4\1\0\x20\x17\0\2\0\0\0\1\x18\5\x0E\x09\x1E\5", 22);
        QTest::newRow("layout 2") << 2 << QByteArray("1;6;11.95\n 2 ; 5 ; 5.5")
                                  << one + QByteArray("\1\0\6\0\xAB\4\1\0\2\0\5\0\x26\2\1\0", 16);
        QTest::newRow("layout 1 keeps no thickness") << 1 << QByteArray("1;1;5") << QByteArray();
        QTest::newRow("no readings") << 3 << QByteArray("\n") << QByteArray();
        QTest::newRow("two fields") << 3 << QByteArray("1;6") << QByteArray();
        QTest::newRow("group 0") << 3 << QByteArray("0;1;5") << QByteArray();
        QTest::newRow("no thickness") << 3 << QByteArray("1;1;0.004") << QByteArray();
        QTest::newRow("too thick") << 3 << QByteArray("1;1;655.36") << QByteArray();
    }

    void plannedMemory()
    {
        QFETCH(int, layout);
        QFETCH(QByteArray, list);
        QFETCH(QByteArray, records);
        std::vector<TesterRecord> readings;
        QString error;
        QCOMPARE(CTesterMemory::readReadings(list, layout, &readings, &error), !records.isEmpty());
        QCOMPARE(error.isEmpty(), !records.isEmpty());
        if (records.isEmpty())
            return;
        const CTesterMemory m = CTesterMemory::planned(
            layout, readings, 3, QDateTime(QDate(2024, 5, 14), QTime(9, 30, 5)));
        QByteArray bytes = m.bytes();
        if (layout == 3)
            bytes[11 + 10] = '\0';
        // Empty records pad the memory to one whole unit of 256 bytes.
        QCOMPARE(bytes, records + QByteArray(267 - records.size(), '\0'));
        QVERIFY(CTesterMemory::fromDump(m.bytes(), layout).records() == m.records());
        TesterRecord sixth;
        QVERIFY(m.findRecord(0, 5, &sixth) && sixth.thickness() == 11.95 &&
                sixth.hasAScan == (layout == 3));
    }

    void markersOnTheEchoes()
    {
        AScanParams p;
        signed short trace[kAScanTraceLength];
        const CTesterMemory memory = CTesterMemory::generate(3, 16, 12, 5);
        for (const TesterRecord &r : memory.records()) {
            const QByteArray reply = CAScanSynthesizer::reply(r, 5);
            QVERIFY(parseAScanReply(reinterpret_cast<const uchar *>(reply.data()), 384, trace, &p));
            // Marker 1 is on the first echo, at the reading's depth, the highest sample inside
            // the gate; levels count down from the top of the screen.
            const double echo = r.thickness() / p.rangeEnd * kAScanTraceLength;
            QVERIFY(p.rangeStart == 0 && p.mark1Shown && std::abs(p.mark1Position - echo) <= 0.5);
            QCOMPARE(std::max_element(trace + p.gateStart, trace + p.gateEnd + 1) - trace,
                     p.mark1Position);
            QCOMPARE(p.mark1Level, CAScanSynthesizer::kScreenTop - trace[p.mark1Position]);
            // Marker 2 is on the second echo when it fits.
            QCOMPARE(p.mark2Shown, std::round(2 * echo) < kAScanTraceLength);
        }
        const QByteArray flat = CAScanSynthesizer::flatReply();
        QVERIFY(parseAScanReply(reinterpret_cast<const uchar *>(flat.data()), 384, nullptr, &p));
        QVERIFY(!p.mark1Shown && !p.mark2Shown);
    }
};

QTEST_GUILESS_MAIN(TestTesterSim)
#include "tst_testersim.moc"
