// SPDX-License-Identifier: GPL-3.0-or-later
// A device search in real time among ports that other programs hold: a console, a port under a
// UUCP lock and one that a program just holds open get no byte and keep their settings, a free
// port that does not answer gets its settings back, and the simulated tester behind them (which
// holds its own line open too) is still found.
#include "device/kvtustester.h"
#include "device/portowners.h"
#include "heldterminal.h"
#include "portsfolder.h"
#include "testerprocess.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>

class TestForeignPorts : public QObject
{
    Q_OBJECT

private slots:
    void searchAmongForeignPorts()
    {
        TestPortsFolder ports;
        QTemporaryDir trees;
        const QString sysfs = trees.filePath(QStringLiteral("sys"));
        const QString locks = trees.filePath(QStringLiteral("lock"));
        QVERIFY(QDir().mkpath(sysfs + QStringLiteral("/class/tty/console")));
        QVERIFY(QDir().mkpath(locks));
        for (int n = 1; n <= 5; ++n)
            QFile::remove(ports.entry(n));

        HeldTerminal console(ports.path(), 1);
        HeldTerminal locked(ports.path(), 2);
        HeldTerminal silent(ports.path(), 3);
        HeldTerminal used(ports.path(), 4);
        QFile active(sysfs + QStringLiteral("/class/tty/console/active"));
        QVERIFY(active.open(QIODevice::WriteOnly));
        active.write("tty0 " + console.slave.mid(5).toLocal8Bit() + '\n');
        active.close();
        // A terminal program that announced one port with a lock file and holds another open
        // without any.
        QProcess holder;
        const QByteArray usedPath = used.slave.toLocal8Bit();
        holder.setChildProcessModifier(
            [usedPath] { ::open(usedPath.constData(), O_RDWR | O_NOCTTY); });
        holder.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        QVERIFY(holder.waitForStarted());
        QFile lock(locks + "/LCK.." + locked.slave.mid(5).replace('/', '_'));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QStringLiteral("%1\n").arg(holder.processId(), 10).toLatin1());
        lock.close();
        CPortOwners::setRoots({sysfs, QStringLiteral("/proc"), QStringLiteral("/dev"), {locks}});
        TesterProcess device(ports.path(), {"--port", "5"});
        QVERIFY(device.linked());
        const termios consoleBefore = console.settings();
        const termios lockedBefore = locked.settings();
        const termios silentBefore = silent.settings();
        const termios usedBefore = used.settings();

        CKVTUSTester tester;
        tester.searchPorts = {1, 2, 3, 4, 5};
        QVERIFY(tester.findDevice());
        QCOMPARE(tester.currentPort->portNumber(), 5);
        QStringList skipped;
        for (const CKVTUSTester::SkippedPort &port : tester.skippedPorts)
            skipped << QStringLiteral("COM%1: %2").arg(port.number).arg(port.reason);
        const qint64 pid = holder.processId();
        QCOMPARE(skipped, QStringList({"COM1: kernel console",
                                       QStringLiteral("COM2: locked by sleep, PID %1").arg(pid),
                                       QStringLiteral("COM4: in use by PID %1 (sleep)").arg(pid)}));
        for (HeldTerminal *held : {&console, &locked, &used})
            QCOMPARE(held->unread(), QByteArray());
        QVERIFY(HeldTerminal::sameSettings(console.settings(), consoleBefore) &&
                HeldTerminal::sameSettings(locked.settings(), lockedBefore) &&
                HeldTerminal::sameSettings(used.settings(), usedBefore));
        // The free port was asked who it is (identify and the extended probe, 22 bytes), then given
        // its settings back.
        QCOMPARE(silent.unread().size(), 22);
        QVERIFY(HeldTerminal::sameSettings(silent.settings(), silentBefore));
        QVERIFY(!QFile::exists(locks + "/LCK.." + silent.slave.mid(5).replace('/', '_')));
        holder.kill();
        holder.waitForFinished();
        CPortOwners::setRoots({});
    }
};

QTEST_GUILESS_MAIN(TestForeignPorts)
#include "tst_foreignports.moc"
