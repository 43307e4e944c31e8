// SPDX-License-Identifier: GPL-3.0-or-later
// The archive window over an embedded archive of three surveys a year apart: the list newest
// first with the object names of their time, the filter, opening a download, the history of
// the row selected in the main window, and naming a group.
#include "app/archivewindow.h"
#include "app/devicewatcher.h"
#include "app/mainwindow.h"
#include "archive/archive.h"
#include "archivetesting.h"
#include "data/collatrix.h"
#include "device/kvtustester.h"
#include "modaldriver.h"
#include "programfolder.h"
#include "scriptedtester.h"
#include "services/archiveservice.h"
#include "services/keptfolder.h"

#include <QChartView>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTcpServer>
#include <QToolButton>
#include <QtTest>

class TestArchiveWindow : public QObject
{
    Q_OBJECT

private slots:
    void listFilterOpenHistoryAndNames()
    {
        const QList<CKeptDownload> surveys{
            keptAt("2024-05-01T09:00:00+02:00", {{3, 7, 1234, 1, 0}, {3, 8, 500, 0, 0}}),
            keptAt("2025-05-02T09:00:00+02:00", {{3, 7, 1190, 1, 0}}),
            keptAt("2026-05-03T09:00:00+02:00", {{3, 7, 1150, 1, 0}, {5, 1, 800, 1, 0}})};
        CArchive archive(CArchiveLocation::embedded());
        QString problem;
        QVERIFY2(archive.open(&problem), qPrintable(problem));
        QStringList files;
        for (const CKeptDownload &kept : surveys) {
            files << CKeptFolder().keep(kept, &problem);
            QCOMPARE(archive.record(kept, kept.toBytes(), files.last(), "Tarn Qellix 7", &problem),
                     CArchive::Recorded::New);
        }
        QVERIFY(archive.nameGroup(3, "Tank \"3\"; Ø", surveys.at(1).time, &problem));

        MainWindow w;
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_H, Qt::ControlModifier);
        auto *window = w.findChild<ArchiveWindow *>();
        QVERIFY(window && window->isVisible());
        auto *list = child<QTableWidget>(*window, "downloadsTable");
        // The list comes from the archive's thread.
        QTRY_COMPARE(column(list, 0),
                     QStringList({"2026-05-03 09:00", "2025-05-02 09:00", "2024-05-01 09:00"}));
        // A name holds from the download where it was given on.
        QCOMPARE(column(list, 2), QStringList({"Tank \"3\"; Ø", "Tank \"3\"; Ø", ""}));
        QCOMPARE(column(list, 3), QStringList({"2", "1", "2"}));
        QCOMPARE(list->item(0, 1)->toolTip(), QStringLiteral("Tarn Qellix 7"));

        child<QLineEdit>(*window, "filterEdit")->setText("tank");
        QCOMPARE(list->rowCount(), 2);
        child<QLineEdit>(*window, "filterEdit")->clear();
        child<QDateEdit>(*window, "toDate")->setDate(QDate(2025, 12, 31));
        QCOMPARE(column(list, 0), QStringList({"2025-05-02 09:00", "2024-05-01 09:00"}));

        // Opening the oldest shows its rows; its first row's history is every reading of 3/7.
        list->setCurrentCell(1, 0);
        child<QPushButton>(*window, "openButton")->click();
        auto *table = w.findChild<QTableWidget *>(QStringLiteral("tableWidget"));
        QTRY_VERIFY(!table->isHidden());
        QCOMPARE(table->rowCount(), 2);
        table->setCurrentCell(0, 0);
        auto *history = child<QTableWidget>(*window, "historyTable");
        QTRY_COMPARE(column(history, 1), QStringList({"12.34", "11.90", "11.50"}));
        QCOMPARE(column(history, 2), QStringList({"mm", "mm", "mm"}));
        auto *chart = child<QChartView>(*window, "historyChart")->chart();
        QCOMPARE(qobject_cast<QLineSeries *>(chart->series().value(0))->count(), 3);

        // Group 5 named from the newest download on.
        child<QDateEdit>(*window, "toDate")->setDate(QDate(2026, 12, 31));
        list->setCurrentCell(0, 0);
        child<QSpinBox>(*window, "groupSpin")->setValue(5);
        child<QLineEdit>(*window, "nameEdit")->setText("Line 12 elbow");
        child<QPushButton>(*window, "nameButton")->click();
        QTRY_COMPARE(list->item(0, 2)->text(), QStringLiteral("Tank \"3\"; Ø, Line 12 elbow"));
        QCOMPARE(archive.groupName(5, surveys.at(1).time, &problem), QString());

