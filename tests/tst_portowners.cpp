// SPDX-License-Identifier: GPL-3.0-or-later
// Ports that belong to other programs, on real pseudo-terminals with fake sysfs, proc and lock
// trees: each is refused before anything is set, and a port we take is given back as found.
#include "device/comport.h"
#include "device/portowners.h"
#include "heldterminal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace
{

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The kernel's tty_nr of a device number: minor bits 0-7 and 20-31, major bits 8-19.
unsigned ttyNr(dev_t device)
{
    return (major(device) << 8) | (minor(device) & 0xff) | ((minor(device) & ~0xffu) << 12);
}

} // namespace

class TestPortOwners : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        root = std::make_unique<QTemporaryDir>();
        QDir().mkpath(ports());
        QDir().mkpath(locks());
        writeFile(sysfs() + QStringLiteral("/class/tty/console/active"), "tty0\n");
        addProcess(int(::getpid()), "tst_portowners");
        addProcess(1, "init");
        CPortOwners::setRoots({sysfs(), proc(), QStringLiteral("/dev"), {locks()}});
        CCOMPort::setPortsFolder(ports());
    }
    void cleanup()
    {
        CPortOwners::setRoots({});
        CCOMPort::setPortsFolder(QString());
    }
    // A program that holds the port open (a GPS daemon, a terminal program) shows in its
    // descriptors in /proc; the program at the master side of the line is its device end.
    void owners_data()
    {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("reason"); // empty: the port is ours to use
        // clang-format off
        QTest::newRow("kernel console") << "console" << "kernel console";
        QTest::newRow("login on the line") << "session" << "in use by PID 4242 (agetty)";
        QTest::newRow("a name with blanks and parentheses")
            << "odd session" << "in use by PID 4242 (my (odd) getty)";
        QTest::newRow("UUCP lock of a live process") << "lock" << "locked by minicom, PID 4243";
        QTest::newRow("binary UUCP lock") << "binary lock" << "locked by minicom, PID 4243";
        QTest::newRow("exclusive mode") << "exclusive" << "in exclusive use by another program";
        QTest::newRow("flock elsewhere") << "flock" << "locked by another program (flock)";
        QTest::newRow("held by a daemon") << "held" << "in use by PID 4250 (gpsd)";
        QTest::newRow("a daemon at another line's master") << "held, other master"
                                                           << "in use by PID 4250 (gpsd)";
        QTest::newRow("held by this program") << "held by us" << "";
        QTest::newRow("descriptors we may not read") << "unreadable" << "";
        QTest::newRow("the device end of the line") << "held, device end" << "";
        // clang-format on
    }
    void owners()
    {
        QFETCH(QString, owner);
        QFETCH(QString, reason);
        HeldTerminal terminal(ports(), 1);
        HeldTerminal second(ports(), 2);
        QString name = terminal.slave.mid(5); // below /dev
        if (owner == "console")
            writeFile(sysfs() + QStringLiteral("/class/tty/console/active"),
                      "tty0 " + name.toLocal8Bit() + '\n');
        if (owner == "session")
            addProcess(4242, "agetty", ttyNr(terminal.device()));
        if (owner == "odd session")
            addProcess(4242, "my (odd) getty", ttyNr(terminal.device()));
        if (owner.endsWith("lock") && owner != "flock") {
            addProcess(4243, "minicom");
            const int pid = 4243;
            writeFile(locks() + "/LCK.." + QString(name).replace('/', '_'),
                      owner == "lock"
                          ? QByteArray("      4243\n")
                          : QByteArray(reinterpret_cast<const char *>(&pid), sizeof pid));
        }
        const int holder = owner == "held by us" ? int(::getpid()) : 4250;
        if (owner.startsWith("held") || owner == "unreadable")
            addProcess(4250, "gpsd");
        if (owner == "unreadable") // as another user's fd folder is to us
            writeFile(proc() + "/4250/fd", QByteArray());
        if (owner.startsWith("held"))
            holdOpen(holder, 5, terminal.slave);
        if (owner.startsWith("held, "))
            holdMaster(holder, 4, (owner.endsWith("master") ? second : terminal).slave);
        const int other = ::open(qPrintable(terminal.slave), O_RDWR | O_NOCTTY);
        if (owner == "exclusive")
            ::ioctl(other, TIOCEXCL);
        if (owner == "flock")
            QCOMPARE(::flock(other, LOCK_EX | LOCK_NB), 0);
        const termios before = terminal.settings();

        CCOMPort port;
        port.setPortNumber(1);
        QCOMPARE(port.open(true), reason.isEmpty());
        QCOMPARE(port.refusal(), reason);
        port.close();
        QVERIFY(HeldTerminal::sameSettings(terminal.settings(), before));
        QCOMPARE(terminal.exclusive(), owner == "exclusive");
        ::close(other);
    }
    // A search keeps one look at the processes for all its ports; the next search looks again.
    void oneLookPerSearch()
    {
        HeldTerminal terminal(ports(), 1);
        std::shared_ptr<const void> search = CCOMPort::surveyOwners();
        addProcess(4250, "gpsd");
        holdOpen(4250, 5, terminal.slave);
        CCOMPort port;
        port.setPortNumber(1);
        QVERIFY(port.open(true));
        port.close();
        search.reset();
        QVERIFY(!port.open(true));
        QCOMPARE(port.refusal(), QStringLiteral("in use by PID 4250 (gpsd)"));
    }
    // A free port, with a stale lock file of a process that is gone: while we hold it, our lock
    // file and exclusive mode tell others; afterwards its settings are back and nothing is left.
    void takenAndGivenBack()
    {
        HeldTerminal terminal(ports(), 1);
        const QString lock = locks() + "/LCK.." + terminal.slave.mid(5).replace('/', '_');
        writeFile(lock, "      4244\n");
        const termios before = terminal.settings();

        CCOMPort port;
        port.setPortNumber(1);
        QVERIFY(port.open(false));
        QVERIFY(port.refusal().isEmpty());
        QFile ours(lock);
        QVERIFY(ours.open(QIODevice::ReadOnly));
        QCOMPARE(ours.readAll(), QStringLiteral("%1\n").arg(::getpid(), 10).toLatin1());
        QVERIFY(terminal.exclusive());
        QCOMPARE(terminal.speed(), speed_t(B38400));
        CCOMPort second;
        second.setPortNumber(1);
        QVERIFY(!second.open(true));
        QCOMPARE(second.refusal(),
                 QStringLiteral("locked by tst_portowners, PID %1").arg(::getpid()));
        port.close();
        QVERIFY(HeldTerminal::sameSettings(terminal.settings(), before));
        QVERIFY(!terminal.exclusive());
        QVERIFY(!QFile::exists(lock));

        // The tester's line keeps what we set.
        QVERIFY(port.open(false));
        port.markAsTester();
        port.close();
        QCOMPARE(terminal.speed(), speed_t(B38400));
    }
    void lockNames_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("name");
        // clang-format off
        QTest::newRow("USB adapter") << "/dev/ttyUSB0" << "LCK..ttyUSB0";
        QTest::newRow("pseudo-terminal") << "/dev/pts/3" << "LCK..pts_3";
        QTest::newRow("outside /dev") << "/tmp/ports/ttyFAKE" << "LCK..ttyFAKE";
        // clang-format on
    }
    void lockNames()
    {
        QFETCH(QString, device);
        QFETCH(QString, name);
        QCOMPARE(CPortOwners::lockName(device), name);
    }

