// SPDX-License-Identifier: GPL-3.0-or-later
// The window over the scripted line: what happens when the user or the system acts between two
// rows of the A-scan prefetch. The line's clock is virtual, so the outcome message and the
// device's replies cost no real time; only the window's own 500 ms timer runs in real time.
#include "app/devicewatcher.h"
#include "app/mainwindow.h"
#include "device/kvtustester.h"
#include "modaldriver.h"
#include "scriptedtester.h"

#include "programfolder.h"
#include <QTableWidget>
#include <QToolButton>

#include <QtTest>

#include <string>

namespace
{

constexpr int kPort = 3;
constexpr int kRows = 8;

// Layout 3: eight readings of group 1, each with its A-scan; one 256-byte block announced.
std::string dump()
{
    std::string d = m47Header(1);
    for (int cell = 1; cell <= kRows; ++cell) {
        std::string r(32, '\0');
        r[0] = 1, r[2] = char(cell), r[4] = char(100 + cell), r[15] = 1;
        d += r;
    }
    return d;
}

int aScanRequests()
{
    int n = 0;
    for (const auto &frame : line().frames)
        n += frame.second.size() > 8 && frame.second[8] == CKVTUSTester::RequestAScan;
    return n;
}

} // namespace

class TestWindowLine : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        line().reset();
        line().replyTo(kPort, CKVTUSTester::Identify, "Tarn Qellix");
        line().replyTo(kPort, CKVTUSTester::ProbeExtended, "Yeah");
        line().replyTo(kPort, CKVTUSTester::StartExtendedDump, dump());
        line().replyTo(kPort, CKVTUSTester::RequestAScan, std::string(384, '\x20'));
    }
    void eventBetweenPrefetchRows_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<int>("requests");  // A-scan requests in all
        QTest::addColumn<bool>("transfer"); // the Transfer button is enabled at the end
        // The new transfer replaces the rows; its own prefetch fetches them all.
        QTest::newRow("Transfer pressed, old results dropped") << "transfer" << 1 + kRows << true;
        QTest::newRow("device change, tester still there") << "change" << kRows << true;
        QTest::newRow("device change, tester gone") << "gone" << 1 << false;
        QTest::newRow("window closed") << "close" << 1 << true;
    }
    void eventBetweenPrefetchRows()
    {
        QFETCH(QString, event);
        QFETCH(int, requests);
        QFETCH(bool, transfer);
        MainWindow w;
        w.setTransferMessageDuration(0);
        w.setTransferTickDuration(1);
        w.show();
        auto *transferButton = child<QToolButton>(w, "trnsfrDataButton");
        QVERIFY(transferButton->isEnabled());

        QTimer between;
        bool done = false;
        connect(&between, &QTimer::timeout, this, [&]() {
            if (done || aScanRequests() < 1)
                return;
            done = true;
            between.stop();
            if (event == "transfer" || event == "close")
                clickNextMessageBox(QMessageBox::No);
            if (event == "gone")
                line().unplugDevice(kPort);
            if (event == "transfer")
                transferButton->click();
            else if (event == "close")
                w.close();
            else
                emit w.findChild<CDeviceWatcher *>()->devicesChanged();
        });
        between.start(0);
        transferButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(done, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(aScanRequests(), requests, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(line().portsOpen, 0, 5000);
        QCOMPARE(w.isVisible(), event != "close");
        auto *table = child<QTableWidget>(w, "tableWidget");
        QVERIFY(!table->isHidden()); // the results stay
        QCOMPARE(table->rowCount(), kRows);
        QCOMPARE(transferButton->isEnabled(), transfer);
    }

private:
    TestProgramFolder programFolder;
};

QTEST_MAIN(TestWindowLine)
#include "tst_windowline.moc"
