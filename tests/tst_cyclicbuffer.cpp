// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/cyclicbuffer.h"

#include <QtTest>

#include <cstring>

class TestCyclicBuffer : public QObject
{
    Q_OBJECT

private slots:
    void keepsOneByteFreeAndWraps()
    {
        KCyclicBuffer b;
        b.init(nullptr, 8);
        QCOMPARE(b.write("0123456789", 10), 7);
        char out[16] = {};
        QCOMPARE(b.read(out, 4), 4);
        QCOMPARE(QByteArray(out, 4), QByteArray("0123"));
        // Read at 4, write at 7: one byte fits up to the end, three go to the start.
        QCOMPARE(b.write("ABCDE", 5), 4);
        QCOMPARE(b.used(), 7);
        QCOMPARE(b.read(out, 16), 7);
        QCOMPARE(QByteArray(out, 7), QByteArray("456ABCD"));
        QCOMPARE(b.read(out, 1), 0);

        // Uneven chunks, wrapping at every position, come out unchanged.
        QByteArray sent, received;
        for (int round = 0; round < 50; ++round) {
            const QByteArray chunk = QByteArray::number(round * 7919 + 100000).left(1 + round % 6);
            QCOMPARE(b.write(chunk.constData(), int(chunk.size())), int(chunk.size()));
            sent += chunk;
            received += QByteArray(out, b.read(out, 3));
            received += QByteArray(out, b.read(out, 8));
        }
        QCOMPARE(received, sent);
    }
    void callerStorageReservesControlBlock()
    {
        unsigned char block[1 + 16 + 8 + 4];
        std::memset(block, 0xEE, sizeof block);
        KCyclicBuffer b;
        b.init(block + 1, 16 + 8); // deliberately misaligned
        QCOMPARE(b.capacity(), 8);
        QCOMPARE(b.write("wxyz123456", 10), 7);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(block) + 17, 7), QByteArray("wxyz123"));
        QCOMPARE(block[0], 0xEE);
        for (int i = 25; i < int(sizeof block); ++i)
            QCOMPARE(block[i], 0xEE); // nothing written beyond the caller's block
        b.init(block, 16);
        QCOMPARE(b.write("a", 1), 0);
    }
};

QTEST_APPLESS_MAIN(TestCyclicBuffer)
#include "tst_cyclicbuffer.moc"
