// SPDX-License-Identifier: GPL-3.0-or-later
// The Due window over an archive of three objects with limits, on 2 June 2026: object 1 with a
// point below its minimum, object 2 last surveyed in 2016 and overdue since the day before, object
// 3 due in 2035. Its rows and their order, both filters, the exports of the rows shown (one that
// cannot be written is told in the window), the PDF's text, help, and a double click that opens
// the object's newest download with its evaluation.
#include "app/duewindow.h"
#include "app/evaluationwindow.h"
#include "app/mainwindow.h"
#include "archive/archive.h"
#include "archivetesting.h"
#include "modaldriver.h"
#include "pdftools.h"
#include "programfolder.h"
#include "tabletexts.h"
#include "testfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

class TestDueWindow : public QObject
{
    Q_OBJECT

private slots:
    // Readings at 02:00 UTC: a next inspection ten years on, 3652.5 days, falls at 14:00 UTC.
    void initTestCase()
    {
        qputenv("COLLATRIX_TODAY", "2026-06-02");
        const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
        qputenv("COLLATRIX_ARCHIVE", ("sqlite:" + path).toLocal8Bit());
        CArchive archive(CArchiveLocation::embedded(path));
        QString problem;
        QVERIFY2(archive.open(&problem), qPrintable(problem));
        const QList<CKeptDownload> surveys{
            keptAt("2015-06-01T02:00:00Z", {{2, 1, 1000, 1, 0}}),
            keptAt("2016-06-01T02:00:00Z", {{2, 1, 990, 1, 0}}),
            keptAt("2024-06-01T02:00:00Z",
                   {{1, 1, 1200, 1, 0}, {1, 2, 1010, 1, 0}, {3, 1, 900, 1, 0}}),
            keptAt("2025-06-01T02:00:00Z",
                   {{1, 1, 1199, 1, 0}, {1, 2, 990, 1, 0}, {3, 1, 890, 1, 0}})};
        for (const CKeptDownload &kept : surveys) {
            const QString file = CKeptFolder(dir.filePath("kept")).keep(kept, &problem);
            QCOMPARE(archive.record(kept, kept.toBytes(), file, &problem), CArchive::Recorded::New);
        }
        const QDateTime from = at("2010-01-01T00:00:00Z");
        for (const ArchiveLimits &limits :
             {ArchiveLimits{1, 12.0, 10.0, 0.5, from}, ArchiveLimits{2, 10.0, 5.0, 0.5, from},
              ArchiveLimits{3, 10.0, 5.0, 0.5, from}})
            QVERIFY2(archive.setLimits(limits, &problem), qPrintable(problem));
        QVERIFY(archive.nameGroup(1, "Tank 1 shell", from, &problem));
        QVERIFY(archive.namePoints({{1, 2, "CML-02"}}, from, "plan", &problem));

        w = std::make_unique<MainWindow>();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_D, Qt::ControlModifier);
        window = w->findChild<DueWindow *>();
        QVERIFY(window && window->isVisible());
        table = child<QTableWidget>(*window, "dueTable");
        // The list comes from the archive's thread; the window says it reads meanwhile.
        QCOMPARE(message(), QStringLiteral("Reading the archive..."));
        QTRY_COMPARE(table->rowCount(), 3);
        QVERIFY(child<QLabel>(*window, "messageLabel")->isHidden());
    }
    void rowsSoonestFirst()
    {
        QCOMPARE(rowTexts(table, 0), (QStringList{"1 \u2013 Tank 1 shell", "2025-06-01", "2", "1",
                                                  "0", "0", "0", "2 CML-02", "2025-06-01"}));
        QCOMPARE(rowTexts(table, 1),
                 (QStringList{"2", "2016-06-01", "1", "0", "0", "0", "1", "1", "2026-06-01"}));
        QCOMPARE(rowTexts(table, 2),
                 (QStringList{"3", "2025-06-01", "1", "0", "0", "0", "0", "1", "2035-06-01"}));
        const auto red = [this](int row) { return table->item(row, 8)->foreground() == Qt::red; };
        QVERIFY(red(0) && red(1) && !red(2));
        QTest::keyClick(window, Qt::Key_F1);
        QCOMPARE(w->findChild<QTextBrowser *>("helpTBrowser")->documentTitle(),
                 QStringLiteral("Inspections due"));
    }
    void filters_data()
    {
        QTest::addColumn<int>("days"); // none when negative
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("groups");
        QTest::newRow("all") << -1 << 0 << QStringList{"1 \u2013 Tank 1 shell", "2", "3"};
        QTest::newRow("overdue ones within a day")
            << 1 << 0 << QStringList{"1 \u2013 Tank 1 shell", "2"};
        QTest::newRow("until 2035-06-01")
            << 3286 << 0 << QStringList{"1 \u2013 Tank 1 shell", "2", "3"};
        QTest::newRow("until 2035-05-31") << 3285 << 0 << QStringList{"1 \u2013 Tank 1 shell", "2"};
        QTest::newRow("below minimum") << -1 << 1 << QStringList{"1 \u2013 Tank 1 shell"};
        QTest::newRow("overdue") << -1 << 2 << QStringList{"2"};
        QTest::newRow("warning") << -1 << 3 << QStringList{};
        QTest::newRow("overdue within a day") << 1 << 2 << QStringList{"2"};
    }
    void filters()
    {
        QFETCH(int, days);
        QFETCH(int, status);
        QFETCH(QStringList, groups);
        narrow(days, status);
        QCOMPARE(columnTexts(table, 0), groups);
    }
    void exports()
    {
        narrow(-1, 2);
        const QString csv = dir.filePath("due.csv");
        QCOMPARE(exportTo("csvButton", csv), "The list is written to " + csv + ".");
        QCOMPARE(fileBytes(csv), QByteArray("Group;Name;Last survey;Points;Below minimum;Warning;"
                                            "Suspect;Overdue;Cell;Point;Next inspection\r\n"
                                            "2;;2016-06-01;1;0;0;0;1;1;;2026-06-01\r\n"));
        QVERIFY(exportTo("csvButton", csv + "/due.csv")
                    .startsWith("The list cannot be written to " + csv + "/due.csv: "));
        QCOMPARE(fileBytes(csv).count('\n'), 2);

        narrow(3285, 0);
        const QString ics = dir.filePath("due.ics");
        QVERIFY(exportTo("calendarButton", ics).startsWith("The list is written"));
        const QByteArray calendar = fileBytes(ics);
        QVERIFY(calendar.startsWith("BEGIN:VCALENDAR\r\n") &&
                calendar.endsWith("END:VCALENDAR\r\n"));
        QCOMPARE(calendar.count("BEGIN:VEVENT"), 2);
        QVERIFY(calendar.contains("DTSTART;VALUE=DATE:20260601\r\n"));

        narrow(-1, 0);
        const QString pdf = dir.filePath("due.pdf");
        QVERIFY(exportTo("pdfButton", pdf).startsWith("The list is written"));
        if (!popplerThere())
            QSKIP("poppler-utils is not installed");
        const QString page = pdfText(pdf, 1);
        for (const QString &line :
             {"Inspections due Date: 2026-06-02 Archive: sqlite:" + dir.filePath("archive.sqlite"),
              QStringLiteral("Objects: 3 Group Last survey Points Below minimum Warning Suspect "
                             "Overdue Point Next inspection"),
              QStringLiteral("1 \u2013 Tank 1 shell 2025-06-01 2 1 0 0 0 2 CML-02 2025-06-01 2 "
                             "2016-06-01 1 0 0 0 1 1 2026-06-01 3 2025-06-01 1 0 0 0 0 1 "
                             "2035-06-01"),
              QStringLiteral("Page 1 of 1")})
            QVERIFY2(page.contains(line), qPrintable(page));
    }
    // Object 2's newest download is the one of 2016, with its one row.
    void doubleClickOpensTheNewestDownload()
    {
        narrow(-1, 0);
        const QRect row = table->visualItemRect(table->item(1, 0));
        // The view takes a double click only after the first click's press and release.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row.center());
        auto *results = w->findChild<QTableWidget *>(QStringLiteral("tableWidget"));
        QTRY_VERIFY(!results->isHidden());
        QCOMPARE(rowTexts(results, 0).mid(0, 3), (QStringList{"2", "1", "9.90"}));
        QVERIFY(w->findChild<EvaluationWindow *>()->isVisible());
        window->close();
        w->findChild<QToolButton *>(QStringLiteral("dueButton"))->click();
        QVERIFY(window->isVisible());
    }

private:
    void narrow(int days, int status)
    {
        child<QCheckBox>(*window, "withinCheck")->setChecked(days >= 0);
        child<QSpinBox>(*window, "daysSpin")->setValue(std::max(0, days));
        child<QComboBox>(*window, "statusCombo")->setCurrentIndex(status);
    }
    QString message() const { return child<QLabel>(*window, "messageLabel")->text(); }
    // The message the window gives after writing the file chosen in the dialog.
    QString exportTo(const char *button, const QString &path)
    {
        answerNextFileDialog(path);
        child<QPushButton>(*window, button)->click();
        return message();
    }

    TestProgramFolder programFolder;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> w;
    DueWindow *window = nullptr;
    QTableWidget *table = nullptr;
};

QTEST_MAIN(TestDueWindow)
#include "tst_duewindow.moc"
