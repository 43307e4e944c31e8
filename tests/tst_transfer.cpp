// Downloads in the offscreen window from collatrix-tester on a pseudo-terminal.
#include "app/mainwindow.h"
#include "ascan/vectordrawframe.h"
#include "data/collatrix.h"
#include "data/csvwriter.h"
#include "device/kvtustester.h"
#include "modaldriver.h"
#include "portsfolder.h"
#include "testerprocess.h"
#include "ui_ascanwindowgui.h"
#include "ui_mainwindowgui.h"
#include "ui_progresswindowgui.h"

#include "testfiles.h"
#include <QSignalSpy>

#include "programfolder.h"

#include <QtTest>

namespace
{

const QString kSucceeded = QStringLiteral("Data transfer completed successfully.");
const QString kIncomplete = QStringLiteral("Received data is incomplete! Please try again.");
const QString kFailed = QStringLiteral("Data transfer failed! Please try again.");

QByteArray expectedCsv(const CZRData &data, QChar separator)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    CCsvWriter writer;
    writer.decimalSeparator = separator;
    writer.write(out, data, CCsvWriter::allRows(data));
    return out.data();
}

} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT

private slots:
    void transferButtonFollowsTheTester();
    void downloadsEachLayout_data();
    void downloadsEachLayout();
    void deviceThatStopsAnswering();
    void streamThatPauses();
    void onlyGroupsAbove256();
    void secondPressCancels();
    void unsavedQuestionBeforeTransfer();

private:
    // Presses Transfer and waits until the reception has ended and its outcome is shown.
    static void transfer(MainWindow &w);
    static QString message(MainWindow &w) { return w.progressUi->messageLabel->text(); }
    static void compareTable(MainWindow &w, const CZRData &expected);
    static CCollatrix *controller(MainWindow &w) { return w.controller; }
    TestProgramFolder programFolder;
};

void TestTransfer::transfer(MainWindow &w)
{
    QVERIFY(w.ui->trnsfrDataButton->isEnabled());
    w.progressUi->messageLabel->clear();
    QTest::mouseClick(w.ui->trnsfrDataButton, Qt::LeftButton);
    QVERIFY(w.transferTimerId != 0);
    QTRY_VERIFY_WITH_TIMEOUT(w.transferTimerId == 0, 30000);
}

void TestTransfer::compareTable(MainWindow &w, const CZRData &expected)
{
    QTableWidget *t = w.ui->tableWidget;
    QCOMPARE(t->rowCount(), expected.totalCount());
    QCOMPARE(t->columnCount(), expected.hasAScans ? 5 : 4);
    for (int row = 0; row < expected.totalCount(); ++row) {
        MeasurementRecord r;
        QVERIFY(expected.recordAt(row, &r));
        QCOMPARE(t->item(row, 0)->text(), QString::number(r.group));
        QCOMPARE(t->item(row, 1)->text(), QString::number(r.cell));
        QCOMPARE(t->item(row, 2)->text(), formatResult(r));
        if (expected.hasAScans)
            QCOMPARE(!t->item(row, 4)->icon().isNull(), r.hasAScan);
    }
}

void TestTransfer::transferButtonFollowsTheTester()
{
    TestPortsFolder ports;
    MainWindow w;
    w.setTransferMessageDuration(0);
    QVERIFY(!w.ui->trnsfrDataButton->isEnabled());
    {
        // Plugged in: the link appears in the ports folder and the search runs by itself.
        TesterProcess tester(ports.path(), {"--layout", "2"});
        QVERIFY(tester.linked());
        QTRY_VERIFY_WITH_TIMEOUT(w.ui->trnsfrDataButton->isEnabled(), 5000);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!w.ui->trnsfrDataButton->isEnabled(), 5000);
}

void TestTransfer::downloadsEachLayout_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("line"); // how the line behaves
    QTest::addColumn<bool>("extended");
    const QStringList layout3{"--layout", "3", "--groups", "2", "--cells", "4"};
    QTest::newRow("layout 1") << QStringList{"--layout", "1", "--groups", "3", "--cells", "30"}
                              << QStringList() << false;
    QTest::newRow("layout 2") << QStringList{"--layout", "2", "--groups", "5", "--cells", "20"}
                              << QStringList() << false;
    QTest::newRow("layout 3") << layout3 << QStringList() << true;
    // A real 38400-baud line: noise before the dump and replies that trickle in.
    QTest::newRow("layout 3 on a real line")
        << layout3 << QStringList{"--noise", "3", "--reply-rate", "3840"} << true;
}

