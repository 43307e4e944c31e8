#include "app/mainwindow.h"
#include "ascan/scaleframe.h"
#include "data/collatrix.h"
#include "device/comport.h"
#include "modaldriver.h"
#include "portsfolder.h"
#include "ui_aboutwindowgui.h"
#include "ui_ascanwindowgui.h"
#include "ui_helpwindowgui.h"
#include "ui_mainwindowgui.h"
#include "ui_progresswindowgui.h"

#include "testfiles.h"
#include <QClipboard>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "programfolder.h"

#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startsIdle();
    void tableRowsFollowRecords();
    void clipboardText();
    void contextMenuOnlyOverFilledTable();
    void keys();
    void ascanWindowDocking();
    void ascanHeadingAndDepthScale();
    void saveWritesCsvAndPictures();
    void saveProposalAndSelection();
    void unsavedDataGuard();
    void progressWindowFollowsMoves();
    void aboutAndHelpWindows();
    void ascanPictureSaveAndCopy();

private:
    static CCollatrix *controller(MainWindow &w) { return w.controller; }
    static Ui::MainWindowGUI *ui(MainWindow &w) { return w.ui; }
    static void load(MainWindow &w, bool withAScans);
    static QString cellText(MainWindow &w, int row, int column);

    TestPortsFolder ports; // no tester anywhere
    QTemporaryDir out;
    TestProgramFolder programFolder;
};

namespace
{

MeasurementRecord rec(int group, int cell, int raw, int divisor, int unit, bool ascan)
{
    return {group, cell, raw, divisor, 3, unit, ascan};
}

} // namespace

void TestMainWindow::initTestCase() {}

// Results as a download leaves them: groups 1 and 3, group 2 empty.
void TestMainWindow::load(MainWindow &w, bool withAScans)
{
    CZRData &d = controller(w)->measurements;
    d.clear();
    d.append(rec(1, 1, 1250, 100, 2, true));
    d.append(rec(1, 2, 366, 10, 2, false));
    d.append(rec(3, 7, 5, 1000, 3, true));
    d.hasAScans = withAScans;
    controller(w)->unsavedData = true;
    w.applyResultsView();
}

QString TestMainWindow::cellText(MainWindow &w, int row, int column)
{
    const QTableWidgetItem *item = ui(w)->tableWidget->item(row, column);
    return item != nullptr ? item->text() : QStringLiteral("<none>");
}

