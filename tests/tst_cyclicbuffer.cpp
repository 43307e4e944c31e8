#include "device/cyclicbuffer.h"

#include <QtTest>

#include <cstring>
#include <numeric>

class TestCyclicBuffer : public QObject
{
    Q_OBJECT

private slots:
    void ownStorageKeepsOneByteFree();
    void wrapAroundInOrder();
    void callerStorageReservesControlBlock();
    void clearAndReinit();
};

void TestCyclicBuffer::ownStorageKeepsOneByteFree()
{
    KCyclicBuffer b;
    b.init(nullptr, 8);
    QCOMPARE(b.capacity(), 8);
    QCOMPARE(b.used(), 0);
    char in[10];
    std::iota(in, in + 10, 'a');
    QCOMPARE(b.write(in, 10), 7);
    QCOMPARE(b.used(), 7);
    QCOMPARE(b.write(in, 1), 0);
    char out[10] = {};
    QCOMPARE(b.read(out, 10), 7);
    QCOMPARE(QByteArray(out, 7), QByteArray("abcdefg"));
    QCOMPARE(b.read(out, 1), 0);
}

void TestCyclicBuffer::wrapAroundInOrder()
{
    KCyclicBuffer b;
    b.init(nullptr, 8);
    QCOMPARE(b.write("012345", 6), 6);
    char out[8] = {};
    QCOMPARE(b.read(out, 4), 4);
    QCOMPARE(QByteArray(out, 4), QByteArray("0123"));
    // Read at 4, write at 6: two bytes fit up to the end, three go to the start.
    QCOMPARE(b.write("ABCDE", 5), 5);
    QCOMPARE(b.used(), 7);
    QCOMPARE(b.write("Z", 1), 0);
    // Asking for more than is stored returns exactly what is stored, across the end.
    char all[16] = {};
    QCOMPARE(b.read(all, 16), 7);
    QCOMPARE(QByteArray(all, 7), QByteArray("45ABCDE"));
    QCOMPARE(b.used(), 0);

    // Many rounds of uneven chunks, wrapping at every position, come out unchanged.
    QByteArray sent, received;
    for (int round = 0; round < 50; ++round) {
        const QByteArray chunk = QByteArray::number(round * 7919 + 100000).left(1 + round % 6);
        QCOMPARE(b.write(chunk.constData(), int(chunk.size())), int(chunk.size()));
        sent += chunk;
        char buf[8];
        received += QByteArray(buf, b.read(buf, 3));
        received += QByteArray(buf, b.read(buf, 8));
    }
    QCOMPARE(received, sent);
}

void TestCyclicBuffer::callerStorageReservesControlBlock()
{
    unsigned char block[1 + 16 + 8 + 4];
    std::memset(block, 0xEE, sizeof block);
    KCyclicBuffer b;
    b.init(block + 1, 16 + 8); // deliberately misaligned
    QCOMPARE(b.capacity(), 8);
    QCOMPARE(b.write("wxyz", 4), 4);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(block) + 17, 4), QByteArray("wxyz"));
    QCOMPARE(b.write("123456", 6), 3);
    QCOMPARE(block[0], 0xEE);
    for (int i = 25; i < int(sizeof block); ++i)
        QCOMPARE(block[i], 0xEE); // nothing written beyond the caller's block

    KCyclicBuffer tiny;
    tiny.init(block, 16);
    QCOMPARE(tiny.capacity(), 0);
    QCOMPARE(tiny.write("a", 1), 0);
    QCOMPARE(tiny.used(), 0);
}

void TestCyclicBuffer::clearAndReinit()
{
    unsigned char block[16 + 8];
    KCyclicBuffer b;
    b.init(block, sizeof block);
    b.write("abcde", 5);
    b.clear();
    QCOMPARE(b.used(), 0);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(block) + 16, 5), QByteArray("abcde"));
    // Re-initialising with own storage gives the new capacity and forgets the old block.
    b.init(nullptr, 2500000);
    QCOMPARE(b.capacity(), 2500000);
    QByteArray big(2600000, 'x');
    QCOMPARE(b.write(big.constData(), int(big.size())), 2499999);
}

QTEST_APPLESS_MAIN(TestCyclicBuffer)
#include "tst_cyclicbuffer.moc"
