// Faults end to end in the offscreen window, against collatrix-tester's fault modes. Each fault
// must end in its outcome with the port closed, no descriptor left open, and a window that
// downloads again from a good tester.
#include "app/mainwindow.h"
#include "data/collatrix.h"
#include "device/kvtustester.h"
#include "modaldriver.h"
#include "portsfolder.h"
#include "testerprocess.h"
#include "ui_ascanwindowgui.h"
#include "ui_mainwindowgui.h"
#include "ui_progresswindowgui.h"

#include "programfolder.h"
#include <QSignalSpy>

#include <QtTest>

#include <memory>

namespace
{

const QString kSucceeded = QStringLiteral("Data transfer completed successfully.");
const QString kIncomplete = QStringLiteral("Received data is incomplete! Please try again.");

// Descriptors of this process that name a file or a device (the port is one). Pipes, event
// and process descriptors are left out: the toolkit's threads and the tester child processes
// make them come and go.
int openDescriptors()
{
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo &entry :
         fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = entry.symLinkTarget();
        if (target.startsWith(QLatin1Char('/')) &&
            !target.startsWith(QLatin1String("/proc/self/fd/")))
            ++count;
    }
    return count;
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void testerVanishesMidTransfer();
    void garbageBeforeHeader();
    void identifyReplyCutShort();
    void aScanReplyCutShortDuringPrefetch();
    void unpluggedWhileAScanWindowOpen();
    void saveToFolderThatCannotBeWritten();

private:
    static void transfer(MainWindow &w);
    static QString message(MainWindow &w) { return w.progressUi->messageLabel->text(); }
    static void verifyPortReleased(MainWindow &w);
    static void verifyRowsMatch(MainWindow &w, const CZRData &expected, bool all);
    static void downloadAgain(MainWindow &w, const TestPortsFolder &ports, int descriptors);
    TestProgramFolder programFolder;
};

void TestFaults::transfer(MainWindow &w)
{
    QVERIFY(w.ui->trnsfrDataButton->isEnabled());
    w.progressUi->messageLabel->clear();
    QTest::mouseClick(w.ui->trnsfrDataButton, Qt::LeftButton);
    QVERIFY(w.transferTimerId != 0);
    QTRY_VERIFY_WITH_TIMEOUT(w.transferTimerId == 0, 30000);
}

void TestFaults::verifyPortReleased(MainWindow &w)
{
    const CKVTUSTester *tester = w.controller->tester;
    QVERIFY(tester != nullptr);
    QVERIFY(!tester->busy);
    QVERIFY(!w.controller->transferActive);
    QVERIFY(tester->currentPort == nullptr || !tester->currentPort->isOpen());
}

// The table rows are the expected records in order: all of them, or a leading part.
void TestFaults::verifyRowsMatch(MainWindow &w, const CZRData &expected, bool all)
{
    QTableWidget *t = w.ui->tableWidget;
    QVERIFY(t->rowCount() > 0);
    if (all)
        QCOMPARE(t->rowCount(), expected.totalCount());
    QVERIFY(t->rowCount() <= expected.totalCount());
    for (int row = 0; row < t->rowCount(); ++row) {
        MeasurementRecord r;
        QVERIFY(expected.recordAt(row, &r));
        QCOMPARE(t->item(row, 0)->text(), QString::number(r.group));
        QCOMPARE(t->item(row, 1)->text(), QString::number(r.cell));
        QCOMPARE(t->item(row, 2)->text(), formatResult(r));
    }
}

// A good tester is plugged in; the search runs by itself and a download succeeds. Results of
// the fault that are still unsaved are given up. No descriptor may be left before or after.
void TestFaults::downloadAgain(MainWindow &w, const TestPortsFolder &ports, int descriptors)
{
    QCOMPARE(openDescriptors(), descriptors);
    const QStringList options{"--layout", "2", "--groups", "2", "--cells", "10"};
    TesterProcess good(ports.path(), options + QStringList{"--rate", "8000"});
    QVERIFY(good.linked());
    QTRY_VERIFY_WITH_TIMEOUT(w.ui->trnsfrDataButton->isEnabled(), 5000);
    if (w.controller->unsavedData)
        clickNextMessageBox(QMessageBox::No);
    transfer(w);
    QCOMPARE(message(w), kSucceeded);
    CZRData expected;
    QVERIFY(TesterProcess::decode(&expected, TesterProcess::memory(options), false));
    verifyRowsMatch(w, expected, true);
    verifyPortReleased(w);
    QCOMPARE(openDescriptors(), descriptors);
}

void TestFaults::testerVanishesMidTransfer()
{
    TestPortsFolder ports;
    const QStringList options{"--layout", "2", "--groups", "8", "--cells", "100"};
    TesterProcess tester(ports.path(), options + QStringList{"--vanish-after", "3000"});
    QVERIFY(tester.linked());
    CZRData expected;
    QVERIFY(TesterProcess::decode(&expected, TesterProcess::memory(options), false));
    MainWindow w;
    w.setTransferMessageDuration(0);
    const int descriptors = openDescriptors();
    transfer(w);
    // What arrived before the cable went is shown and kept.
    QCOMPARE(message(w), kIncomplete);
    verifyRowsMatch(w, expected, false);
    QVERIFY(w.controller->unsavedData);
    QTRY_COMPARE_WITH_TIMEOUT(tester.process.state(), QProcess::NotRunning, 5000);
    // The search the removed link set off came during the reception and was refused; it is
    // made up for when the reception ends, so the button no longer shows the tester.
    QVERIFY(!w.ui->trnsfrDataButton->isEnabled());
    verifyPortReleased(w);
    downloadAgain(w, ports, descriptors);
}

