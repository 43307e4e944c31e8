// SPDX-License-Identifier: GPL-3.0-or-later
// collatrix-cli decode against dumps whose CSV was checked by hand.
#include "pdftools.h"
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
};

QTEST_GUILESS_MAIN(TestCliDecode)
#include "tst_cli_decode.moc"
