// collatrix-cli decode against dumps whose CSV was checked by hand.
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
};

QTEST_GUILESS_MAIN(TestCliDecode)
#include "tst_cli_decode.moc"
