// SPDX-License-Identifier: GPL-3.0-or-later
// The kept-download file: its bytes written out by hand, the reader's refusals, bare dumps, and
// the downloads folder that never overwrites.
#include "format/csvwriter.h"
#include "format/keptdownload.h"
#include "services/keptfolder.h"
#include "testfiles.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QByteArray kMeta("time=2026-12-06T14:15:03.000+01:00\nport=COM3\nprotocol=extended\n"
                       "outcome=incomplete\nprogram=4.2\n");
// Layout 3, one block announced, one record: group 2, cell 5, 12.34 mm (fine), with an A-scan.
const QByteArray kDump = QByteArray("ORBEXM47T\0\1"
                                    "\2\0\5\0\xD2\4\1\0",
                                    19) +
                         QByteArray(7, 0) + QByteArray("\1", 1) + QByteArray(16, 0);

QByteArray reply()
{
    QByteArray r(384, 0);
    for (int i = 0; i < 240; ++i)
        r[i] = char(i % 100);
    r.replace(240 + 9, 6, QByteArray("\x96\0\0\xC4\x09\0", 6)); // 1.50 to 25.00
    return r;
}

QByteArray sealed(const QByteArray &body)
{
    return body + QCryptographicHash::hash(body, QCryptographicHash::Sha256);
}

QByteArray keptFile(const QByteArray &version = QByteArray("\1\0", 2))
{
    return sealed(QByteArray("CLXD\r\n\x1a\n", 8) + version +
                  QByteArray("\0\0"
                             "\x5e\0\0\0",
                             6) +
                  kMeta + QByteArray("\x2b\0\0\0", 4) + kDump +
                  QByteArray("\1\0\0\0"
                             "\2\0\5\0",
                             8) +
                  reply());
}

} // namespace

class TestKeptDownload : public QObject
{
    Q_OBJECT

private slots:
    void readsAndWritesTheFormat()
    {
        CKeptDownload kept;
        QString problem;
        QVERIFY2(kept.fromBytes(keptFile(), false, &problem), qPrintable(problem));
        QCOMPARE(kept.port + ' ' + kept.outcome, QStringLiteral("COM3 incomplete"));
        QVERIFY(kept.extended && !kept.bareDump);
        QCOMPARE(kept.time.toUTC(), QDateTime({2026, 12, 6}, {13, 15, 3}, Qt::UTC));
        QCOMPARE(kept.dump, kDump);
        CZRData data;
        QMap<int, AScanEntry> aScans;
        QVERIFY(kept.decode(&data, &aScans, &problem));
        QCOMPARE(csvOf(data), QByteArray("\"Group\";\"Cell\";\"Result\";\"Unit\";\"Ascan\"\r\n"
                                         "2;5;12.34;\"mm\";\"ascan_2_5.bmp\"\r\n"));
        QCOMPARE(aScans.keys(), QList<int>{0});
        QCOMPARE(aScans[0].trace.size(), 239);
        QCOMPARE(aScans[0].trace.at(150), short(50));
        QCOMPARE(aScans[0].params.rangeStart, 1.5);
        QCOMPARE(aScans[0].params.rangeEnd, 25.0);
        // Written again, byte for byte.
        kept.setAScans(data, aScans);
        QCOMPARE(kept.toBytes(), keptFile());
    }
    void refusesBadFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("extended");
        QTest::addColumn<QString>("problem");
        const QString foreign = "neither a kept download nor a tester dump";
        const QString cut = "the file is cut short",
                      damaged = "damaged (its checksum does not match)";
        QByteArray noise(1000, 0);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), 250);
        QByteArray changed = keptFile();
        changed[120] = char(changed[120] ^ 1);
        QTest::newRow("empty") << QByteArray() << false << QStringLiteral("the file is empty");
        QTest::newRow("random bytes") << noise << false << foreign;
        QTest::newRow("results CSV")
            << fileBytes(COLLATRIX_TEST_DATA "/layout2.csv") << false << foreign;
        QTest::newRow("short, asked for as 32-byte records")
            << kDump.left(30) << true << QStringLiteral("too short for a tester dump (30 bytes");
        QTest::newRow("cut in the description") << keptFile().left(20) << false << cut;
        QTest::newRow("cut in the A-scan") << keptFile().left(300) << false << cut;
        QTest::newRow("cut in the checksum") << keptFile().chopped(1) << false << cut;
        QTest::newRow("one byte changed") << changed << false << damaged;
        QTest::newRow("bytes added") << keptFile() + "x" << false << damaged;
        QTest::newRow("newer format")
            << keptFile(QByteArray("\2\0", 2)) << false
            << QStringLiteral("newer version of the program (format 2; this one reads format 1)");
    }
    void refusesBadFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, extended);
        QFETCH(QString, problem);
        CKeptDownload kept;
        QString said;
        QVERIFY(!kept.fromBytes(bytes, extended, &said));
        QVERIFY2(said.contains(problem), qPrintable(said));
    }
    void bareDumps_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("extended");
        QTest::newRow("layout 1") << "layout1" << false;
        QTest::newRow("layout 2") << "layout2" << false;
        QTest::newRow("layout 3, asked for") << "layout3" << true;
    }
    void bareDumps()
    {
        QFETCH(QString, layout);
        QFETCH(bool, extended);
        CKeptDownload kept;
        QString problem;
        QVERIFY(kept.fromBytes(fileBytes(COLLATRIX_TEST_DATA "/" + layout + ".bin"), extended,
                               &problem));
        QVERIFY(kept.bareDump && kept.aScans.isEmpty());
        CZRData data;
        QMap<int, AScanEntry> aScans;
        QVERIFY(kept.decode(&data, &aScans, &problem));
        QCOMPARE(csvOf(data), fileBytes(COLLATRIX_TEST_DATA "/" + layout + ".csv"));
    }
    void folderNeverOverwrites()
    {
        QTemporaryDir dir;
        const CKeptFolder folder(dir.filePath(QStringLiteral("kept")));
        CKeptDownload kept;
        QString problem;
        QVERIFY(kept.fromBytes(keptFile(), false, &problem));
        QStringList paths;
        for (int i = 0; i < 3; ++i)
            paths << folder.keep(kept, &problem);
        const QString stem =
            folder.path +
            QStringLiteral("/2026-12-06_%1").arg(kept.time.toLocalTime().toString("HHmmss"));
        QCOMPARE(paths, QStringList({stem + ".clxd", stem + "_2.clxd", stem + "_3.clxd"}));
        QCOMPARE(folder.files(), paths);
        QCOMPARE(fileBytes(paths.at(1)), keptFile());
        kept.aScans.clear();
        QVERIFY(CKeptFolder::rewrite(paths.at(1), kept, &problem));
        QCOMPARE(fileBytes(paths.at(1)), kept.toBytes());
        QCOMPARE(fileBytes(paths.at(0)), keptFile());
        // A folder that cannot be made (a file is in the way) keeps nothing and says so.
        const CKeptFolder blocked(paths.at(0) + QStringLiteral("/sub"));
        problem.clear();
        QVERIFY(blocked.keep(kept, &problem).isEmpty());
        QVERIFY(!problem.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestKeptDownload)
#include "tst_keptdownload.moc"
