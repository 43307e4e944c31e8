// SPDX-License-Identifier: GPL-3.0-or-later
// Readings from a spreadsheet: hand-written CSV lines read into downloads (offsets, a date alone,
// comma decimals, inches, quotes, CR LF, a BOM) and each kind of bad line named by its number;
// the dump of imported readings against hand-written bytes.
#include "format/importeddump.h"
#include "format/keptdownload.h"
#include "format/zrdata.h"
#include "services/readingsimport.h"

#include <QtTest>

class TestReadingsImport : public QObject
{
    Q_OBJECT

private slots:
    void readsLines_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QList<QDateTime>>("times");
        // "download: group/cell result unit" of every reading, as the dumps give them back.
        QTest::addColumn<QStringList>("readings");
        QTest::addColumn<QStringList>("bad"); // "line: a word of the reason"
        const QByteArray head = "time;group;cell;result;unit\n";
        const QDateTime may1 = QDateTime::fromString("2024-05-01T09:00:00+02:00", Qt::ISODate);
        const QDateTime noon(QDate(2023, 6, 1), QTime(12, 0));
        QTest::newRow("offset, comma, two times")
            << head + "2024-05-01T09:00:00+02:00;3;7;12,34;mm\n"
                      "2024-05-01T07:00:00Z;3;8;9.5;mm\n2023-06-01;3;7;12.4;mm\n"
            << QList<QDateTime>{noon, may1}
            << QStringList{"0: 3/7 12.4 2", "1: 3/7 12.34 2", "1: 3/8 9.5 2"} << QStringList();
        QTest::newRow("CR LF, BOM, quotes, inches, space for T")
            << "\xEF\xBB\xBF" + QByteArray(head).replace("\n", "\r\n") +
                   "\"2023-06-01\";\"3\";12;\"0,4512\";in\r\n"
                   "2024-05-01 09:00+02:00;3;12;0.45;\"IN\"\r\n\r\n"
            << QList<QDateTime>{noon, may1} << QStringList{"0: 3/12 0.4512 3", "1: 3/12 0.45 3"}
            << QStringList();
        QTest::newRow("every kind of bad line")
            << head + "2024-13-01;1;1;1;mm\n2023-06-01;0;1;1;mm\n2023-06-01;1;x;1;mm\n"
                      "2023-06-01;1;1;1.23456;mm\n2023-06-01;1;1;1e3;mm\n2023-06-01;1;1;0,00;mm\n"
                      "2023-06-01;1;1;1;cm\n2023-06-01;1;1;1\n2023-06-01;1;1;1;mm\n"
            << QList<QDateTime>() << QStringList()
            << QStringList{"2: time",   "3: group",  "4: cell", "5: result",
                           "6: result", "7: result", "8: unit", "9: fields"};
        QTest::newRow("no header") << QByteArray("2023-06-01;1;1;1;mm\n") << QList<QDateTime>()
                                   << QStringList() << QStringList{"1: header"};
    }
    void readsLines()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QList<QDateTime>, times);
        QFETCH(QStringList, readings);
        QFETCH(QStringList, bad);
        CReadingsImport import;
        import.parse(csv, "old.csv");
        QStringList badFound;
        for (const CReadingsImport::BadLine &line : import.badLines())
            badFound << QString("%1: %2").arg(line.line).arg(line.reason);
        QCOMPARE(badFound.size(), bad.size());
        for (int i = 0; i < bad.size(); ++i)
            QVERIFY2(badFound.at(i).startsWith(bad.at(i).section(' ', 0, 0)) &&
                         badFound.at(i).contains(bad.at(i).section(' ', 1)),
                     qPrintable(badFound.at(i)));
        const QList<CKeptDownload> downloads = import.downloads();
        QStringList found;
        QList<QDateTime> foundTimes;
        for (int i = 0; i < downloads.size(); ++i) {
            CZRData data;
            QMap<int, AScanEntry> aScans;
            QString problem;
            QVERIFY2(downloads.at(i).decode(&data, &aScans, &problem), qPrintable(problem));
            QCOMPARE(data.deviceType, QStringLiteral("imported from old.csv"));
            foundTimes << downloads.at(i).time;
            for (int row = 0; row < data.totalCount(); ++row) {
                MeasurementRecord r;
                data.recordAt(row, &r);
                found << QString("%1: %2/%3 %4 %5")
                             .arg(i)
                             .arg(r.group)
                             .arg(r.cell)
                             .arg(formatResult(r))
                             .arg(r.unit);
            }
        }
        QCOMPARE(foundTimes, times);
        QCOMPARE(found, readings);
    }
    void dumpBytes()
    {
        MeasurementRecord r;
        r.group = 3, r.cell = 258, r.rawValue = 70000, r.divisor = 1000, r.unit = UnitInches;
        const QByteArray dump = CImportedDump::encode("a.csv", {r});
        QCOMPARE(dump, QByteArray("CLXREADINGS\x05\0a.csv"
                                  "\x03\0\x02\x01\x70\x11\x01\0\x03\x03",
                                  28));
        CZRData data;
        QVERIFY(data.decodeDump(reinterpret_cast<const std::uint8_t *>(dump.constData()),
                                int(dump.size()), false));
        QVERIFY(data.record(3, 1, &r));
        QCOMPARE(formatResult(r), QStringLiteral("70.000"));
        QCOMPARE(data.deviceType, QStringLiteral("a.csv"));
        QVERIFY(!CKeptDownload::dumpProblem(dump.left(25), false).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReadingsImport)
#include "tst_readingsimport.moc"
