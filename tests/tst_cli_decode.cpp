// SPDX-License-Identifier: GPL-3.0-or-later
// collatrix-cli decode against dumps whose CSV was checked by hand.
#include "pdftools.h"
#include "smalldisk.h"
#include "testfiles.h"

#include <QtTest>

class TestCliDecode : public QObject
{
    Q_OBJECT

private slots:
    void matchesGoldenCsv_data()
    {
        QTest::addColumn<QString>("dump");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<char>("separator");
        QTest::newRow("layout 1") << "layout1" << QStringList{"--decimal-separator", "."} << '.';
        // Without the option the system's separator counts: a C.UTF-8 locale has a point.
        QTest::newRow("layout 2") << "layout2" << QStringList() << '.';
        QTest::newRow("comma") << "layout2" << QStringList{"--decimal-separator", ","} << ',';
        QTest::newRow("layout 3") << "layout3" << QStringList{"--extended"} << '.';
    }

    void matchesGoldenCsv()
    {
        QFETCH(QString, dump);
        QFETCH(QStringList, options);
        QFETCH(char, separator);
        const QString path = QStringLiteral(COLLATRIX_TEST_DATA "/") + dump;
        const CliRun r = runCli(QStringList{"decode", path + ".bin"} + options);
        QCOMPARE(r.status, 0);
        // The layout-2 file has no point but decimal ones.
        QCOMPARE(r.out, fileBytes(path + ".csv").replace('.', separator));
    }

    // The report of a bare dump: its statistics worked out by hand from layout2.csv.
    void reportOfDump()
    {
        if (!popplerThere())
            QSKIP("poppler-utils is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
        QCOMPARE(runCli({"report", COLLATRIX_TEST_DATA "/layout2.bin", "-o", pdf}).status, 0);
        QVERIFY(pdfText(pdf, 1).contains("Port: not known Results: 5 A-scans: 0 Statistics per "
                                         "group Group Unit Count Minimum Maximum Mean 1 mm 1 "
                                         "12.50 12.50 12.50 1 Inches 2 0.005 5.000 2.503 2 mm 2 "
                                         "125.0 125.1 125.1"));
        QCOMPARE(pdfPages(pdf), 2);
    }

    // A file that cannot be written ends the command with status 1 and names the file and the
    // reason; an earlier file of that name stays as it was.
    void cannotWrite_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("reason");
        for (const char *command : {"decode", "export", "report"}) {
            // clang-format off
            QTest::addRow("%s, full disk", command) << command << "full" << "No space left on device";
            QTest::addRow("%s, read-only folder", command) << command << "read-only" << "Existing file";
            QTest::addRow("%s, vanished folder", command) << command << "vanished" << "No such file or directory";
            // clang-format on
        }
    }
    void cannotWrite()
    {
        QFETCH(QString, command);
        QFETCH(QString, failure);
        QFETCH(QString, reason);
        TestSmallDisk disk;
        if (!disk.mounted())
            QSKIP("a full or read-only file system of its own needs root to mount a tmpfs");
        const QString path = disk.path() + QStringLiteral("/out.csv");
        QVERIFY(writeFile(path, "earlier"));
        QVERIFY(failure != "full" || disk.fill());
        QVERIFY(failure != "read-only" || disk.makeReadOnly());
        const QString target =
            failure == "vanished" ? disk.path() + QStringLiteral("/gone/out.csv") : path;
        const CliRun r =
            runCli({command, COLLATRIX_TEST_DATA "/layout3.bin", "--extended", "-o", target});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("cannot write " + target.toUtf8() + ": " + reason.toUtf8()),
                 r.err.constData());
        QCOMPARE(fileBytes(path), QByteArray("earlier"));
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files), QStringList{"out.csv"});
    }
};

QTEST_GUILESS_MAIN(TestCliDecode)
#include "tst_cli_decode.moc"