void TestMainWindow::startsIdle()
{
    MainWindow w;
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("Collatrix M47T"));
    QVERIFY(!ui(w)->trnsfrDataButton->isEnabled());
    QVERIFY(!ui(w)->saveAsButton->isEnabled());
    QVERIFY(!ui(w)->ascanButton->isEnabled());
    QVERIFY(ui(w)->tableWidget->isHidden());
    QVERIFY(ui(w)->bckgroundLabel->isVisible());
    QVERIFY(w.progressWindow->isHidden());
    QVERIFY(w.ascanWindow->isHidden());
    QCOMPARE(ui(w)->tableWidget->columnCount(), 6);
    QCOMPARE(ui(w)->tableWidget->horizontalHeaderItem(4)->text(), QStringLiteral("A-Scan"));
    QCOMPARE(ui(w)->tableWidget->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(ui(w)->tableWidget->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(w.contextMenuPolicy(), Qt::DefaultContextMenu);
    QCOMPARE(w.toClipboardAction->text(), QStringLiteral("To clipboard"));
    QCOMPARE(w.progressWindow->windowFlags() & 0x02041803, Qt::WindowFlags(0x02041803));
    QVERIFY(w.progressUi->messageLabel->isHidden());
    // A timer event that is not the transfer's does not end a transfer that never ran.
    QTimerEvent stray(4242);
    QApplication::sendEvent(&w, &stray);
    QVERIFY(w.progressUi->messageLabel->text().isEmpty());
    for (QToolButton *b : {ui(w)->trnsfrDataButton, ui(w)->saveAsButton, ui(w)->ascanButton,
                           ui(w)->helpButton, ui(w)->aboutButton})
        QVERIFY2(!b->icon().isNull(), qPrintable(b->objectName()));
}

void TestMainWindow::tableRowsFollowRecords()
{
    MainWindow w;
    load(w, true);
    QTableWidget *t = ui(w)->tableWidget;
    QVERIFY(!t->isHidden());
    QVERIFY(ui(w)->bckgroundLabel->isHidden());
    QVERIFY(ui(w)->saveAsButton->isEnabled());
    QVERIFY(ui(w)->ascanButton->isEnabled());
    QCOMPARE(t->rowCount(), 3);
    QCOMPARE(t->columnCount(), 5);
    const QStringList expected[] = {
        {"1", "1", "12.50", "mm"}, {"1", "2", "36.6", "mm"}, {"3", "7", "0.005", "Inches"}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            QCOMPARE(cellText(w, row, column), expected[row][column]);
    QVERIFY(!t->item(0, 4)->icon().isNull());
    QVERIFY(t->item(1, 4)->icon().isNull());
    QVERIFY(t->item(1, 4)->text().isEmpty());

    load(w, false);
    QCOMPARE(t->columnCount(), 4);
    QVERIFY(!ui(w)->ascanButton->isEnabled());
    load(w, true);
    QCOMPARE(t->columnCount(), 5);
    QCOMPARE(t->horizontalHeaderItem(4)->text(), QStringLiteral("A-Scan"));

    controller(w)->measurements.clear();
    w.fillTable();
    QCOMPARE(t->rowCount(), 0);
    QCOMPARE(t->columnCount(), 5);
}

void TestMainWindow::clipboardText()
{
    MainWindow w;
    load(w, true);
    QTableWidget *t = ui(w)->tableWidget;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("old"));
    w.dataToClipboard();
    QCOMPARE(clipboard->text(), QString());

    t->selectRow(2);
    t->setRangeSelected(QTableWidgetSelectionRange(0, 0, 0, 4), true);
    w.dataToClipboard();
    QCOMPARE(clipboard->text(), QStringLiteral("1\t1\t12.50\tmm\t\n3\t7\t0.005\tInches\t\n"));

    load(w, false);
    t->selectAll();
    w.dataToClipboard();
    QCOMPARE(clipboard->text(),
             QStringLiteral("1\t1\t12.50\tmm\n1\t2\t36.6\tmm\n3\t7\t0.005\tInches\n"));
}

void TestMainWindow::contextMenuOnlyOverFilledTable()
{
    MainWindow w;
    w.show();
    QStringList seen;
    const auto rightClick = [&w, &seen](QPoint pos) {
        seen.clear();
        QTimer::singleShot(50, [&seen]() {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (QAction *a : menu->actions())
                    seen << a->text();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, w.mapToGlobal(pos));
        QApplication::sendEvent(&w, &event);
        QTest::qWait(100);
    };
    rightClick(QPoint(5, 5));
    QVERIFY(seen.isEmpty());
    load(w, true);
    QApplication::processEvents();
    const QRect table = ui(w)->tableWidget->geometry();
    rightClick(ui(w)->trnsfrDataButton->geometry().center());
    QVERIFY(seen.isEmpty());
    rightClick(table.center());
    QCOMPARE(seen, QStringList({"To clipboard", "Save all data", "Save selected rows"}));
    rightClick(table.bottomRight());
    QCOMPARE(seen.size(), 3);
    w.applyIdleView(); // as a new transfer or a failed reception leaves it: rows, but hidden
    rightClick(table.center());
    QVERIFY(seen.isEmpty());
}

void TestMainWindow::keys()
{
    MainWindow w;
    load(w, false);
    QClipboard *clipboard = QGuiApplication::clipboard();
    ui(w)->tableWidget->selectRow(1);
    for (Qt::KeyboardModifiers mods :
         {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
        clipboard->setText(QStringLiteral("old"));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_C, mods);
        QApplication::sendEvent(&w, &press);
        QCOMPARE(clipboard->text(), QStringLiteral("1\t2\t36.6\tmm\n"));
    }
    clipboard->setText(QStringLiteral("old"));
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QString(), true);
    QApplication::sendEvent(&w, &repeat);
    QCOMPARE(clipboard->text(), QStringLiteral("old"));
    QKeyEvent plainC(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier);
    QApplication::sendEvent(&w, &plainC);
    QCOMPARE(clipboard->text(), QStringLiteral("old"));

    QVERIFY(w.helpWindow->isHidden());
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&w, &f1);
    QVERIFY(w.helpWindow->isVisible());
}