void TestTransfer::downloadsEachLayout()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, line);
    QFETCH(bool, extended);
    TestPortsFolder ports;
    TesterProcess tester(ports.path(),
                         options + line + QStringList{"--rate", "8000", "--seed", "5"});
    QVERIFY2(tester.linked(), qPrintable(tester.firstLine));
    CZRData expected;
    QVERIFY(TesterProcess::decode(
        &expected, TesterProcess::memory(options + QStringList{"--seed", "5"}), extended));

    MainWindow w;
    w.setTransferMessageDuration(0);
    w.show();
    QSignalSpy progress(&w, &MainWindow::ProgressChanged);
    transfer(w);
    QCOMPARE(message(w), kSucceeded);
    QCOMPARE(progress.first().first().toInt(), 0);
    QCOMPARE(progress.last().first().toInt(), 100);
    compareTable(w, expected);
    QVERIFY(!w.ui->tableWidget->isHidden());
    QVERIFY(w.ui->saveAsButton->isEnabled());
    QCOMPARE(w.ui->ascanButton->isEnabled(), extended);
    QVERIFY(controller(w)->unsavedData);

    QTemporaryDir out;
    const QString point = out.filePath(QStringLiteral("point.csv"));
    answerNextFileDialog(point);
    QVERIFY(w.saveAll());
    QCOMPARE(fileBytes(point), expectedCsv(expected, QLatin1Char('.')));
    QVERIFY(!controller(w)->unsavedData);
    controller(w)->decimalSeparator = QStringLiteral(",");
    const QString comma = out.filePath(QStringLiteral("comma.csv"));
    answerNextFileDialog(comma);
    QVERIFY(w.saveAll());
    QCOMPARE(fileBytes(comma), expectedCsv(expected, QLatin1Char(',')));

    int withAScan = 0;
    for (int row = 0; row < expected.totalCount(); ++row) {
        MeasurementRecord r;
        expected.recordAt(row, &r);
        withAScan += r.hasAScan;
    }
    QCOMPARE(controller(w)->aScanCache.size(), withAScan); // prefetched after the download
    const QStringList pictures = QDir(out.filePath(QStringLiteral("comma"))).entryList(QDir::Files);
    QCOMPARE(pictures.size(), withAScan);
    if (extended) {
        QVERIFY(withAScan > 0);
        // Each row shows its trace; the saved pictures are the window's pictures.
        QTableWidget *t = w.ui->tableWidget;
        for (int row = 0; row < t->rowCount(); ++row) {
            MeasurementRecord r;
            expected.recordAt(row, &r);
            if (!r.hasAScan)
                continue;
            t->setCurrentCell(row, 0);
            const QImage shown =
                w.grabAscanWindow().toImage().convertToFormat(QImage::Format_RGB32);
            const QImage saved = QImage(out.filePath(QStringLiteral("comma/") +
                                                     CCsvWriter::aScanFileName(r.group, r.cell)))
                                     .convertToFormat(QImage::Format_RGB32);
            QCOMPARE(saved, shown);
            QVERIFY(w.ascanUi->LValue->text().startsWith(formatResult(r).left(2)));
        }
    }
}

void TestTransfer::deviceThatStopsAnswering()
{
    TestPortsFolder ports;
    auto tester = std::make_unique<TesterProcess>(ports.path(), QStringList{"--layout", "2"});
    QVERIFY(tester->linked());
    MainWindow w;
    w.setTransferMessageDuration(0);
    QVERIFY(w.ui->trnsfrDataButton->isEnabled());
    // The tester is found, then goes silent on the same port.
    tester.reset();
    TesterProcess silent(ports.path(), {"--silent"});
    QVERIFY(silent.linked());
    QElapsedTimer clock;
    clock.start();
    transfer(w);
    QCOMPARE(message(w), kFailed);
    QVERIFY(clock.elapsed() < 500 + 2000 + 1500); // one tick, the message, margin
    QVERIFY(w.ui->tableWidget->isHidden());
    QVERIFY(!w.ui->saveAsButton->isEnabled());
    QVERIFY(!controller(w)->unsavedData);
}

