// SPDX-License-Identifier: GPL-3.0-or-later
// Downloads in the offscreen window from collatrix-tester on a pseudo-terminal. Each one runs on
// the window's real 500 ms ticks, so only paths of their own are here.
#include "app/mainwindow.h"
#include "data/collatrix.h"
#include "format/csvwriter.h"
#include "modaldriver.h"
#include "portsfolder.h"
#include "programfolder.h"
#include "services/keptfolder.h"
#include "testerprocess.h"
#include "testfiles.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTableWidget>
#include <QToolButton>

#include <QtTest>

namespace
{

const QString kSucceeded = QStringLiteral("Data transfer completed successfully.");
const QString kIncomplete = QStringLiteral("Received data is incomplete! Please try again.");
const QString kFailed = QStringLiteral("Data transfer failed! Please try again.");

} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT

private slots:
    void downloadsEachLayout_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("layout 1") << QStringList{"--layout", "1", "--groups", "3", "--cells", "30"};
        QTest::newRow("layout 2") << QStringList{"--layout", "2", "--groups", "5", "--cells", "20"};
        // Layout 3 on a real line: noise before the dump, a late tail, replies trickling in at
        // 38400 baud.
        QTest::newRow("layout 3, real line")
            << QStringList{"--layout", "3", "--groups",     "2",    "--cells",      "4",
                           "--noise",  "3", "--reply-rate", "3840", "--tail-pause", "0.01"};
    }
    void downloadsEachLayout()
    {
        QFETCH(QStringList, options);
        const bool extended = options.at(1) == "3";
        TestPortsFolder ports;
        TesterProcess tester(ports.path(), options + QStringList{"--rate", "8000", "--seed", "5"});
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
        QCOMPARE(progress.last().first().toInt(), 100);
        QCOMPARE(child<QToolButton>(w, "ascanButton")->isEnabled(), extended);

        QTemporaryDir out;
        const QString csv = out.filePath("results.csv"), pictures = out.filePath("results");
        answerNextFileDialog(csv);
        QTest::mouseClick(child<QToolButton>(w, "saveAsButton"), Qt::LeftButton);
        QCOMPARE(fileBytes(csv), csvOf(expected));
        QVERIFY(!controller(w)->unsavedData);
        checkPictures(w, expected, pictures);

        // The download was kept: its export is what Save As wrote, and opened again it shows the
        // same rows and A-scans.
        const QStringList kept = CKeptFolder().files();
        QVERIFY(!kept.isEmpty());
        QCOMPARE(runCli({"export", kept.last(), "-o", out.filePath("e.csv")}).status, 0);
        QCOMPARE(fileBytes(out.filePath("e.csv")), fileBytes(csv));
        QCOMPARE(folderFiles(out.filePath("e")), folderFiles(pictures));
        QVERIFY(w.openDownload(kept.last()));
        checkPictures(w, expected, pictures);
    }
    void endings_data()
    {
        QTest::addColumn<QStringList>("fault");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<bool>("present"); // the tester is still found at the end
        QTest::newRow("dump pauses") << QStringList{"--pause-after", "600"} << kIncomplete << true;
        // The search the removed link sets off is refused during the reception and made up after.
        QTest::newRow("cable pulled")
            << QStringList{"--vanish-after", "3000"} << kIncomplete << false;
        // Taken for a plain device, it is asked for a dump it does not give.
        QTest::newRow("no dump") << QStringList{"--non-extended", "--layout", "3"} << kFailed
                                 << true;
    }
    void endings()
    {
        QFETCH(QStringList, fault);
        QFETCH(QString, outcome);
        QFETCH(bool, present);
        TestPortsFolder ports;
        TesterProcess tester(ports.path(), QStringList{"--layout", "2", "--groups", "8", "--cells",
                                                       "100", "--rate", "8000"} +
                                               fault);
        QVERIFY(tester.linked());
        MainWindow w;
        w.setTransferMessageDuration(0);
        transfer(w);
        QCOMPARE(message(w), outcome);
        // What arrived is shown and kept.
        auto *table = child<QTableWidget>(w, "tableWidget");
        QCOMPARE(!table->isHidden(), outcome == kIncomplete);
        QVERIFY(outcome != kIncomplete || (table->rowCount() > 0 && table->rowCount() < 800));
        QCOMPARE(controller(w)->unsavedData, outcome == kIncomplete);
        QCOMPARE(child<QToolButton>(w, "saveAsButton")->isEnabled(), outcome == kIncomplete);
        QCOMPARE(child<QToolButton>(w, "trnsfrDataButton")->isEnabled(), present);
    }
    void unsavedQuestionThenCancel()
    {
        TestPortsFolder ports;
        TesterProcess tester(
            ports.path(), {"--layout", "2", "--groups", "8", "--cells", "100", "--rate", "8000"});
        QVERIFY(tester.linked());
        MainWindow w;
        w.setTransferMessageDuration(0);
        w.setTransferTickDuration(100); // the questions do not depend on the pace of the ticks
        transfer(w);
        QCOMPARE(message(w), kSucceeded);
        auto *button = child<QToolButton>(w, "trnsfrDataButton");
        auto *table = child<QTableWidget>(w, "tableWidget");
        // Cancel, or Yes and then a cancelled save dialog: nothing starts, the results stay.
        for (QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::Yes}) {
            clickNextMessageBox(answer);
            if (answer == QMessageBox::Yes)
                answerNextFileDialog(QString());
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(!running(w));
            QVERIFY(!table->isHidden());
            QVERIFY(controller(w)->unsavedData);
        }
        // No: the old results go and a new transfer runs; a second press cancels it.
        child<QLabel>(w, "messageLabel")->clear();
        QSignalSpy progress(&w, &MainWindow::ProgressChanged);
        clickNextMessageBox(QMessageBox::No);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(running(w));
        QVERIFY(table->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(progress.size() >= 2, 5000);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!running(w));
        QVERIFY(!controller(w)->transferActive);
        QVERIFY(table->isHidden());
        QVERIFY(message(w).isEmpty());
    }