private:
    QString sysfs() const { return root->filePath(QStringLiteral("sys")); }
    QString proc() const { return root->filePath(QStringLiteral("proc")); }
    QString locks() const { return root->filePath(QStringLiteral("lock")); }
    QString ports() const { return root->filePath(QStringLiteral("ports")); }
    void addProcess(int pid, const QByteArray &name, unsigned tty = 0)
    {
        const QString folder = proc() + '/' + QString::number(pid);
        writeFile(folder + QStringLiteral("/comm"), name + '\n');
        writeFile(folder + QStringLiteral("/stat"),
                  QByteArray::number(pid) + " (" + name + ") S 1 " + QByteArray::number(pid) + ' ' +
                      QByteArray::number(pid) + ' ' + QByteArray::number(tty) + " -1 4194560 0\n");
    }

    // The descriptor fd of the process, a link to the device as in /proc.
    void holdOpen(int pid, int fd, const QString &device)
    {
        const QString folder = proc() + '/' + QString::number(pid) + QStringLiteral("/fd");
        QDir().mkpath(folder);
        QVERIFY(QFile::link(device, folder + '/' + QString::number(fd)));
    }
    // The master side of the pseudo-terminal whose slave is given, with the fdinfo that pairs them.
    void holdMaster(int pid, int fd, const QString &slave)
    {
        holdOpen(pid, fd, QStringLiteral("/dev/ptmx"));
        writeFile(proc() + '/' + QString::number(pid) + "/fdinfo/" + QString::number(fd),
                  "pos:\t0\nflags:\t02004002\nmnt_id:\t24\ntty-index:\t" + slave.mid(9).toLatin1() +
                      '\n');
    }

    std::unique_ptr<QTemporaryDir> root;
};

QTEST_GUILESS_MAIN(TestPortOwners)
#include "tst_portowners.moc"
