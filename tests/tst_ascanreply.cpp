// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/ascanparams.h"

#include <QtTest>

#include <vector>

class TestAScanReply : public QObject
{
    Q_OBJECT

private slots:
    void samplesAndParameters()
    {
        std::vector<std::uint8_t> reply;
        for (int i = 0; i < 240; ++i)
            reply.push_back(std::uint8_t(i == 238 ? 0xC8 : i)); // 200: widened without sign
        // mark1 pos/level, mark2 pos/level, hidden flags, gate start/end/level, ranges x100 (24 bit
        // LE)
        for (int b : {12, 200, 130, 90, 0, 1, 40, 77, 128, 0x10, 0x27, 0x00, 0x40, 0x42, 0x0F})
            reply.push_back(std::uint8_t(b));
        reply.resize(2048, 0x99); // a 2048-byte reply: only 384 are read
        signed short trace[kAScanTraceLength + 1];
        trace[kAScanTraceLength] = -7;
        AScanParams p;
        QVERIFY(parseAScanReply(reply.data(), int(reply.size()), trace, &p));
        QCOMPARE(trace[0], short(0));
        QCOMPARE(trace[127], short(127));
        QCOMPARE(trace[128], short(128));
        QCOMPARE(trace[238], short(200));
        QCOMPARE(trace[kAScanTraceLength], short(-7)); // the 240th sample is not part of the trace
        QCOMPARE(p.mark1Position, 12);
        QCOMPARE(p.mark1Level, 200);
        QCOMPARE(p.mark2Position, 130);
        QCOMPARE(p.mark2Level, 90);
        QVERIFY(p.mark1Shown);
        QVERIFY(!p.mark2Shown);
        QCOMPARE(p.gateStart, 40);
        QCOMPARE(p.gateEnd, 77);
        QCOMPARE(p.gateLevel, 128);
        QCOMPARE(p.rangeStart, 100.0);
        QCOMPARE(p.rangeEnd, 10000.0); // 0x0F4240 = 1,000,000 hundredths

        // Either output may be left out.
        QVERIFY(parseAScanReply(reply.data(), kAScanReplySize, nullptr, &p));
        QVERIFY(parseAScanReply(reply.data(), kAScanReplySize, trace, nullptr));
    }
    void shortReplyIsRejected()
    {
        const std::vector<std::uint8_t> reply(383, 0);
        signed short trace[kAScanTraceLength] = {5};
        AScanParams p;
        p.gateLevel = 9;
        QVERIFY(!parseAScanReply(reply.data(), int(reply.size()), trace, &p));
        QCOMPARE(trace[0], short(5));
        QCOMPARE(p.gateLevel, 9);
        QVERIFY(!parseAScanReply(nullptr, 400, trace, &p));
    }
};

QTEST_APPLESS_MAIN(TestAScanReply)
#include "tst_ascanreply.moc"
