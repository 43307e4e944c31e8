#include "testfiles.h"
#include <QProcess>
#include <QTemporaryDir>

#include <QtTest>

namespace
{

QString data(const char *name)
{
    return QStringLiteral(COLLATRIX_TEST_DATA "/") + QLatin1String(name);
}

} // namespace

class TestCliDecode : public QObject
{
    Q_OBJECT

private slots:
    void decodesEachLayout_data();
    void decodesEachLayout();
    void decimalSeparatorAndOutputFile();
    void failures();
};

void TestCliDecode::decodesEachLayout_data()
{
    QTest::addColumn<QString>("dump");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");
    QTest::newRow("layout 1") << data("layout1.bin") << QStringList() << data("layout1.csv");
    QTest::newRow("layout 2") << data("layout2.bin") << QStringList() << data("layout2.csv");
    QTest::newRow("layout 3") << data("layout3.bin") << QStringList{"--extended"}
                              << data("layout3.csv");
}

void TestCliDecode::decodesEachLayout()
{
    QFETCH(QString, dump);
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    const CliRun r = runCli(QStringList{"decode", dump, "--decimal-separator", "."} + options);
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, fileBytes(expected));
    QVERIFY(r.err.isEmpty());
}

void TestCliDecode::decimalSeparatorAndOutputFile()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    const CliRun r = runCli(
        {"decode", "-o", out, "--extended", data("layout3.bin"), "--decimal-separator", ","});
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.isEmpty());
    QByteArray expected = fileBytes(data("layout3.csv"));
    expected.replace("36.6", "36,6")
        .replace("12.05", "12,05")
        .replace("4.37", "4,37")
        .replace("10.00", "10,00");
    QCOMPARE(fileBytes(out), expected);

    // Without an option the system's separator is used: a C.UTF-8 locale has a point.
    const CliRun plain = runCli({"decode", data("layout2.bin")});
    QCOMPARE(plain.out, fileBytes(data("layout2.csv")));
}

void TestCliDecode::failures()
{
    const CliRun shortDump = runCli({"decode", data("short.bin")});
    QCOMPARE(shortDump.status, 1);
    QVERIFY(shortDump.out.isEmpty());
    QCOMPARE(shortDump.err.count('\n'), 1);
    QVERIFY(shortDump.err.contains("short.bin"));
    QVERIFY(shortDump.err.contains("too short"));

    // A layout-3 dump has no header of its own that the plain decoder knows.
    const CliRun unknown = runCli({"decode", data("layout1.csv")});
    QCOMPARE(unknown.status, 1);
    QVERIFY(unknown.err.contains("unknown header"));

    const CliRun noRecords = runCli({"decode", "--extended", data("layout1.bin")});
    QCOMPARE(noRecords.status, 1);
    QVERIFY(noRecords.err.contains("no records"));

    const CliRun missing = runCli({"decode", data("does-not-exist.bin")});
    QCOMPARE(missing.status, 2);
    QVERIFY(missing.err.contains("does-not-exist.bin"));
    QVERIFY(missing.err.contains("Usage:"));

    for (const QStringList &bad :
         {QStringList{}, QStringList{"decode"}, QStringList{"frobnicate"},
          QStringList{"decode", data("layout1.bin"), "--bogus"},
          QStringList{"decode", data("layout1.bin"), "--decimal-separator", ",,"}}) {
        const CliRun r = runCli(bad);
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.contains("Usage:"));
    }
    QCOMPARE(runCli({"--help"}).status, 0);
}

QTEST_GUILESS_MAIN(TestCliDecode)
#include "tst_cli_decode.moc"