void TestMainWindow::ascanWindowDocking()
{
    MainWindow w;
    w.move(100, 80);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.onSwitchAscan();
    QVERIFY(w.ascanWindow->isVisible());
    const QRect frame = w.frameGeometry();
    QCOMPARE(w.ascanWindow->frameGeometry().topLeft(),
             QPoint(frame.x() + frame.width() - 1, frame.y()));
    w.onSwitchAscan();
    QVERIFY(w.ascanWindow->isHidden());

    load(w, true);
    w.onTableClicked(1, 4); // a row without an A-scan
    w.onTableClicked(0, 3); // not the A-scan column
    QVERIFY(w.ascanWindow->isHidden());
    w.onTableClicked(0, 4);
    QVERIFY(w.ascanWindow->isVisible());
    // A window the user moved stays where it is on the next click.
    w.ascanWindow->move(10, 10);
    const QPoint moved = w.ascanWindow->pos();
    w.onTableClicked(2, 4);
    QCOMPARE(w.ascanWindow->pos(), moved);
    load(w, false);
    w.onSwitchAscan();
    w.onTableClicked(0, 4);
    QVERIFY(w.ascanWindow->isHidden());
}

void TestMainWindow::ascanHeadingAndDepthScale()
{
    MainWindow w;
    Ui::ascanWindowGUI *a = w.ascanUi;
    QVERIFY(a->LValue->text().isEmpty());
    QCOMPARE(w.ascanWindow->windowTitle(), QStringLiteral("A-Scan"));
    MeasurementRecord r = rec(3, 7, 366, 10, 2, true);
    AScanParams p;
    p.rangeEnd = 50;
    w.updateAscanWindow(&p, &r);
    QCOMPARE(a->LValue->text(), QStringLiteral("36.6 mm"));
    QCOMPARE(a->LGroup->text(), QStringLiteral("Group  3"));
    QCOMPARE(a->LNumber->text(), QStringLiteral("Cell  7"));
    QCOMPARE(a->HScaleFrame->majorStep, 10.0);
    QCOMPARE(a->HScaleFrame->minorStep, 5.0);
    QCOMPARE(a->HScaleFrame->span, 50.0);
    QCOMPARE(a->HScaleFrame->unitText, QStringLiteral("mm"));
    for (int unit : {0, 1, 3}) {
        r.unit = unit;
        p.rangeStart = 1;
        p.rangeEnd = 3; // span 2 inches: 0.5
        w.updateAscanWindow(&p, &r);
        QVERIFY(a->LValue->text().endsWith(QStringLiteral(" Inches")));
        QCOMPARE(a->HScaleFrame->majorStep, 0.5);
        QCOMPARE(a->HScaleFrame->minValue, 1.0);
    }
    r.unit = 2;
    p.rangeStart = 0;
    p.rangeEnd = 600;
    w.updateAscanWindow(&p, &r);
    QCOMPARE(a->HScaleFrame->majorStep, 50.0);
    // Without a record the heading empties and the scale keeps the fine table.
    p.rangeEnd = 0.3;
    w.updateAscanWindow(&p, nullptr);
    QVERIFY(a->LValue->text().isEmpty());
    QCOMPARE(a->HScaleFrame->majorStep, 0.05);
    QCOMPARE(MainWindow::depthStep(0, true), 0.01);
}

