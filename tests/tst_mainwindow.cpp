// SPDX-License-Identifier: GPL-3.0-or-later
// The window with results put in directly, as a download leaves them (no tester involved), and
// the window in Russian.
#include "app/devicewatcher.h"
#include "app/mainwindow.h"
#include "ascan/scaleframe.h"
#include "data/collatrix.h"
#include "device/kvtustester.h"
#include "format/atomicfile.h"
#include "modaldriver.h"
#include "pdftools.h"
#include "programfolder.h"
#include "scriptedtester.h"
#include "services/keptfolder.h"
#include "testfiles.h"

#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTableWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTranslator>

#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        w = std::make_unique<MainWindow>();
        w->setTransferMessageDuration(0);
        w->setTransferTickDuration(1);
    }
    void tableAndClipboard()
    {
        load(true);
        QCOMPARE(table()->rowCount(), 3);
        QCOMPARE(table()->columnCount(), 5);
        QVERIFY(!table()->item(0, 4)->icon().isNull());
        QVERIFY(table()->item(1, 4)->icon().isNull());
        // Ctrl+C: the selected rows, a tab between cells, a line end after each row.
        table()->selectRow(2);
        table()->setRangeSelected(QTableWidgetSelectionRange(0, 0, 0, 4), true);
        QTest::keyClick(w.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("1\t1\t12.50\tmm\t\n3\t7\t0.005\tInches\t\n"));

        load(false);
        QCOMPARE(table()->columnCount(), 4);
        table()->selectAll();
        QTest::keyClick(w.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("1\t1\t12.50\tmm\n1\t2\t36.6\tmm\n3\t7\t0.005\tInches\n"));
    }
    void contextMenuOnlyOverShownTable()
    {
        w->show();
        QStringList seen;
        const auto rightClick = [this, &seen](QPoint pos) {
            seen.clear();
            QTimer::singleShot(50, [&seen]() {
                if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                    for (QAction *a : menu->actions())
                        seen << a->text();
                    menu->close();
                }
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, pos, w->mapToGlobal(pos));
            QApplication::sendEvent(w.get(), &event);
            QTest::qWait(100);
        };
        load(true);
        QApplication::processEvents();
        const QRect area = table()->geometry();
        rightClick(child<QToolButton>("trnsfrDataButton")->geometry().center());
        QVERIFY(seen.isEmpty());
        rightClick(area.center());
        QCOMPARE(seen, QStringList({"To clipboard", "Save all data", "Save selected rows",
                                    "Report...", "Archive...", "Evaluation...",
                                    "Review doubtful readings...", "Inspections due..."}));
        clickNextMessageBox(QMessageBox::No); // a new transfer: the rows stay, but hidden
        w->setTransferTickDuration(60000);    // while it has not ended
        child<QToolButton>("trnsfrDataButton")->click();
        rightClick(area.center());
        QVERIFY(seen.isEmpty());
    }
    void saveRows_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QList<int>>("written");
        QTest::newRow("Save As, none selected") << "button" << QList<int>{} << QList<int>{0, 1, 2};
        QTest::newRow("Save As, one row") << "button" << QList<int>{1} << QList<int>{0, 1, 2};
        QTest::newRow("Save As, two rows") << "button" << QList<int>{0, 2} << QList<int>{0, 2};
        QTest::newRow("Save selected rows") << "selected" << QList<int>{1} << QList<int>{1};
        QTest::newRow("Save all data") << "all" << QList<int>{0, 2} << QList<int>{0, 1, 2};
    }
    void saveRows()
    {
        QFETCH(QString, command);
        QFETCH(QList<int>, selected);
        QFETCH(QList<int>, written);
        load(false);
        for (int row : selected)
            table()->setRangeSelected(QTableWidgetSelectionRange(row, 0, row, 3), true);
        // No data folder: the proposal is the first free name in the program folder.
        controller()->dataPath = QDir::currentPath() + QStringLiteral("/Data/");
        QVERIFY(writeFile(QDir::current().filePath(QStringLiteral("results1.csv")), "kept"));
        const QString path = out.filePath(QStringLiteral("saved.csv"));
        QString proposed;
        answerNextFileDialog(path, &proposed);
        if (command == "button")
            child<QToolButton>("saveAsButton")->click();
        else
            child<QAction>(command == "all" ? "saveAllAction" : "saveSelectedAction")->trigger();
        const QByteArray lines[] = {"\"Group\";\"Cell\";\"Result\";\"Unit\"\r\n",
                                    "1;1;12.50;\"mm\"\r\n", "1;2;36.6;\"mm\"\r\n",
                                    "3;7;0.005;\"Inches\"\r\n"};
        QByteArray expected = lines[0];
        for (int row : written)
            expected += lines[row + 1];
        QCOMPARE(fileBytes(path), expected);
        QVERIFY(!QFile::exists(out.filePath(QStringLiteral("saved-evaluation.csv")))); // no limits
        QVERIFY(!controller()->unsavedData);
        QCOMPARE(proposed, QDir::current().filePath(QStringLiteral("results2.csv")));
        QCOMPARE(controller()->dataPath, out.path() + '/'); // the next proposal is beside this one
    }
    void unsavedQuestionOnClose_data()
    {
        QTest::addColumn<int>("answer"); // 0: nothing unsaved, so no question
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << QString() << false;
        QTest::newRow("No") << int(QMessageBox::No) << QString() << true;
        QTest::newRow("Yes, dialog cancelled") << int(QMessageBox::Yes) << QString() << false;
        // A regular file where the folder should be: as root no permission stops a write.
        QTest::newRow("Yes, save fails") << int(QMessageBox::Yes) << "blocker/r.csv" << false;
        QTest::newRow("Yes, saved") << int(QMessageBox::Yes) << "r.csv" << true;
        QTest::newRow("nothing unsaved") << 0 << QString() << true;
    }
    void unsavedQuestionOnClose()
    {
        QFETCH(int, answer);
        QFETCH(QString, file);
        QFETCH(bool, closes);
        QVERIFY(writeFile(out.filePath(QStringLiteral("blocker")), "x"));
        w->show();
        if (answer != 0)
            load(false);
        if (answer != 0)
            clickNextMessageBox(QMessageBox::StandardButton(answer));
        // A save that fails is told in a message of its own.
        const bool fails = !closes && !file.isEmpty();
        QString told;
        const auto tell = [&told] { clickNextMessageBox(QMessageBox::Ok, &told); };
        if (answer == QMessageBox::Yes)
            answerNextFileDialog(file.isEmpty() ? QString() : out.filePath(file), nullptr,
                                 fails ? std::function<void()>(tell) : std::function<void()>());
        QCOMPARE(w->close(), closes);
        // A save that failed names the file and the reason, and the results stay unsaved.
        QVERIFY2(!fails || (told.contains(out.filePath(file) + ": ") &&
                            !QFileInfo::exists(out.filePath(file))),
                 qPrintable(told));
    }
    void ascanWindowFollowsTable()
    {
        load(true);
        w->show();
        auto *ascan = child<QWidget>("ascanWindowGUI");
        emit table()->cellClicked(1, 4); // a row without an A-scan
        emit table()->cellClicked(0, 3); // not the A-scan column
        QVERIFY(ascan->isHidden());
        emit table()->cellClicked(0, 4);
        QVERIFY(ascan->isVisible());

        // Heading and depth scale follow the current row; the scale steps differ for mm and inches.
        auto *depth = child<QScaleFrame>("HScaleFrame");
        table()->setCurrentCell(2, 0);
        QCOMPARE(child<QLabel>("LValue")->text(), QStringLiteral("0.005 Inches"));
        QCOMPARE(child<QLabel>("LGroup")->text() + child<QLabel>("LNumber")->text(),
                 QStringLiteral("Group  3Cell  7"));
        QCOMPARE(depth->majorStep, 0.1);
        table()->setCurrentCell(0, 0);
        QCOMPARE(child<QLabel>("LValue")->text(), QStringLiteral("12.5 mm"));
        QCOMPARE(depth->majorStep, 0.05);
    }
    void keptAndOpenedAgain()
    {
        // Not kept: told once a run, where it tried; the download itself goes on as usual.
        QVERIFY(writeFile(out.filePath(QStringLiteral("file")), "x"));
        const QByteArray home = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", out.filePath(QStringLiteral("file")).toLocal8Bit());
        QString told;
        clickNextMessageBox(QMessageBox::Ok, &told);
        load(true);
        QVERIFY2(told.contains("Downloads are not being kept: " + out.filePath("file")),
                 qPrintable(told));
        load(true);
        QCOMPARE(table()->rowCount(), 3);
        qputenv("XDG_DATA_HOME", home);

        load(true);
        const QString kept = controller()->download->keptFile;
        CKeptDownload file;
        QVERIFY(file.readFile(kept, false, &told));
        QCOMPARE(file.aScans.size(), 2); // the prefetch added them
        table()->setCurrentCell(2, 0);
        const QImage live = child<QWidget>("ascanWindowGUI")->grab().toImage();

        // The unsaved-data question comes first; Cancel leaves everything as it is.
        const int requests = int(line().frames.size());
        clickNextMessageBox(QMessageBox::Cancel);
        QVERIFY(!w->openDownload(kept));
        QVERIFY(controller()->unsavedData);
        // A bad file is named with what is wrong, and nothing changes.
        controller()->unsavedData = false;
        const QString bad = out.filePath(QStringLiteral("bad.clxd"));
        QVERIFY(writeFile(bad, fileBytes(kept).chopped(40)));
        clickNextMessageBox(QMessageBox::Ok, &told);
        QVERIFY(!w->openDownload(bad));
        QCOMPARE(told, "Cannot open " + bad + ":\nthe file is cut short.");
        QVERIFY(!controller()->download->fromFile && !controller()->unsavedData);

        // Dropped on the window, the kept file shows the same rows and A-scans, none fetched again.
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(kept)});
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        static_cast<QObject *>(w.get())->event(
            &drop); // the application passes drops only in a drag
        QVERIFY(controller()->download->fromFile);
        table()->setCurrentCell(1, 0); // no A-scan: an empty trace, not a request
        table()->setCurrentCell(2, 0);
        QCOMPARE(child<QWidget>("ascanWindowGUI")->grab().toImage(), live);
        QCOMPARE(int(line().frames.size()), requests);

        // Ctrl+O starts in the downloads folder; the third file type reads 32-byte records.
        QString folder;
        answerNextModal<QFileDialog>([&folder](QFileDialog *dialog) {
            folder = dialog->directory().absolutePath();
            dialog->selectNameFilter(dialog->nameFilters().at(2));
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                ->setText(COLLATRIX_SOURCE_DIR "/tests/data/layout3.bin");
            static_cast<QDialog *>(dialog)->done(QDialog::Accepted);
        });
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(folder, CKeptFolder::defaultPath());
        QCOMPARE(table()->columnCount(), 5);
        QVERIFY(controller()->download->keptFile.isEmpty());
    }
    void reportOfSelectedRows()
    {
        if (!popplerThere())
            QSKIP("poppler-utils is not installed");
        load(true);
        table()->setRangeSelected(QTableWidgetSelectionRange(1, 0, 2, 4), true);
        const QString pdf = out.filePath(QStringLiteral("report.pdf"));
        QString proposed;
        answerNextFileDialog(pdf, &proposed);
        // Offscreen, no window manager hands the activation back when the outcome message goes.
        w->show();
        QApplication::setActiveWindow(w.get());
        QTest::keyClick(w.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(QFileInfo(proposed).fileName(), QStringLiteral("report1.pdf"));
        QVERIFY(pdfText(pdf, 1).contains("Port: COM3 Results: 2 A-scans: 1"));
        QCOMPARE(pdfImages(pdf), 1);
    }
    // Running lupdate over the sources changes nothing: no text is new, none gone, none unfinished.
    void catalogueFollowsTheSources()
    {
        const QString lupdate = QStandardPaths::findExecutable(
            QStringLiteral("lupdate"),
            {QStringLiteral("/usr/lib/qt6/bin"), QStringLiteral("/usr/bin")});
        if (lupdate.isEmpty())
            QSKIP("lupdate is not installed (qt6-l10n-tools)");
        const QByteArray catalogue =
            fileBytes(COLLATRIX_SOURCE_DIR "/translations/collatrix_ru.ts");
        QVERIFY(!catalogue.contains("<translation type=") &&
                !catalogue.contains("<translation></"));
        const QString copy = out.filePath(QStringLiteral("collatrix_ru.ts"));
        QVERIFY(writeFile(copy, catalogue));
        QProcess run;
        run.setWorkingDirectory(QStringLiteral(COLLATRIX_SOURCE_DIR));
        run.start(lupdate, {"app", "forms", "format", "archive", "services", "data", "ascan",
                            "device", "evaluation", "evaluationview", "report", "-ts", copy,
                            "-locations", "none", "-no-obsolete"});
        QVERIFY(run.waitForFinished(60000) && run.exitCode() == 0);
        QCOMPARE(QString::fromUtf8(fileBytes(copy)), QString::fromUtf8(catalogue));
    }
    // The help pages, their pictures and the about page, found beside the program and translated.
    void russianPages()
    {
        QTranslator russian;
        QVERIFY(russian.load(QStringLiteral(COLLATRIX_BIN_DIR "/translations/collatrix_ru.qm")));
        QVERIFY(QCoreApplication::installTranslator(&russian));
        init();
        auto *help = child<QTextBrowser>("helpTBrowser");
        QCOMPARE(help->source(), QUrl(QStringLiteral("index_ru.html")));
        QCOMPARE(help->documentTitle(), QStringLiteral("Справка Collatrix"));
        QVERIFY(help->loadResource(QTextDocument::ImageResource,
                                   QUrl(QStringLiteral("main_window.png")))
                    .isValid());
        QTest::keyClick(w.get(), Qt::Key_F1);
        QVERIFY(child<QWidget>("HelpWindowGUI")->isVisible());
        const QString about = child<QTextBrowser>("aboutTBrowser")->toPlainText();
        QVERIFY2(about.contains(QStringLiteral("Collatrix M47T " COLLATRIX_VERSION)),
                 qPrintable(about));
        QVERIFY(about.contains(QStringLiteral("Разработка и производство.")));
        w.reset();
    }

    void picturesNotSaved()
    {
        load(true);
        CAtomicFile::setByteLimit(1000); // the CSV fits, a picture does not
        QString told;
        answerNextFileDialog(out.filePath("p.csv"), nullptr,
                             [&told] { clickNextMessageBox(QMessageBox::Ok, &told); });
        child<QToolButton>("saveAsButton")->click();
        CAtomicFile::setByteLimit(-1);
        QVERIFY2(told.endsWith(out.filePath("p/ascan_1_1.bmp: No space left on device\n") +
                               out.filePath("p/ascan_3_7.bmp: No space left on device")),
                 qPrintable(told));
        QVERIFY(controller()->unsavedData && QDir(out.filePath("p")).isEmpty());
    }

private:
    // Groups 1 and 3 (group 2 empty); rows 0 and 2 have A-scans.
    void load(bool withAScans)
    {
        // 12.50 mm (fine), 36.6 mm, 0.005 inches (fine); rows 0 and 2 stored with an A-scan.
        const int readings[][5] = {{1, 1, 1250, 1, 0}, {1, 2, 366, 0, 0}, {3, 7, 5, 1, 1}};
        std::string dump = m47Header(withAScans ? 0 : 1); // layout 3: no count, ends at once
        for (const auto &r : readings) {
            std::string record(withAScans ? 32 : 8, '\0');
            record[0] = char(r[0]), record[2] = char(r[1]), record[4] = char(r[2] & 0xFF);
            record[5] = char(r[2] >> 8), record[6] = char(r[3]), record[7] = char(r[4]);
            if (withAScans)
                record[15] = char(r[0] != 1 || r[1] != 2);
            dump += record;
        }
        dump.resize(withAScans ? dump.size() : 11 + 256, '\0');
        std::string ascan(384, '\x20');
        ascan.replace(240 + 9, 6, std::string("\0\0\0\x1E\0\0", 6)); // the trace spans 0 to 0.30
        line().reset();
        line().replyTo(3, CKVTUSTester::Identify, "Tarn Qellix");
        line().replyTo(3, CKVTUSTester::ProbeExtended, withAScans ? "Yeah" : "");
        line().replyTo(3, withAScans ? CKVTUSTester::StartExtendedDump : CKVTUSTester::StartDump,
                       dump);
        line().replyTo(3, CKVTUSTester::RequestAScan, ascan);
        emit w->findChild<CDeviceWatcher *>()->devicesChanged();
        if (controller()->unsavedData)
            clickNextMessageBox(QMessageBox::No);
        child<QToolButton>("trnsfrDataButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!table()->isHidden(), 5000);
    }
    template <typename T> T *child(const char *name) const
    {
        return w->findChild<T *>(QLatin1String(name));
    }
    QTableWidget *table() const { return child<QTableWidget>("tableWidget"); }
    CCollatrix *controller() const { return w->findChild<CCollatrix *>(); }

    TestProgramFolder programFolder;
    QTemporaryDir out;
    std::unique_ptr<MainWindow> w;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
