// SPDX-License-Identifier: GPL-3.0-or-later
// The POSIX serial port on real pseudo-terminals linked into a ports folder.
#include "device/comport.h"
#include "heldterminal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <string>
#include <termios.h>

namespace
{

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

} // namespace

class TestComPort : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        CCOMPort::setPortsFolder(folder->path());
    }
    void missingPortsFailWithoutLeak()
    {
        // A link whose terminal has gone, and numbers beyond the device table.
        QVERIFY(QFile::link(folder->filePath("gone"), folder->filePath("COM5")));
        const int before = openDescriptors();
        CCOMPort port;
        for (int n : {5, 129, 200}) {
            port.setPortNumber(n);
            QVERIFY(!port.open(false));
            QVERIFY(!port.open(true));
            QVERIFY(!port.isOpen());
        }
        QCOMPARE(openDescriptors(), before);
    }
    void readAndWrite()
    {
        HeldTerminal terminal(folder->path(), 9, false);
        QVERIFY(terminal.send("\x01\x02\x03")); // stale bytes: opening drops them
        terminal.cook();
        const int before = openDescriptors();
        CCOMPort port;
        CCOMPort other;
        port.setPortNumber(9);
        other.setPortNumber(9);
        QVERIFY(port.open(false));
        QVERIFY(!other.open(true)); // in use: fails at once, as an exclusive open does
        // 38400 baud, 8 data bits, no parity, one stop bit, raw.
        termios t{};
        ::tcgetattr(terminal.master, &t);
        QCOMPARE(cfgetospeed(&t), speed_t(B38400));
        QCOMPARE(t.c_cflag & (CSIZE | PARENB | CSTOPB), tcflag_t(CS8));
        QCOMPARE(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), tcflag_t(0));
        QCOMPARE(t.c_iflag & (IXON | ICRNL), tcflag_t(0));
        QCOMPARE(t.c_oflag & OPOST, tcflag_t(0));
        std::uint8_t buffer[3000];
        QCOMPARE(port.read(buffer, sizeof buffer, 0), 0);

        // Bytes a cooked line would change or swallow go through both ways unchanged.
        const std::string raw("\x0D\x0A\x03\x11\x13\x00\xFF\x7F", 8);
        QVERIFY(terminal.send(QByteArray::fromStdString(raw)));
        QVERIFY(port.waitForInput(500));
        // Only more than minBytes waiting bytes are read, and never more than asked.
        QCOMPARE(port.read(buffer, sizeof buffer, 8), 0);
        QCOMPARE(port.read(buffer, 3, 0), 3);
        QCOMPARE(port.read(buffer + 3, sizeof buffer, 0), 5);
        QCOMPARE(std::string(reinterpret_cast<char *>(buffer), 8), raw);
        QVERIFY(port.write(raw.data(), int(raw.size())));
        QCOMPARE(terminal.unread(1000), QByteArray::fromStdString(raw));
        port.close();
        QVERIFY(!port.write("x", 1)); // not through a stale descriptor
        QCOMPARE(openDescriptors(), before);
    }

private:
    std::unique_ptr<QTemporaryDir> folder;
};

QTEST_APPLESS_MAIN(TestComPort)
#include "tst_comport.moc"
