// SPDX-License-Identifier: GPL-3.0-or-later
// collatrix-cli's device commands, and its exit statuses, against collatrix-tester.
#include "heldterminal.h"
#include "portsfolder.h"
#include "testerprocess.h"

#include "pdftools.h"
#include "testfiles.h"

#include <QTcpServer>
#include <QtTest>
#include <memory>

#include <fcntl.h>

class TestCliDevice : public QObject
{
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<QString>("options"); // none when empty
        QTest::addColumn<QString>("args");    // @ is the test's ports folder
        QTest::addColumn<int>("status");
        const QString download =
            "download -o @/r.csv --raw @/r.bin --ports-dir @ --decimal-separator .";
        const QString layout2 = "--layout 2 --groups 3 --cells 50";
        QTest::newRow("layout 2") << layout2 << download << 0;
        QTest::newRow("layout 3, pictures")
            << "--layout 3 --groups 2 --cells 6" << download + " --pictures" << 0;
        // A real line: the dump's tail after a pause, replies that trickle in. The other line
        // faults are the transfer engine's, on the scripted line.
        QTest::newRow("tail 300 ms late, replies at 3840 B/s")
            << layout2 + " --tail-pause 0.3 --reply-rate 3840" << download << 0;
        QTest::newRow("nothing decodes") << "--dump @/empty.bin" << download << 1;
        QTest::newRow("decode, nothing in it") << QString() << "decode @/empty.bin" << 1;
        QTest::newRow("unknown command") << QString() << "frobnicate" << 2;
        QTest::newRow("silent tester") << "--silent" << download << 3;
        QTest::newRow("identify reply cut short") << "--cut-reply identify" << download << 3;
        QTest::newRow("incomplete") << layout2 + " --pause-after 700" << download << 4;
    }

    void run()
    {
        QFETCH(QString, options);
        QFETCH(QString, args);
        QFETCH(int, status);
        TestPortsFolder ports;
        const QString dir = ports.path();
        const QStringList tester = options.split(' ').replaceInStrings("@", dir);
        // Announced as a dump, but nothing in it decodes.
        writeFile(dir + "/empty.bin", QByteArray("ORBEXM47T\0\1", 11) + QByteArray(256, '\0'));
        std::unique_ptr<TesterProcess> device;
        if (!options.isEmpty()) {
            device = std::make_unique<TesterProcess>(dir, tester + QStringList{"--rate", "8000"});
            QVERIFY(device->linked());
        }
        const CliRun run = runCli(args.split(' ').replaceInStrings("@", dir));
        QCOMPARE(run.status, status);
        // Incomplete data is written as far as it came.
        QCOMPARE(fileBytes(dir + "/r.csv").count("\r\n") > 10, status == 0 || status == 4);
        if (status == 0) {
            // The raw dump is the tester's memory, and the CSV what decode makes of it.
            QCOMPARE(fileBytes(dir + "/r.bin"), TesterProcess::memory(tester));
            const QStringList decode{"decode", dir + "/r.bin", "--decimal-separator", ".",
                                     "--extended"};
            QCOMPARE(fileBytes(dir + "/r.csv"),
                     runCli(decode.mid(0, tester.at(1) == "3" ? 5 : 4)).out);
            checkKept(dir, QString::fromLocal8Bit(run.out.trimmed()), args.contains("--pictures"));
        }
    }

    // A port under a terminal program's UUCP lock, and one it just holds open, are listed with
    // their holder and left alone.
    void portsListing()
    {
        if (!QFileInfo(QStringLiteral("/run/lock")).isWritable())
            QSKIP("/run/lock cannot be written here");
        TestPortsFolder ports;
        QFile::remove(ports.entry(2));
        QFile::remove(ports.entry(3));
        QFile::remove(ports.entry(4));
        HeldTerminal locked(ports.path(), 2);
        HeldTerminal used(ports.path(), 4);
        QProcess holder;
        const QByteArray usedPath = used.slave.toLocal8Bit();
        holder.setChildProcessModifier(
            [usedPath] { ::open(usedPath.constData(), O_RDWR | O_NOCTTY); });
        holder.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        QVERIFY(holder.waitForStarted());
        const qint64 pid = holder.processId();
        const QString lock = "/run/lock/LCK.." + locked.slave.mid(5).replace('/', '_');
        writeFile(lock, QStringLiteral("%1\n").arg(pid, 10).toLatin1());
        TesterProcess device(ports.path(), {"--port", "3"});
        QVERIFY(device.linked());
        const termios before = locked.settings();
        const termios usedBefore = used.settings();
        const CliRun run = runCli({"ports", "--ports-dir", ports.path()});
        QFile::remove(lock);
        holder.kill();
        holder.waitForFinished();
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QStringLiteral("COM2 skipped: locked by sleep, PID %1\nCOM3\n"
                                         "COM4 skipped: in use by PID %1 (sleep)\n")
                              .arg(pid)
                              .toLatin1());
        QCOMPARE(locked.unread(), QByteArray());
        QCOMPARE(used.unread(), QByteArray());
        QVERIFY(HeldTerminal::sameSettings(locked.settings(), before));
        QVERIFY(HeldTerminal::sameSettings(used.settings(), usedBefore));
    }

    // A results file that cannot be written and a shared archive that takes the connection and
    // never answers: the download is kept all the same, its path printed, and it waits for the
    // shared archive in the embedded one; the command says both and exits 1.
    void keptDespiteSilentServerAndLostFolder()
    {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        TestPortsFolder ports;
        const QString dir = ports.path();
        TesterProcess device(dir,
                             {"--layout", "2", "--groups", "2", "--cells", "20", "--rate", "8000"});
        QVERIFY(device.linked());
        const QString archive =
            "postgresql://collatrix@127.0.0.1:" + QString::number(silent.serverPort()) +
            "/x?connect_timeout=1";
        const QString csv = dir + "/gone/r.csv";
        // The download that waits is this test's alone: no other test's archive takes it in.
        const QByteArray home = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir.toLocal8Bit());
        const CliRun run =
            runCli({"download", "-o", csv, "--ports-dir", dir, "--archive", archive});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("cannot write " + csv.toUtf8() + ": No such file or directory") &&
                     run.err.contains("shared archive cannot take the download now"),
                 run.err.constData());
        const QString kept = QString::fromLocal8Bit(run.out.trimmed());
        QVERIFY2(QFileInfo::exists(kept) && runCli({"archive", "list"}).out.contains(kept.toUtf8()),
                 run.out.constData());
        qputenv("XDG_DATA_HOME", home);
    }

