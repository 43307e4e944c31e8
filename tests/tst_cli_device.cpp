// collatrix-cli's device commands against collatrix-tester on pseudo-terminals.
#include "portsfolder.h"
#include "testerprocess.h"

#include "testfiles.h"

#include <QtTest>

namespace
{

} // namespace

class TestCliDevice : public QObject
{
    Q_OBJECT

private slots:
    void portsAndFind();
    void downloadMatchesDecode_data();
    void downloadMatchesDecode();
    void downloadFailures();
};

void TestCliDevice::portsAndFind()
{
    TestPortsFolder ports;
    const QStringList dir{"--ports-dir", ports.path()};
    QCOMPARE(runCli(QStringList{"ports"} + dir).out, QByteArray());
    const CliRun none = runCli(QStringList{"find"} + dir);
    QCOMPARE(none.status, 3);
    QVERIFY(none.err.contains("no tester"));

    TesterProcess seven(ports.path(), {"--port", "7", "--layout", "2"});
    TesterProcess three(ports.path(), {"--port", "3", "--layout", "3"});
    QVERIFY(seven.linked() && three.linked());
    QCOMPARE(runCli(QStringList{"ports"} + dir).out, QByteArray("COM3\nCOM7\n"));
    const CliRun found = runCli(QStringList{"find"} + dir);
    QCOMPARE(found.status, 0);
    QCOMPARE(found.out, QByteArray("COM3 extended\n")); // the search stops at the first tester
    three.stop();
    QCOMPARE(runCli(QStringList{"find"} + dir).out, QByteArray("COM7 standard\n"));
}

void TestCliDevice::downloadMatchesDecode_data()
{
    QTest::addColumn<QStringList>("memory");
    QTest::addColumn<QStringList>("line"); // how the line behaves
    QTest::addColumn<QStringList>("decodeOptions");
    const QStringList layout2{"--layout", "2", "--groups", "3", "--cells", "50"};
    QTest::newRow("layout 1") << QStringList{"--layout", "1", "--groups", "2", "--cells", "40"}
                              << QStringList() << QStringList();
    QTest::newRow("layout 2") << layout2 << QStringList() << QStringList();
    QTest::newRow("layout 3") << QStringList{"--layout", "3", "--groups", "3", "--cells", "20"}
                              << QStringList() << QStringList{"--extended"};
    // A real 38400-baud line: noise before the dump, replies that trickle in, a late tail.
    QTest::newRow("noise burst") << layout2 << QStringList{"--noise", "5"} << QStringList();
    QTest::newRow("replies at 3840 B/s")
        << layout2 << QStringList{"--reply-rate", "3840"} << QStringList();
    QTest::newRow("tail 10 ms late")
        << layout2 << QStringList{"--tail-pause", "0.01"} << QStringList();
}

void TestCliDevice::downloadMatchesDecode()
{
    QFETCH(QStringList, memory);
    QFETCH(QStringList, line);
    QFETCH(QStringList, decodeOptions);
    TestPortsFolder ports;
    TesterProcess tester(ports.path(), memory + line + QStringList{"--rate", "8000"});
    QVERIFY(tester.linked());
    QTemporaryDir out;
    const QString csv = out.filePath(QStringLiteral("results.csv"));
    const QString raw = out.filePath(QStringLiteral("dump.bin"));
    const CliRun download = runCli({"download", "-o", csv, "--raw", raw, "--ports-dir",
                                    ports.path(), "--decimal-separator", "."});
    QCOMPARE(download.status, 0);
    QVERIFY(download.err.contains("results written to"));
    QCOMPARE(fileBytes(raw), TesterProcess::memory(memory));
    const CliRun decoded =
        runCli(QStringList{"decode", raw, "--decimal-separator", "."} + decodeOptions);
    QCOMPARE(decoded.status, 0);
    QCOMPARE(fileBytes(csv), decoded.out);
}

void TestCliDevice::downloadFailures()
{
    TestPortsFolder ports;
    QTemporaryDir out;
    const QString csv = out.filePath(QStringLiteral("r.csv"));
    const QStringList args{"download", "-o", csv, "--ports-dir", ports.path()};
    QCOMPARE(runCli(args).status, 3);
    QCOMPARE(runCli({"download", "--ports-dir", ports.path()}).status, 2);
    {
        TesterProcess paused(ports.path(), {"--layout", "2", "--groups", "4", "--cells", "40",
                                            "--rate", "8000", "--pause-after", "700"});
        QVERIFY(paused.linked());
        const CliRun r = runCli(args);
        QCOMPARE(r.status, 4);
        QVERIFY(r.err.contains("incomplete"));
        QVERIFY(fileBytes(csv).count("\r\n") > 10); // what came is kept
    }
    {
        // Garbage announced as a dump: nothing decodes.
        QByteArray dump("ORBEXM47T\x00\x01", 11);
        dump += QByteArray(256, '\0');
        const QString file = out.filePath(QStringLiteral("empty.bin"));
        QVERIFY(writeFile(file, dump));
        TesterProcess empty(ports.path(), {"--dump", file});
        QVERIFY(empty.linked());
        const CliRun r = runCli(args);
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("failed"));
    }
}

QTEST_GUILESS_MAIN(TestCliDevice)
#include "tst_cli_device.moc"
