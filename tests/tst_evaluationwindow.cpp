// SPDX-License-Identifier: GPL-3.0-or-later
// The Evaluation window on the newest of three surveys a year apart: the summary and the points
// needing action show the figures worked out by hand with the plant's name of a point beside its
// cell, a map cell tells its figures and where the point is when hovered
// and selects its row in the main window when clicked, and Save As writes the evaluation beside
// the unchanged results file.
#include "app/evaluationwindow.h"
#include "app/mainwindow.h"
#include "app/thicknessmapwidget.h"
#include "archive/archive.h"
#include "archivetesting.h"
#include "modaldriver.h"
#include "programfolder.h"
#include "services/archiveevaluation.h"
#include "services/keptfolder.h"
#include "tabletexts.h"
#include "testfiles.h"

#include <QDoubleSpinBox>
#include <QHelpEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QToolTip>
#include <QtTest>

class TestEvaluationWindow : public QObject
{
    Q_OBJECT

private slots:
    // The day after the newest survey, whatever the machine's clock says.
    void initTestCase() { qputenv("COLLATRIX_TODAY", "2025-06-02"); }
    void showsHandWorkedFigures()
    {
        const QString archivePath = dir.filePath(QStringLiteral("archive.sqlite"));
        qputenv("COLLATRIX_ARCHIVE", ("sqlite:" + archivePath).toLocal8Bit());
        const CKeptFolder folder(dir.filePath(QStringLiteral("kept")));
        const QList<QList<std::array<int, 5>>> surveys{
            {{3, 1, 1190, 1, 0}, {3, 2, 900, 1, 0}, {3, 3, 820, 1, 0}, {3, 4, 1000, 1, 0}},
            {{3, 1, 1150, 1, 0}, {3, 2, 880, 1, 0}, {3, 3, 800, 1, 0}, {3, 4, 1010, 1, 0}},
            {{3, 1, 1100, 1, 0}, {3, 2, 850, 1, 0}, {3, 3, 790, 1, 0}, {3, 4, 1020, 1, 0}}};
        QString problem;
        QStringList files;
        {
            CArchive archive(CArchiveLocation::embedded(archivePath));
            QVERIFY2(archive.open(&problem), qPrintable(problem));
            files = recordYearly(archive, folder, 2023, surveys, &problem);
            QVERIFY2(files.size() == 3, qPrintable(problem));
            QVERIFY(archive.setLimits({3, 12.0, 8.0, 1.0, QDateTime::currentDateTime()}, &problem));
            QVERIFY(archive.namePoints({{3, 2, "CML-02", "6 o'clock"}},
                                       QDateTime::currentDateTime(), QString(), &problem));
        }
        MainWindow w;
        w.show();
        QVERIFY(w.openDownload(files.at(2)));
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
        auto *window = w.findChild<EvaluationWindow *>();
        QVERIFY(window && window->isVisible());

        // Mean 37.60 / 4; sample deviation sqrt(6.26 / 3); life of cell 3 -0.10 / 0.1499.
        const auto *summary = window->findChild<QTableWidget *>(QStringLiteral("summaryTable"));
        QCOMPARE(summary->rowCount(), 1);
        QCOMPARE(rowTexts(summary, 0),
                 (QStringList{"3", "mm", "4", "7.90", "3", "11.00", "9.40", "1.445", "1", "1", "2",
                              "0", "0", "0", "0", "0", "-0.7"}));
        // Cell 4 grew; cell 1 reaches its minimum within the 10 years' maximum interval.
        const auto *actions = window->findChild<QTableWidget *>(QStringLiteral("actionTable"));
        QCOMPARE(actions->rowCount(), 3);
        QCOMPARE(rowTexts(actions, 0), (QStringList{"3", "3", "7.90 mm", "below minimum", "34.2",
                                                    "0.150", "-0.7", "2025-06-01"}));
        QCOMPARE(rowTexts(actions, 1), (QStringList{"3", "2 CML-02", "8.50 mm", "warning", "29.2",
                                                    "0.300", "1.7", "2026-04-01"}));
        QCOMPARE(rowTexts(actions, 2).value(1), QStringLiteral("1"));

        CThicknessMapWidget *map = window->map();
        const QPoint second = map->cellRect(2).center();
        QHelpEvent hover(QEvent::ToolTip, second, map->mapToGlobal(second));
        QApplication::sendEvent(map, &hover);
        for (const char *line :
             {"cell 2 CML-02: 8.50 mm", "Location: 6 o'clock", "Remaining life: 1.7 years"})
            QVERIFY2(QToolTip::text().contains(QLatin1String(line)), qPrintable(QToolTip::text()));
        QTest::mouseClick(map, Qt::LeftButton, {}, second);
        const auto *table = w.findChild<QTableWidget *>(QStringLiteral("tableWidget"));
        QCOMPARE(table->currentRow(), 1);
        QVERIFY(table->item(1, 0)->isSelected());

        // Save As: the results file as ever, the evaluation beside it.
        const QString saved = dir.filePath(QStringLiteral("survey.csv"));
        answerNextFileDialog(saved);
        w.findChild<QAction *>(QStringLiteral("saveAllAction"))->trigger();
        QCOMPARE(fileBytes(saved), QByteArray("\"Group\";\"Cell\";\"Result\";\"Unit\";\"Ascan\"\r\n"
                                              "3;1;11.00;\"mm\"\r\n3;2;8.50;\"mm\"\r\n"
                                              "3;3;7.90;\"mm\"\r\n3;4;10.20;\"mm\"\r\n"));
        const QList<QByteArray> evaluated =
            fileBytes(dir.filePath(QStringLiteral("survey-evaluation.csv"))).split('\n');
        QCOMPARE(evaluated.size(), 6);
        QCOMPARE(evaluated.at(2),
                 QByteArray("3;2;8.50;mm;warning;29.2;9.00;2023-06-01;8.80;2024-06-01;"
                            "0.250;0.300;0.300;1.7;2026-04-01;;0.250;0.029;0.433;8.000;"
                            "half-life\r"));

        // A new minimum goes to the archive on its thread; the window shows it once it is there:
        // cells 2 and 3 below 9.00, none in warning, two ok.
        window->findChild<QDoubleSpinBox *>(QStringLiteral("minimumSpin"))->setValue(9.0);
        window->findChild<QPushButton *>(QStringLiteral("applyButton"))->click();
        QTRY_COMPARE(rowTexts(summary, 0).mid(8, 3), (QStringList{"2", "0", "2"}));

        // Design data set since then decide the minimum: 9.50, the structural one, above the
        // pipe formula's 2.1 * 168.3 / (2 * (138 + 0.84)) = 1.273. A new warning margin applied
        // leaves the minimum the design's: the typed 9.00 stays under it, and limits applied as
        // they stand add no row.
        CArchive archive(CArchiveLocation::embedded(archivePath));
        QVERIFY(archive.open(&problem));
        QVERIFY(CArchiveEvaluation::setDesign(
            archive, 3, {DesignShape::Pipe, 2.1, 168.3, 138.0, 1.0, 1.0, 0.4, 9.5}, "P&ID",
            &problem));
        window->refresh();
        auto *minimum = window->findChild<QDoubleSpinBox *>(QStringLiteral("minimumSpin"));
        QCOMPARE(minimum->value(), 9.5);
        auto *warning = window->findChild<QDoubleSpinBox *>(QStringLiteral("warningSpin"));
        auto *apply = window->findChild<QPushButton *>(QStringLiteral("applyButton"));
        // The archive's thread writes in the order asked: the third row is the third press's.
        for (const double margin : {0.5, 0.5, 0.25}) {
            warning->setValue(margin);
            apply->click();
        }
        QTRY_COMPARE(archive.limitsHistory(3, &problem).size(), 4);
        const ArchiveLimits last = archive.limitsHistory(3, &problem).last();
        QCOMPARE(QList<double>({last.nominal, last.minimum, last.warning}),
                 QList<double>({12.0, 9.0, 0.25}));
        QTRY_COMPARE(minimum->value(), 9.5);
    }

private:
    TestProgramFolder programFolder;
    QTemporaryDir dir;
};

QTEST_MAIN(TestEvaluationWindow)
#include "tst_evaluationwindow.moc"