void TestTransfer::streamThatPauses()
{
    TestPortsFolder ports;
    const QStringList options{"--layout", "2", "--groups", "4", "--cells", "40"};
    TesterProcess tester(ports.path(),
                         options + QStringList{"--rate", "8000", "--pause-after", "600"});
    QVERIFY(tester.linked());
    CZRData expected;
    const QByteArray memory = TesterProcess::memory(options);
    QVERIFY(TesterProcess::decode(&expected, memory.left(600), false));
    MainWindow w;
    w.setTransferMessageDuration(0);
    transfer(w);
    QCOMPARE(message(w), kIncomplete);
    compareTable(w, expected);
    QVERIFY(controller(w)->unsavedData);
}

void TestTransfer::onlyGroupsAbove256()
{
    TestPortsFolder ports;
    QTemporaryDir dir;
    QByteArray dump("ORBEXM47T\x00\x01", 11);
    QByteArray block(256, '\0');
    const char record[] = {0x2C, 0x01, 0x01, 0x00, 0x10, 0x00, 0x00, 0x00}; // group 300
    std::copy(record, record + 8, block.begin());
    dump += block;
    const QString file = dir.filePath(QStringLiteral("high.bin"));
    QVERIFY(writeFile(file, dump));
    TesterProcess tester(ports.path(), {"--dump", file});
    QVERIFY(tester.linked());
    MainWindow w;
    w.setTransferMessageDuration(0);
    QString text;
    clickNextMessageBox(QMessageBox::Ok, &text);
    transfer(w);
    QCOMPARE(text, QStringLiteral("No measurements in connected device!"));
    QVERIFY(w.ui->tableWidget->isHidden());
    QVERIFY(w.ui->bckgroundLabel->isVisibleTo(&w));
}

void TestTransfer::secondPressCancels()
{
    TestPortsFolder ports;
    TesterProcess tester(ports.path(), {"--layout", "2", "--groups", "8", "--cells", "100"});
    QVERIFY(tester.linked());
    MainWindow w;
    w.setTransferMessageDuration(0);
    QSignalSpy progress(&w, &MainWindow::ProgressChanged);
    QTest::mouseClick(w.ui->trnsfrDataButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(progress.size() >= 2, 5000);
    QTest::mouseClick(w.ui->trnsfrDataButton, Qt::LeftButton);
    QCOMPARE(w.transferTimerId, 0);
    QVERIFY(w.progressWindow->isHidden());
    QVERIFY(w.ui->tableWidget->isHidden());
    QVERIFY(message(w).isEmpty());
    QVERIFY(!controller(w)->transferActive);
    QVERIFY(!controller(w)->tester->busy);
}

void TestTransfer::unsavedQuestionBeforeTransfer()
{
    TestPortsFolder ports;
    TesterProcess tester(ports.path(), {"--layout", "3", "--groups", "1", "--cells", "3"});
    QVERIFY(tester.linked());
    MainWindow w;
    w.setTransferMessageDuration(0);
    transfer(w);
    QCOMPARE(message(w), kSucceeded);
    // Yes, then a cancelled save dialog: nothing starts, the results stay.
    clickNextMessageBox(QMessageBox::Yes);
    answerNextFileDialog(QString());
    QTest::mouseClick(w.ui->trnsfrDataButton, Qt::LeftButton);
    QCOMPARE(w.transferTimerId, 0);
    QVERIFY(!w.ui->tableWidget->isHidden());
    QVERIFY(controller(w)->unsavedData);
    // No: the old results go and the new transfer runs.
    clickNextMessageBox(QMessageBox::No);
    QTest::mouseClick(w.ui->trnsfrDataButton, Qt::LeftButton);
    QVERIFY(w.transferTimerId != 0);
    QTRY_VERIFY_WITH_TIMEOUT(w.transferTimerId == 0, 30000);
    QCOMPARE(message(w), kSucceeded);
}

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
