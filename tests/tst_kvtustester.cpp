// SPDX-License-Identifier: GPL-3.0-or-later
// The conversation with the tester over the scripted line: frames byte for byte, the device
// search, the dump start and progress, A-scan requests, and replies that trickle in. Time is
// the line's virtual clock, so nothing here waits.
#include "device/kvtustester.h"
#include "format/ascanparams.h"
#include "scriptedtester.h"

#include <QtTest>

#include <cstring>
#include <string>

namespace
{

using Pace = CScriptedLine::Pace;

std::string frame(int command, const std::string &payload = std::string())
{
    return std::string("KVT M47T") + char(command) + '\0' + char(payload.size()) + payload;
}

std::string filler(int n, int seed)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s.push_back(char(i * 13 + seed));
    return s;
}

const std::string kLayout1Start("ORBEX\x02\x06\x00\x04\x01", 10);

// A tester on COM port that identifies itself and answers the extended probe as given.
void plugTester(int port, const std::string &probeAnswer, const Pace &pace = Pace())
{
    line().replyTo(port, CKVTUSTester::Identify, "Tarn Qellix", pace);
    line().replyTo(port, CKVTUSTester::ProbeExtended, probeAnswer, pace);
}

} // namespace

class TestKVTUSTester : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        line().reset();
        tester.stopTransfer();
        tester.deviceFound = false;
        std::memset(samples, 0x55, sizeof samples);
        count = 0;
    }
    void searchAndStart_data()
    {
        QTest::addColumn<QList<int>>("testers");  // ports with a tester
        QTest::addColumn<QList<int>>("others");   // ports that open but do not answer
        QTest::addColumn<QString>("probeAnswer"); // the first tester's extended answer
        QTest::addColumn<int>("foundOn");         // 0: none
        QTest::addColumn<int>("startCommand");

        QTest::newRow("extended") << QList<int>{2} << QList<int>{} << "Yeah" << 2 << 0x09;
        QTest::newRow("plain") << QList<int>{6} << QList<int>{1} << "Nope" << 6 << 0x06;
        QTest::newRow("the first wins") << QList<int>{3, 7} << QList<int>{} << "Nope" << 3 << 0x06;
        QTest::newRow("no tester") << QList<int>{} << QList<int>{4} << "" << 0 << 0;
    }
    void searchAndStart()
    {
        QFETCH(QList<int>, testers);
        QFETCH(QList<int>, others);
        QFETCH(QString, probeAnswer);
        QFETCH(int, foundOn);
        QFETCH(int, startCommand);
        for (int port : testers)
            plugTester(port, port == testers.first() ? probeAnswer.toStdString() : "Yeah");
        for (int port : others)
            line().plugDevice(port);

        QCOMPARE(tester.findDevice(), foundOn != 0);
        QCOMPARE(tester.portCount, int(testers.size() + others.size()));
        QVERIFY(!tester.busy);
        QCOMPARE(line().portsOpen, 0);
        if (foundOn == 0)
            return;
        QCOMPARE(tester.currentPort->portNumber(), foundOn);
        QCOMPARE(tester.extendedProtocol, probeAnswer == "Yeah");
        QVERIFY(tester.startTransfer());
        QVERIFY(tester.busy);
        // Identify, the extended probe and the dump command, to the found port only.
        const std::vector<std::pair<int, std::string>> sent = {
            {foundOn, std::string("KVT M47T\x01\x00\x00", 11)},
            {foundOn, frame(0x0A)},
            {foundOn, frame(startCommand)}};
        const auto &frames = line().frames;
        QVERIFY(frames.size() >= sent.size());
        QVERIFY(std::equal(sent.begin(), sent.end(), frames.end() - long(sent.size())));
        tester.stopTransfer();
        QCOMPARE(line().portsOpen, 0);
    }
    // Each poll takes one chunk (empty: nothing new came) and gives the bytes accepted and the
    // progress; at the end the dump taken out must be the kept bytes.
    void pollSequence_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QList<int>>("accepted");
        QTest::addColumn<QList<int>>("progress");
        QTest::addColumn<int>("announced");
        QTest::addColumn<QByteArray>("kept");
        QTest::addColumn<int>("missing"); // what the header says is still to come
        QTest::addColumn<bool>("extended");

        const auto row = [](const QByteArray &name, const QList<QByteArray> &chunks,
                            const QList<int> &accepted, const QList<int> &progress, int announced,
                            const QByteArray &kept, int missing, bool extended = false) {
            QTest::newRow(name.constData())
                << chunks << accepted << progress << announced << kept << missing << extended;
        };
        const auto b = [](const std::string &s) { return QByteArray(s.data(), int(s.size())); };
        const QByteArray start = b(m47Header(4) + filler(300, 5));
        row("quiet, nothing announced", {""}, {0}, {100}, 0, {}, 0);
        row("no header: dropped", {b(filler(300, 1))}, {0}, {0}, 0, {}, 0);
        const QList<QByteArray> count2{b(m47Header(2) + filler(289, 7)), "", b(filler(212, 9)),
                                       b(filler(600, 2))};
        row("count 2", count2, {300, 0, 212, 600}, {50, 50, 100, 100}, 2, count2.join(), 0);
        // A step takes at most 2048 bytes; the rest waits for the next.
        const QByteArray big = b(m47Header(0x11) + filler(4400, 6));
        row("2048 a step", {big, "", ""}, {2048, 2048, 315}, {47, 94, 100}, 0x11, big, 0);
        row("header in pieces", {start.left(6), start.mid(6, 4), start.mid(10)}, {0, 0, 311},
            {0, 0, 25}, 4, start, 724);
        row("held start completed wrongly", {"ORBEX", b("M48T" + filler(100, 1))}, {0, 0}, {0, 0},
            0, {}, 0);
        for (int n : {1, 5, 10})
            row("noise burst of " + QByteArray::number(n), {QByteArray(n, char(0xF0)), start},
                {0, 311}, {0, 25}, 4, start, 724);
        row("noise like a header start", {"ORB", start}, {0, 311}, {0, 25}, 4, start, 724);
        const QByteArray layout1 = b(kLayout1Start + '\x02' + filler(300, 3));
        row("layout 1: (11 + 2 x 257) / 256", {layout1}, {311}, {50}, 2, layout1, 214);
        const QByteArray unannounced = b(kLayout1Start + '\x80' + filler(20, 3));
        // Announced: 11 + 4 x 256 = 1035 bytes, of which 311 came; layout 1: 11 + 2 x 257 = 525.
        row("layout 1, count byte -128", {unannounced}, {31}, {100}, 0, unannounced, 0);

        // The extended count covers whole 256-byte units; after them a record is 32 bytes: 296
        // bytes of records are 9 records and 8 bytes of the tenth, 24 to come.
        const QByteArray begun = b(m47Header(1) + filler(296, 4));
        row("extended, a record begun", {begun}, {307}, {100}, 1, begun, 24, true);
        const QByteArray whole = b(m47Header(1) + filler(320, 4));
        row("extended, whole records", {whole}, {331}, {100}, 1, whole, 0, true);
    }
    void pollSequence()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QList<int>, accepted);
        QFETCH(QList<int>, progress);
        QFETCH(int, announced);
        QFETCH(QByteArray, kept);
        QFETCH(int, missing);
        QFETCH(bool, extended);
        plugTester(2, extended ? "Yeah" : "Nope");
        QVERIFY(tester.findDevice());
        QVERIFY(tester.startTransfer());
        for (int i = 0; i < chunks.size(); ++i) {
            line().arrive(chunks[i].toStdString());
            int p = -1;
            QCOMPARE(tester.poll(&p), accepted[i]);
            QCOMPARE(p, progress[i]);
        }
        QCOMPARE(tester.blocksExpected, announced);
        QCOMPARE(tester.bytesStillMissing(), missing);
        tester.stopTransfer();
        line().arrive("late");
        QCOMPARE(tester.poll(nullptr), 0); // a stopped transfer does not read
        std::uint8_t *data = nullptr;
        int size = -1;
        QCOMPARE(tester.takeDump(&data, &size), int(kept.size()));
        QCOMPARE(QByteArray(reinterpret_cast<char *>(data), size), kept);
    }
    // 1692 of 1700 blocks is 99 %, not 100 %.
    void progressIsFloored()
    {
        plugTester(2, "Nope");
        QVERIFY(tester.findDevice());
        QVERIFY(tester.startTransfer());
        tester.blocksReceived = 1692;
        tester.blocksExpected = 1700;
        int p = -1;
        QCOMPARE(tester.poll(&p), 0);
        QCOMPARE(p, 99);
        tester.stopTransfer();
    }
    // Replies at the line rate, in a USB adapter's packets, late or cut short.
    void replies_data()
    {
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("packet");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("cut"); // bytes missing from each reply
        QTest::addColumn<bool>("ok");
        QTest::newRow("one burst") << 0.0 << 64 << 0 << 0 << true;
        QTest::newRow("3840 B/s, byte by byte") << 3840.0 << 1 << 48 << 0 << true;
        QTest::newRow("3840 B/s, 64-byte packets") << 3840.0 << 64 << 0 << 0 << true;
        QTest::newRow("one byte short") << 3840.0 << 1 << 0 << 1 << false;
        QTest::newRow("after the reply window") << 0.0 << 64 << 520 << 0 << false;
    }
    void replies()
    {
        QFETCH(double, rate);
        QFETCH(int, packet);
        QFETCH(int, delayMs);
        QFETCH(int, cut);
        QFETCH(bool, ok);
        const Pace pace{rate, packet, delayMs};
        const std::string identify = std::string("Tarn Qellix").substr(0, 11 - cut);
        line().replyTo(5, CKVTUSTester::Identify, identify + std::string(" 2.07\0\\", 7), pace);
        line().replyTo(5, CKVTUSTester::ProbeExtended, std::string("Yeah").substr(0, 4 - cut),
                       pace);
        QCOMPARE(tester.findDevice(), ok);
        QCOMPARE(tester.extendedProtocol, ok);
        // The whole reply, the bytes after the part compared too.
        QCOMPARE(tester.identification,
                 ok ? QStringLiteral("Tarn Qellix 2.07\\x00\\x5c") : QString());
        QVERIFY(line().now() <= 1000 * 1000 + 100); // two reply windows at most

        tester.deviceFound = true;
        tester.currentPort = &tester.ports[0];
        const std::string reply = filler(240, 3) + filler(144, 101);
        line().replyTo(5, CKVTUSTester::RequestAScan, reply.substr(0, reply.size() - cut), pace);
        AScanParams params;
        QCOMPARE(tester.requestAScan(1, 18, samples, &count, &params), ok);
        QVERIFY(!tester.busy);
        QCOMPARE(line().portsOpen, 0);
        QCOMPARE(count, ok ? 239 : 0);
        if (!ok)
            return;
        for (int i = 0; i < 240; ++i) // widened without sign
            QCOMPARE(samples[i], short(std::uint8_t(reply[std::size_t(i)])));
        QVERIFY(std::memcmp(samples + 240, reply.data() + 240, 144) == 0);
        QCOMPARE(
            params.rangeEnd,
            parseAScanParams(reinterpret_cast<const std::uint8_t *>(reply.data()) + 240).rangeEnd);
    }
    void aScanFrameAndRefusal()
    {
        plugTester(5, "Yeah");
        line().replyTo(5, CKVTUSTester::RequestAScan, filler(2048, 1));
        QVERIFY(tester.findDevice());
        QVERIFY(tester.requestAScan(1, 18, samples, &count, nullptr));
        QCOMPARE(line().frames.back().second,
                 std::string("KVT M47T\x0C\x00\x04\x00\x00\x00\x11", 15));

        // A second exchange while a transfer holds the port is refused without touching it.
        QVERIFY(tester.startTransfer());
        const std::size_t written = line().frames.size();
        QVERIFY(!tester.requestAScan(1, 1, samples, &count, nullptr));
        QVERIFY(!tester.findDevice());
        QCOMPARE(line().frames.size(), written);
        QVERIFY(tester.busy);
        QCOMPARE(line().portsOpen, 1);
        tester.stopTransfer();
    }
    // A run of A-scans at the line's pace: the port opens once (50 ms to settle), and each reply
    // (384 bytes at 3840 B/s, its first byte 4 ms after the request: the 15 request bytes) is taken
    // the moment its last packet is in, 104 ms after the request.
    void aScanSession()
    {
        plugTester(5, "Yeah");
        QVERIFY(tester.findDevice());
        line().settleMs = CCOMPort::kSettleMs;
        line().replyTo(5, CKVTUSTester::RequestAScan, filler(384, 1), {3840, 64, 4});
        const auto fetchTen = [&] {
            const std::int64_t start = line().now();
            for (int cell = 1; cell <= 10; ++cell)
                if (!tester.requestAScan(1, cell, samples, &count, nullptr))
                    return std::int64_t(-1);
            return line().now() - start;
        };
        QCOMPARE(fetchTen(), std::int64_t(10 * (50 + 104)) * 1000); // each request opens the port
        QVERIFY(tester.beginAScans());
        QCOMPARE(fetchTen(), std::int64_t(10 * 104) * 1000);
        QCOMPARE(line().portsOpen, 1);
        tester.endAScans();
        QCOMPARE(line().portsOpen, 0);

        // Leftovers of a longer reply are dropped before the next request.
        QVERIFY(tester.beginAScans());
        line().arrive("late bytes of the last reply");
        QVERIFY(tester.requestAScan(1, 1, samples, &count, nullptr));
        QCOMPARE(samples[0], short(std::uint8_t(filler(1, 1)[0])));

        // A transfer takes the port over: the session's end leaves it open for the transfer.
        QVERIFY(tester.startTransfer());
        tester.endAScans();
        QCOMPARE(line().portsOpen, 1);
        tester.stopTransfer();
        // A search ends the session before it scans.
        QVERIFY(tester.beginAScans());
        QVERIFY(tester.findDevice());
        QCOMPARE(line().portsOpen, 0);
    }

private:
    CKVTUSTester tester;
    signed short samples[240 + 72]; // what the last A-scan request gave
    int count = 0;
};

QTEST_APPLESS_MAIN(TestKVTUSTester)
#include "tst_kvtustester.moc"