void TestMainWindow::saveWritesCsvAndPictures()
{
    MainWindow w;
    load(w, true);
    // Pictures need the rows' A-scans; put them in the cache as a fetch would.
    for (int row : {0, 2}) {
        AScanEntry entry;
        entry.params.rangeEnd = 20;
        entry.trace = QVector<signed short>(239, short(40 + row));
        controller(w)->aScanCache.insert(row, entry);
    }
    const QString path = out.filePath(QStringLiteral("my.data.csv"));
    answerNextFileDialog(path);
    QVERIFY(w.saveAll());
    QCOMPARE(fileBytes(path), QByteArray("\"Group\";\"Cell\";\"Result\";\"Unit\";\"Ascan\"\r\n"
                                         "1;1;12.50;\"mm\";\"ascan_1_1.bmp\"\r\n"
                                         "1;2;36.6;\"mm\"\r\n"
                                         "3;7;0.005;\"Inches\";\"ascan_3_7.bmp\"\r\n"));
    QVERIFY(!controller(w)->unsavedData);
    QCOMPARE(controller(w)->dataPath, out.path() + QLatin1Char('/'));
    const QString folder = out.filePath(QStringLiteral("my/"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList({"ascan_1_1.bmp", "ascan_3_7.bmp"}));
    QImage picture(folder + QStringLiteral("ascan_3_7.bmp"));
    QCOMPARE(picture.size(), w.ascanWindow->size());
}

void TestMainWindow::saveProposalAndSelection()
{
    MainWindow w;
    load(w, false);
    QTemporaryDir dir;
    controller(w)->dataPath = dir.path() + QStringLiteral("/./");
    for (const char *name : {"results1.csv", "results2.csv"}) {
        QFile f(dir.filePath(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QString proposed;
    answerNextFileDialog(QString(), &proposed);
    QVERIFY(!w.save());
    QCOMPARE(proposed, dir.filePath(QStringLiteral("results3.csv")));
    QCOMPARE(controller(w)->dataPath, dir.path() + QLatin1Char('/'));
    QVERIFY(controller(w)->unsavedData);

    // One selected row: Save As saves all rows. Two: only those.
    QTableWidget *t = ui(w)->tableWidget;
    t->selectRow(1);
    const QString all = dir.filePath(QStringLiteral("all.csv"));
    answerNextFileDialog(all);
    QVERIFY(w.save());
    QCOMPARE(fileBytes(all).count("\r\n"), 4);
    t->selectRow(2);
    t->setRangeSelected(QTableWidgetSelectionRange(0, 0, 0, 3), true);
    const QString two = dir.filePath(QStringLiteral("two.csv"));
    answerNextFileDialog(two);
    QVERIFY(w.save());
    QCOMPARE(fileBytes(two), QByteArray("\"Group\";\"Cell\";\"Result\";\"Unit\"\r\n1;1;12.50;"
                                        "\"mm\"\r\n3;7;0.005;\"Inches\"\r\n"));

    // Nothing selected: "Save selected rows" writes the header alone and still counts as saved.
    t->clearSelection();
    controller(w)->unsavedData = true;
    const QString none = dir.filePath(QStringLiteral("none.csv"));
    answerNextFileDialog(none);
    QVERIFY(w.saveSelected());
    QCOMPARE(fileBytes(none), QByteArray("\"Group\";\"Cell\";\"Result\";\"Unit\"\r\n"));
    QVERIFY(!controller(w)->unsavedData);

    // A missing data folder proposes the name in the current (program) folder.
    controller(w)->dataPath = dir.path() + QStringLiteral("/missing/");
    answerNextFileDialog(QString(), &proposed);
    QVERIFY(!w.saveAll());
    QCOMPARE(QFileInfo(proposed).absolutePath(), QDir::currentPath());
}

void TestMainWindow::unsavedDataGuard()
{
    MainWindow w;
    w.show();
    load(w, false);
    QString question;
    clickNextMessageBox(QMessageBox::Cancel, &question);
    QVERIFY(!w.close());
    QCOMPARE(question, QStringLiteral("Received data will be lost. Do you want to save it?"));
    QVERIFY(w.isVisible());

    clickNextMessageBox(QMessageBox::Yes);
    answerNextFileDialog(QString());
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());

    // Transfer with Cancel: nothing starts.
    clickNextMessageBox(QMessageBox::Cancel);
    w.TransferData();
    QCOMPARE(w.transferTimerId, 0);
    QVERIFY(ui(w)->tableWidget->isVisible());

    clickNextMessageBox(QMessageBox::No);
    QVERIFY(w.close());

    MainWindow saved;
    saved.show();
    load(saved, false);
    controller(saved)->unsavedData = false;
    QVERIFY(saved.close()); // no question when nothing is unsaved
}

void TestMainWindow::progressWindowFollowsMoves()
{
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.move(200, 150);
    QTest::qWait(50);
    const QRect main = w.frameGeometry();
    const QRect progress = w.progressWindow->frameGeometry();
    QCOMPARE(w.progressWindow->pos(), QPoint(w.x() + (main.width() - progress.width()) / 2,
                                             w.y() + (main.height() - progress.height()) / 2));
}

void TestMainWindow::aboutAndHelpWindows()
{
    MainWindow w;
    w.show();
    QWidget *about = w.aboutWindow;
    QTextBrowser *page = w.aboutUi->aboutTBrowser;
    QCOMPARE(about->windowTitle(), QStringLiteral("About Collatrix M47T"));
    QCOMPARE(about->minimumSize(), QSize(300, 450));
    QCOMPARE(about->maximumSize(), QSize(300, 450));
    QCOMPARE(about->windowModality(), Qt::WindowModal);
    QCOMPARE(page->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(page->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(!(page->textInteractionFlags() & Qt::TextSelectableByMouse));
    QVERIFY(page->openExternalLinks());
    const QString html = page->toHtml();
    QVERIFY(!html.contains(QLatin1String("Program name and version")));
    // The title replaces the placeholder inside its 16 pt bold span.
    QVERIFY2(html.contains(QRegularExpression(
                 QStringLiteral("font-size:16pt; font-weight:(600|700);\">Collatrix M47T 4.2<"))),
             qPrintable(html));
    QTest::mouseClick(w.ui->aboutButton, Qt::LeftButton);
    QVERIFY(about->isVisible());
    about->close();
    QVERIFY(about->isHidden());

    // The build copies Help/ beside the programs; without it the page stays empty, and no error.
    QWidget *help = w.helpWindow;
    QTextBrowser *browser = w.helpUi->helpTBrowser;
    QCOMPARE(help->windowTitle(), QStringLiteral("Collatrix M47T Help"));
    const QString helpFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/Help");
    QCOMPARE(browser->searchPaths(),
             QStringList({helpFolder, helpFolder + QStringLiteral("//Images")}));
    QCOMPARE(browser->toPlainText().isEmpty(),
             !QFile::exists(helpFolder + QStringLiteral("/index.html")));
    QTest::mouseClick(w.ui->helpButton, Qt::LeftButton);
    QVERIFY(help->isVisible());
    // Shown again by F1 without reloading: what the user navigated to stays.
    browser->setHtml(QStringLiteral("<p>where the user was</p>"));
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&w, &f1);
    QCOMPARE(browser->toPlainText(), QStringLiteral("where the user was"));
}

void TestMainWindow::ascanPictureSaveAndCopy()
{
    MainWindow w;
    load(w, true);
    AScanEntry entry;
    entry.params.rangeEnd = 50;
    entry.trace = QVector<signed short>(239, 30);
    controller(w)->aScanCache.insert(2, entry);
    QTemporaryDir dir;
    controller(w)->dataPath = dir.path() + QLatin1Char('/');
    ui(w)->tableWidget->setCurrentCell(2, 0);
    QString proposed;
    const QString path = dir.filePath(QStringLiteral("picture.bmp"));
    answerNextFileDialog(path, &proposed);
    QVERIFY(w.saveAScanPicture());
    QCOMPARE(QFileInfo(proposed).fileName(), QStringLiteral("ascan 3_7.bmp"));
    const QImage saved(path);
    QCOMPARE(saved.size(), w.ascanWindow->size());
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
             w.grabAscanWindow().toImage().convertToFormat(QImage::Format_RGB32));
    answerNextFileDialog(QString());
    QVERIFY(!w.saveAScanPicture());

    // No current row: the name has neither group nor cell.
    ui(w)->tableWidget->setCurrentCell(-1, -1);
    answerNextFileDialog(QString(), &proposed);
    QVERIFY(!w.saveAScanPicture());
    QCOMPARE(QFileInfo(proposed).fileName(), QStringLiteral("ascan _.bmp"));

    QGuiApplication::clipboard()->clear();
    w.ascanToClipboard();
    QCOMPARE(QGuiApplication::clipboard()->image().size(), w.ascanWindow->size());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