void TestFaults::garbageBeforeHeader()
{
    TestPortsFolder ports;
    const QStringList options{"--layout", "2", "--groups", "3", "--cells", "20"};
    TesterProcess tester(ports.path(), options + QStringList{"--garbage", "300", "--rate", "8000"});
    QVERIFY(tester.linked());
    CZRData expected;
    QVERIFY(TesterProcess::decode(&expected, TesterProcess::memory(options), false));
    MainWindow w;
    w.setTransferMessageDuration(0);
    const int descriptors = openDescriptors();
    transfer(w);
    QCOMPARE(message(w), kSucceeded);
    verifyRowsMatch(w, expected, true);
    verifyPortReleased(w);
    tester.stop();
    downloadAgain(w, ports, descriptors);
}

void TestFaults::identifyReplyCutShort()
{
    TestPortsFolder ports;
    auto tester =
        std::make_unique<TesterProcess>(ports.path(), QStringList{"--cut-reply", "identify"});
    QVERIFY(tester->linked());
    MainWindow w;
    w.setTransferMessageDuration(0);
    QVERIFY(!w.ui->trnsfrDataButton->isEnabled());
    QVERIFY(!w.controller->tester->deviceFound);
    verifyPortReleased(w);
    const int descriptors = openDescriptors();
    tester.reset();
    downloadAgain(w, ports, descriptors);
}

void TestFaults::aScanReplyCutShortDuringPrefetch()
{
    TestPortsFolder ports;
    const QStringList options{"--layout", "3", "--groups", "2", "--cells", "4"};
    TesterProcess tester(ports.path(),
                         options + QStringList{"--cut-reply", "ascan", "--rate", "8000"});
    QVERIFY(tester.linked());
    CZRData expected;
    QVERIFY(TesterProcess::decode(&expected, TesterProcess::memory(options), true));
    MainWindow w;
    w.setTransferMessageDuration(0);
    const int descriptors = openDescriptors();
    transfer(w);
    QCOMPARE(message(w), kSucceeded);
    verifyRowsMatch(w, expected, true);
    QVERIFY(w.controller->aScanCache.isEmpty());
    QVERIFY(w.ui->ascanButton->isEnabled());
    verifyPortReleased(w);
    tester.stop();
    downloadAgain(w, ports, descriptors);
}

void TestFaults::unpluggedWhileAScanWindowOpen()
{
    TestPortsFolder ports;
    const QStringList options{"--layout", "3", "--groups", "2", "--cells", "4"};
    // The A-scan replies are cut short, so no row is cached when the cable goes.
    auto tester = std::make_unique<TesterProcess>(
        ports.path(), options + QStringList{"--cut-reply", "ascan", "--rate", "8000"});
    QVERIFY(tester->linked());
    MainWindow w;
    w.setTransferMessageDuration(0);
    w.show();
    const int descriptors = openDescriptors();
    transfer(w);
    QCOMPARE(message(w), kSucceeded);
    QTest::mouseClick(w.ui->ascanButton, Qt::LeftButton);
    QVERIFY(w.ascanWindow->isVisible());
    tester.reset();
    QSignalSpy traces(&w, &MainWindow::vectorChanged);
    QTableWidget *t = w.ui->tableWidget;
    for (int row = t->rowCount() - 1; row >= 0; --row) {
        t->setCurrentCell(row, 0);
        QCOMPARE(traces.last().at(1).toInt(), 0); // an empty trace
        QVERIFY(!w.controller->aScanCache.contains(row));
        verifyPortReleased(w);
    }
    QCOMPARE(traces.size(), t->rowCount());
    QVERIFY(w.ascanWindow->isVisible());
    QVERIFY(!t->isHidden()); // the results stay
    QVERIFY(w.controller->unsavedData);
    QTRY_VERIFY_WITH_TIMEOUT(!w.ui->trnsfrDataButton->isEnabled(), 5000);
    downloadAgain(w, ports, descriptors);
}

// Tests run as root, for whom no permission stops a write: the folder is a regular file instead.
void TestFaults::saveToFolderThatCannotBeWritten()
{
    TestPortsFolder ports;
    TesterProcess tester(ports.path(),
                         {"--layout", "3", "--groups", "1", "--cells", "3", "--rate", "8000"});
    QVERIFY(tester.linked());
    MainWindow w;
    w.setTransferMessageDuration(0);
    transfer(w);
    QCOMPARE(message(w), kSucceeded);
    QTemporaryDir dir;
    const QString notAFolder = dir.filePath(QStringLiteral("file"));
    QFile blocker(notAFolder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString badPath = notAFolder + QStringLiteral("/results.csv");
    answerNextFileDialog(badPath);
    QVERIFY(!w.saveAll());
    QVERIFY(w.controller->unsavedData);
    QVERIFY(QFileInfo(notAFolder).isFile());
    // Yes to saving before a new transfer, and the save fails: nothing starts, the results stay.
    clickNextMessageBox(QMessageBox::Yes);
    answerNextFileDialog(badPath);
    QTest::mouseClick(w.ui->trnsfrDataButton, Qt::LeftButton);
    QCOMPARE(w.transferTimerId, 0);
    QVERIFY(!w.ui->tableWidget->isHidden());
    QVERIFY(w.controller->unsavedData);
    // The same for closing the window.
    clickNextMessageBox(QMessageBox::Yes);
    answerNextFileDialog(badPath);
    QVERIFY(!w.close());
    QVERIFY(w.controller->unsavedData);
    // A good folder then takes the results.
    const QString good = dir.filePath(QStringLiteral("results.csv"));
    answerNextFileDialog(good);
    QVERIFY(w.saveAll());
    QVERIFY(!w.controller->unsavedData);
    QVERIFY(QFileInfo(good).size() > 0);
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
