#include "device/comport.h"
#include "ptypeer.h"
#include "testbytes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <memory>

namespace
{

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

Bytes pattern(int n, int seed)
{
    Bytes b;
    for (int i = 0; i < n; ++i)
        b.push_back(std::uint8_t(i * 37 + seed));
    return b;
}

} // namespace

class TestComPort : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void closedPort();
    void missingPortFailsWithoutLeak();
    void portInUseElsewhereFails();
    void readTakesOnlyWhatIsQueued();
    void waitForInputPolls();
    void writeReachesTheLine();
    void sleepBlocks();

private:
    std::unique_ptr<QTemporaryDir> folder;
};

void TestComPort::init()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    CCOMPort::setPortsFolder(folder->path());
}

void TestComPort::cleanup()
{
    CCOMPort::setPortsFolder(QString());
    folder.reset();
}

void TestComPort::closedPort()
{
    CCOMPort port;
    QCOMPARE(port.deviceName(), "\\\\.\\COM1");
    port.setPortNumber(12);
    QCOMPARE(port.deviceName(), "\\\\.\\COM12");
    port.close();
    QVERIFY(!port.isOpen());
    char buffer[16];
    QCOMPARE(port.read(buffer, sizeof buffer, 0), 0);
    QVERIFY(!port.write("x", 1));
}

void TestComPort::missingPortFailsWithoutLeak()
{
    // A link whose pseudo-terminal has gone, and a number beyond the device table.
    QVERIFY(QFile::link(folder->filePath(QStringLiteral("gone")),
                        folder->filePath(QStringLiteral("COM5"))));
    const int before = openDescriptors();
    CCOMPort port;
    for (int n : {5, 129, 200}) {
        port.setPortNumber(n);
        QElapsedTimer timer;
        timer.start();
        QVERIFY2(!port.open(false), qPrintable(QString::number(n)));
        QVERIFY(!port.open(true));
        QVERIFY(!port.isOpen());
        QVERIFY(timer.elapsed() < 40); // no settle time for a port that never opened
    }
    QCOMPARE(openDescriptors(), before);
}

void TestComPort::portInUseElsewhereFails()
{
    PtyPeer peer(folder->path(), 4);
    QVERIFY(peer.isValid());
    const int before = openDescriptors();
    CCOMPort first;
    CCOMPort second;
    first.setPortNumber(4);
    second.setPortNumber(4);
    QVERIFY(first.open(false));
    QVERIFY(!second.open(false));
    QVERIFY(!second.open(true));
    QVERIFY(!second.isOpen());
    first.close();
    QVERIFY(second.open(true));
    QVERIFY(!first.open(false));
    second.close();
    QCOMPARE(openDescriptors(), before);
}

void TestComPort::readTakesOnlyWhatIsQueued()
{
    PtyPeer peer(folder->path(), 9);
    QVERIFY(peer.isValid());
    peer.send(bytes({1, 2, 3})); // stale bytes: opening flushes them
    sleepMs(100);
    CCOMPort port;
    port.setPortNumber(9);
    QVERIFY(port.open(false));

    std::uint8_t buffer[3000];
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(port.read(buffer, sizeof buffer, 0), 0);

    const Bytes sent = pattern(100, 5);
    peer.send(sent);
    sleepMs(100);
    timer.restart();
    QCOMPARE(port.read(buffer, sizeof buffer, 0), 100);
    QVERIFY(timer.elapsed() < 40);
    QCOMPARE(Bytes(buffer, buffer + 100), sent);

    // Only more than minBytes waiting bytes are read, and never more than asked.
    const Bytes more = pattern(10, 9);
    peer.send(more);
    sleepMs(100);
    QCOMPARE(port.read(buffer, sizeof buffer, 10), 0);
    QCOMPARE(port.read(buffer, 4, 0), 4);
    QCOMPARE(port.read(buffer, sizeof buffer, 0), 6);
    QCOMPARE(Bytes(buffer, buffer + 6), Bytes(more.begin() + 4, more.end()));
}

void TestComPort::waitForInputPolls()
{
    PtyPeer peer(folder->path(), 2);
    QVERIFY(peer.isValid());
    CCOMPort port;
    port.setPortNumber(2);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!port.waitForInput(100)); // closed
    QVERIFY(port.open(false));

    timer.restart();
    QVERIFY(!port.waitForInput(0));
    QVERIFY(!port.waitForInput(-5));
    QVERIFY(timer.elapsed() < 40);

    timer.restart();
    QVERIFY(!port.waitForInput(500));
    const qint64 waited = timer.elapsed();
    QVERIFY2(waited >= 450 && waited < 3000, qPrintable(QString::number(waited)));

    // A waiting byte is seen by the first test, before any sleep.
    peer.send(bytes({0x42}));
    sleepMs(100);
    timer.restart();
    QVERIFY(port.waitForInput(500));
    QVERIFY(timer.elapsed() < 40);
}

void TestComPort::writeReachesTheLine()
{
    PtyPeer peer(folder->path(), 3);
    QVERIFY(peer.isValid());
    CCOMPort port;
    port.setPortNumber(3);
    for (bool overlapped : {false, true}) {
        QVERIFY(port.open(overlapped));
        // Bytes that a cooked line would change or swallow.
        const Bytes frame = bytes({0x0D, 0x0A, 0x03, 0x11, 0x13, 0x00, 0xFF, 0x7F});
        QVERIFY(port.write(frame.data(), int(frame.size())));
        sleepMs(100);
        QCOMPARE(peer.received(), overlapped ? frame + frame : frame);
        port.close();
    }
    QVERIFY(!port.write("x", 1)); // not through a stale descriptor
}

void TestComPort::sleepBlocks()
{
    QElapsedTimer timer;
    timer.start();
    QVERIFY(sleepMs(120));
    QVERIFY(timer.elapsed() >= 115);
    timer.restart();
    QVERIFY(sleepMs(0));
    QVERIFY(sleepMs(-3));
    QVERIFY(timer.elapsed() < 40);
}

QTEST_APPLESS_MAIN(TestComPort)
#include "tst_comport.moc"