        // A year before from a spreadsheet, chosen in the file dialog, recorded on the archive's
        // thread and listed.
        QTemporaryDir sheets;
        QFile csv(sheets.filePath("2023.csv"));
        QVERIFY(csv.open(QIODevice::WriteOnly) &&
                csv.write("time;group;cell;result;unit\n2023-04-30;3;7;12,50;mm\n") > 0);
        csv.close();
        child<QDateEdit>(*window, "fromDate")->setDate(QDate(2023, 1, 1));
        answerNextFileDialog(csv.fileName());
        child<QPushButton>(*window, "importButton")->click();
        QTRY_VERIFY(child<QLabel>(*window, "messageLabel")->text().contains("recorded: 1 (1"));
        QTRY_COMPARE(column(list, 1).value(3), QStringLiteral("imported from 2023.csv"));

        // A kept file that is gone, with no copy in the archive, is said to be gone.
        QVERIFY(QFile::remove(files.at(2)));
        list->setCurrentCell(0, 0);
        child<QPushButton>(*window, "openButton")->click();
        QTRY_VERIFY(child<QLabel>(*window, "messageLabel")->text().contains(files.at(2)));
        QCOMPARE(table->rowCount(), 2);

        // The button opens it too.
        window->close();
        w.findChild<QToolButton *>(QStringLiteral("archiveButton"))->click();
        QVERIFY(window->isVisible());
    }
    // A shared server that takes the connection and never answers: the download is shown and kept
    // at once, its recording waits aside, and it ends up in the embedded archive, marked as
    // waiting.
    void silentServerHoldsNoDownload()
    {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        qputenv("COLLATRIX_ARCHIVE",
                "postgresql://collatrix@127.0.0.1:" + QByteArray::number(silent.serverPort()) +
                    "/x?connect_timeout=2");
        MainWindow w;
        w.setTransferMessageDuration(0);
        w.setTransferTickDuration(1);
        std::string dump = m47Header(1) + std::string(8, '\0');
        dump[11] = 1, dump[13] = 4, dump[15] = char(0xE8), dump[16] = 3;
        dump.resize(11 + 256, '\0');
        line().reset();
        line().replyTo(3, CKVTUSTester::Identify, "Tarn Qellix");
        line().replyTo(3, CKVTUSTester::ProbeExtended, "");
        line().replyTo(3, CKVTUSTester::StartDump, dump);
        QSignalSpy recorded(w.findChild<CCollatrix *>()->archive.get(), &CArchiveService::recorded);
        emit w.findChild<CDeviceWatcher *>()->devicesChanged();
        w.findChild<QToolButton *>(QStringLiteral("trnsfrDataButton"))->click();
        QTRY_VERIFY(!child<QTableWidget>(w, "tableWidget")->isHidden());
        QCOMPARE(recorded.count(), 0);
        QVERIFY(recorded.wait(15000));
        QVERIFY(recorded.first().first().toString().contains(
            "shared archive cannot take the download now"));
        // Told in the status area, not in a box nobody asked for.
        QVERIFY(!QApplication::activeModalWidget());
        const QString told = "Shared archive not reachable, 1 download(s) waiting, next try in ";
        QTRY_VERIFY(child<QLabel>(w, "archiveIndicator")->text().startsWith(told));
        qunsetenv("COLLATRIX_ARCHIVE");
        CArchive embedded(CArchiveLocation::embedded());
        QString problem;
        QVERIFY2(embedded.open(&problem), qPrintable(problem));
        const QList<ArchiveDownload> waiting = embedded.downloads(true, &problem);
        QCOMPARE(waiting.size(), 1);
        QCOMPARE(waiting.first().identification, QStringLiteral("Tarn Qellix"));
    }

private:
    static QStringList column(QTableWidget *table, int column)
    {
        QStringList texts;
        for (int row = 0; row < table->rowCount(); ++row)
            texts << table->item(row, column)->text();
        return texts;
    }

    TestProgramFolder programFolder;
};

QTEST_MAIN(TestArchiveWindow)
#include "tst_archivewindow.moc"