private:
    // Presses Transfer and waits until the reception has ended and its outcome is shown.
    static void transfer(MainWindow &w)
    {
        auto *button = child<QToolButton>(w, "trnsfrDataButton");
        QVERIFY(button->isEnabled());
        child<QLabel>(w, "messageLabel")->clear();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(running(w));
        QTRY_VERIFY_WITH_TIMEOUT(!running(w), 30000);
    }
    // The pictures in the folder are the A-scan window's pictures of their rows.
    static void checkPictures(MainWindow &w, const CZRData &expected, const QString &folder)
    {
        auto *table = child<QTableWidget>(w, "tableWidget");
        QCOMPARE(table->rowCount(), expected.totalCount());
        int pictures = 0;
        for (int row = 0; row < expected.totalCount(); ++row) {
            MeasurementRecord r;
            if (!expected.recordAt(row, &r) || !r.hasAScan)
                continue;
            ++pictures;
            table->setCurrentCell(row, 0);
            const QImage saved(folder + QLatin1Char('/') +
                               CCsvWriter::aScanFileName(r.group, r.cell));
            QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
                     child<QWidget>(w, "ascanWindowGUI")
                         ->grab()
                         .toImage()
                         .convertToFormat(QImage::Format_RGB32));
        }
        QCOMPARE(pictures > 0, expected.hasAScans);
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), pictures);
    }
    static QString message(MainWindow &w) { return child<QLabel>(w, "messageLabel")->text(); }
    // A reception runs exactly while the progress window shows.
    static bool running(MainWindow &w)
    {
        return child<QWidget>(w, "ProgressWindowGUI")->isVisible();
    }
    static CCollatrix *controller(MainWindow &w) { return w.findChild<CCollatrix *>(); }
    TestProgramFolder programFolder;
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
