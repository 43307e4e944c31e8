// SPDX-License-Identifier: GPL-3.0-or-later
// The review of a reading that grew: three surveys a year apart, the newest on screen with the
// A-scan of the doubted reading. The Review window lists it beside the previous counted reading,
// shows both A-scans or why one is missing, refuses a decision without a reason, and a
// verification reaches the archive and the Evaluation window, which counts the reading from then
// on and shows the object's name, the design minimum's derivation and the log. Help opens the
// window's own page.
#include "app/evaluationwindow.h"
#include "app/mainwindow.h"
#include "app/reviewwindow.h"
#include "archive/archive.h"
#include "archivetesting.h"
#include "programfolder.h"
#include "services/archiveevaluation.h"
#include "services/keptfolder.h"
#include "tabletexts.h"

#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <QtTest>

namespace
{

template <typename T> T *child(const QWidget &window, const char *name)
{
    return window.findChild<T *>(QLatin1String(name));
}

} // namespace

class TestReviewWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("COLLATRIX_TODAY", "2025-06-02"); }
    void verifiedReadingCounts()
    {
        const QString archivePath = dir.filePath(QStringLiteral("archive.sqlite"));
        qputenv("COLLATRIX_ARCHIVE", ("sqlite:" + archivePath).toLocal8Bit());
        const CKeptFolder folder(dir.filePath(QStringLiteral("kept")));
        // Cell 2 reads 9.00, 8.80, then 9.60: 0.80 mm thicker than the previous counted reading,
        // beyond the 0.5 mm tolerance.
        const QList<QList<std::array<int, 5>>> surveys{{{3, 1, 1190, 1, 0}, {3, 2, 900, 1, 0}},
                                                       {{3, 1, 1150, 1, 0}, {3, 2, 880, 1, 0}},
                                                       {{3, 1, 1100, 1, 0}, {3, 2, 960, 1, 1}}};
        const CArchiveLocation location = CArchiveLocation::embedded(archivePath);
        QString problem;
        QString onScreen;
        {
            CArchive archive(location);
            QVERIFY2(archive.open(&problem), qPrintable(problem));
            const QStringList files =
                recordYearly(archive, folder, 2023, surveys, &problem, [](int year, auto *kept) {
                    if (year == 2)
                        kept->aScans << aScanOf(3, 2);
                });
            QVERIFY2(files.size() == 3, qPrintable(problem));
            onScreen = files.last();
            QVERIFY(archive.nameGroup(3, QStringLiteral("Tank 3 shell"),
                                      at(QStringLiteral("2023-06-01T10:00:00+00:00")), &problem));
            QVERIFY(archive.setLimits(
                {3, 12.0, 8.0, 1.0, QDateTime::currentDateTime().addSecs(-60)}, &problem));
            // 2 · 168.3 / (2 · (138 + 2 · 0.4)) = 1.21, under the structural 3.
            QVERIFY2(CArchiveEvaluation::setDesign(archive, 3,
                                                   {DesignShape::Pipe, 2, 168.3, 138, 1, 1, 0.4, 3},
                                                   QStringLiteral("drawing 12-A"), &problem),
                     qPrintable(problem));
        }
        MainWindow w;
        w.show();
        QVERIFY(w.openDownload(onScreen));
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
        auto *evaluation = w.findChild<EvaluationWindow *>();
        QVERIFY(evaluation && evaluation->isVisible());
        const auto *actions = child<QTableWidget>(*evaluation, "actionTable");
        QCOMPARE(rowTexts(actions, actions->rowCount() - 1).mid(0, 4),
                 (QStringList{"3 \u2013 Tank 3 shell", "2", "9.60 mm", "to review"}));
        QVERIFY2(child<QLabel>(*evaluation, "designLabel")
                     ->text()
                     .contains("pressure thickness 1.21, structural minimum 3.00, minimum "
                               "allowable 3.00"),
                 qPrintable(child<QLabel>(*evaluation, "designLabel")->text()));
        const auto *log = child<QTableWidget>(*evaluation, "logTable");
        QVERIFY(columnTexts(log, 5).contains("drawing 12-A"));

        child<QPushButton>(*evaluation, "reviewButton")->click();
        auto *review = w.findChild<ReviewWindow *>();
        QVERIFY(review && review->isVisible());
        const auto *readings = child<QTableWidget>(*review, "readingsTable");
        QCOMPARE(readings->rowCount(), 1);
        QCOMPARE(rowTexts(readings, 0), (QStringList{"3 \u2013 Tank 3 shell", "2", "9.60 mm",
                                                     "suspect: thicker", "8.80 mm", "2024-06-01"}));
        QVERIFY(!child<QLabel>(*review, "currentAScan")->pixmap().isNull());
        QCOMPARE(child<QLabel>(*review, "currentTitle")->text(),
                 QStringLiteral("This reading, 2025-06-01: 9.60 mm"));
        QCOMPARE(child<QLabel>(*review, "previousTitle")->text(),
                 QStringLiteral("Previous counted reading, 2024-06-01: 8.80 mm"));
        QTRY_COMPARE(child<QLabel>(*review, "previousAScan")->text(),
                     QStringLiteral("The A-scan of the previous reading was not fetched."));
        const auto *series = qobject_cast<QLineSeries *>(
            child<QChartView>(*review, "historyChart")->chart()->series().value(0));
        QVERIFY(series);
        QCOMPARE(series->points().size(), 3);
        QCOMPARE(series->points().at(2).y(), 9.6);

        // No decision without a reason; then one goes to the archive on its thread.
        auto *message = child<QLabel>(*review, "messageLabel");
        child<QPushButton>(*review, "verifyButton")->click();
        QVERIFY(message->text().startsWith("A decision needs a reason"));
        child<QLineEdit>(*review, "reasonEdit")->setText("second probe agrees");
        child<QPushButton>(*review, "verifyButton")->click();
        QTRY_COMPARE(message->text(), QStringLiteral("Group 3, cell 2: verified."));
        QCOMPARE(rowTexts(readings, 0).at(3), QStringLiteral("verified"));
        QVERIFY(!columnTexts(actions, 3).contains("to review"));
        QCOMPARE(log->item(log->rowCount() - 1, 5)->text(), QStringLiteral("second probe agrees"));

        child<QPushButton>(*review, "helpButton")->click();
        auto *help = w.findChild<QTextBrowser *>(QStringLiteral("helpTBrowser"));
        QCOMPARE(help->documentTitle(), QStringLiteral("The review of doubtful readings"));

        CArchive archive(location);
        QVERIFY2(archive.open(&problem), qPrintable(problem));
        const QList<ArchiveDecision> decisions = archive.decisions(&problem);
        QCOMPARE(decisions.size(), 1);
        const ArchiveDecision &d = decisions.first();
        QCOMPARE(
            QStringList({QString::number(d.group), QString::number(d.cell),
                         d.readingTime.toUTC().toString(Qt::ISODate), d.decision, d.reason}),
            (QStringList{"3", "2", "2025-06-01T10:00:00Z", "verified", "second probe agrees"}));
    }

private:
    TestProgramFolder programFolder;
    QTemporaryDir dir;
};

QTEST_MAIN(TestReviewWindow)
#include "tst_reviewwindow.moc"