private:
    // The download was kept (its path on standard output); exporting the kept file gives the
    // same CSV and the same pictures, and with --pictures it holds every A-scan the rows mark.
    static void checkKept(const QString &dir, const QString &path, bool pictures)
    {
        QVERIFY2(path.startsWith(qEnvironmentVariable("XDG_DATA_HOME") + "/collatrix/downloads/"),
                 qPrintable(path));
        const QList<QByteArray> listed = runCli({"kept"}).out.split('\n');
        const auto line =
            std::find_if(listed.cbegin(), listed.cend(),
                         [&path](const QByteArray &l) { return l.endsWith(path.toLocal8Bit()); });
        QVERIFY(line != listed.cend() && line->contains(" completed "));
        const CliRun run =
            runCli({"export", path, "-o", dir + "/e.csv", "--decimal-separator", "."});
        QCOMPARE(run.status, 0);
        QCOMPARE(fileBytes(dir + "/e.csv"), fileBytes(dir + "/r.csv"));
        QCOMPARE(folderFiles(dir + "/e"), folderFiles(dir + "/r"));
        QCOMPARE(folderFiles(dir + "/r").size() > 0, pictures);
        if (popplerThere()) {
            QCOMPARE(runCli({"report", path, "-o", dir + "/r.pdf"}).status, 0);
            QCOMPARE(pdfImages(dir + "/r.pdf"), folderFiles(dir + "/r").size());
        }
    }
};

QTEST_GUILESS_MAIN(TestCliDevice)
#include "tst_cli_device.moc"
