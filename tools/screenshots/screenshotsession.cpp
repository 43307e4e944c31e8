// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenshotsession.h"

#include "app/mainwindow.h"
#include "device/comport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QToolButton>

namespace
{

// A data set with A-scans (layout 3), slow enough on the line that the progress bar is caught
// half way. The seed keeps every picture the same from run to run.
const QStringList kTesterOptions{"--layout", "3",      "--groups", "3",      "--cells",
                                 "8",        "--seed", "7",        "--rate", "400"};
constexpr int kHiddenPorts = 128;
// Every widget the session looks up by name; checked once before the first picture.
const char *const kWidgetNames[] = {
    "trnsfrDataButton",  "ascanButton", "aboutButton",  "helpButton",     "tableWidget",
    "ProgressWindowGUI", "progressBar", "messageLabel", "ascanWindowGUI", "AboutWindowGUI",
    "HelpWindowGUI",     "dueButton",   "DueWindowGUI", "exportBox"};

// The second picture laid over the first with its top-left corner at offset; the canvas grows to
// hold both.
QPixmap overlay(const QPixmap &base, const QPixmap &top, QPoint offset)
{
    const QRect area = QRect(QPoint(0, 0), base.size()).united(QRect(offset, top.size()));
    QPixmap canvas(area.size());
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.drawPixmap(-area.topLeft(), base);
    painter.drawPixmap(offset - area.topLeft(), top);
    return canvas;
}

} // namespace

CScreenshotSession::CScreenshotSession(const QString &outputFolder, const QString &testerProgram)
    : output(outputFolder), tester(testerProgram)
{
    // Dangling COM1..COM128 entries hide the machine's own serial ports from the device search.
    for (int n = 1; n <= kHiddenPorts; ++n)
        QFile::link(ports.filePath(QStringLiteral("absent")),
                    ports.filePath(QStringLiteral("COM%1").arg(n)));
    CCOMPort::setPortsFolder(ports.path());
}

CScreenshotSession::~CScreenshotSession()
{
    if (testerProcess.state() != QProcess::NotRunning) {
        testerProcess.terminate();
        testerProcess.waitForFinished(5000);
    }
    CCOMPort::setPortsFolder(QString());
}

bool CScreenshotSession::run(QString *error)
{
    if (!output.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("cannot create %1").arg(output.path());
        return false;
    }
    if (!startTester(error))
        return false;
    MainWindow window;
    window.show();
    return takeAll(window, error);
}

bool CScreenshotSession::startTester(QString *error)
{
    testerProcess.start(tester, kTesterOptions + QStringList{"--ports-dir", ports.path()});
    // The tester's first line says where its terminal is linked.
    if (!testerProcess.waitForReadyRead(10000) || !testerProcess.readLine().contains(" linked ")) {
        *error =
            QStringLiteral("%1 did not link a port: %2").arg(tester, testerProcess.errorString());
        return false;
    }
    return true;
}

bool CScreenshotSession::takeAll(MainWindow &window, QString *error)
{
    for (const char *name : kWidgetNames) {
        if (window.findChild<QWidget *>(QLatin1String(name)) == nullptr) {
            *error =
                QStringLiteral("the main window has no widget named %1").arg(QLatin1String(name));
            return false;
        }
    }
    save(window.windowIcon().pixmap(128, 128), QStringLiteral("collatrix.png"));
    if (!save(&window, QStringLiteral("main_window.png")) || !downloadWithProgress(window, error))
        return false;
    takeOutcomeMessage(window);
    takeResults(window);
    takeContextMenu(window);
    if (!takeAscanWindow(window, error))
        return false;
    takeSecondaryWindows(window);
    return true;
}

bool CScreenshotSession::downloadWithProgress(MainWindow &window, QString *error)
{
    auto *transfer = find<QToolButton>(&window, "trnsfrDataButton");
    auto *progressWindow = find<QWidget>(&window, "ProgressWindowGUI");
    auto *bar = find<QProgressBar>(progressWindow, "progressBar");
    auto *table = find<QTableWidget>(&window, "tableWidget");
    if (!transfer->isEnabled()) {
        *error = QStringLiteral("the Transfer button stays disabled: no tester found");
        return false;
    }
    transfer->click();
    if (!waitUntil([bar] { return bar->value() >= 30 && bar->value() < 100; }, 20000)) {
        *error = QStringLiteral("the progress bar never showed a transfer under way");
        return false;
    }
    const QPoint centre((window.width() - progressWindow->width()) / 2,
                        (window.height() - progressWindow->height()) / 2);
    save(overlay(window.grab(), progressWindow->grab(), centre),
         QStringLiteral("transfer_progress.png"));
    // The last tick shows the outcome, fills the table and fetches every A-scan before it returns.
    if (!waitUntil(
            [table, progressWindow] { return table->isVisible() && !progressWindow->isVisible(); },
            60000)) {
        *error = QStringLiteral("the download did not end in a results table");
        return false;
    }
    return true;
}

void CScreenshotSession::takeOutcomeMessage(MainWindow &window)
{
    // The message shows while the program sleeps, so it is put up again here for the picture.
    auto *progressWindow = find<QWidget>(&window, "ProgressWindowGUI");
    auto *label = find<QLabel>(progressWindow, "messageLabel");
    auto *bar = find<QProgressBar>(progressWindow, "progressBar");
    label->setText(
        QCoreApplication::translate("CCollatrix", "Data transfer completed successfully."));
    label->show();
    bar->hide();
    progressWindow->adjustSize();
    save(progressWindow, QStringLiteral("transfer_message.png"));
    label->hide();
    label->clear();
    bar->show();
}

void CScreenshotSession::takeResults(MainWindow &window)
{
    auto *table = find<QTableWidget>(&window, "tableWidget");
    table->setCurrentCell(1, 0);
    table->setRangeSelected(QTableWidgetSelectionRange(1, 0, 3, table->columnCount() - 1), true);
    save(&window, QStringLiteral("results_table.png"));
}

void CScreenshotSession::takeContextMenu(MainWindow &window)
{
    auto *table = find<QTableWidget>(&window, "tableWidget");
    const QPoint at = table->geometry().topLeft() + QPoint(60, 70);
    const QPixmap under = window.grab();
    QPixmap picture;
    // The menu runs modally; a timer inside its loop takes the picture and closes it.
    QTimer::singleShot(300, &window, [&window, &picture, under] {
        for (QMenu *menu : window.findChildren<QMenu *>()) {
            if (!menu->isVisible())
                continue;
            picture = overlay(under, menu->grab(), menu->pos() - window.mapToGlobal(QPoint(0, 0)));
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, window.mapToGlobal(at));
    QCoreApplication::sendEvent(&window, &event);
    if (!picture.isNull())
        save(picture, QStringLiteral("context_menu.png"));
}

bool CScreenshotSession::takeAscanWindow(MainWindow &window, QString *error)
{
    auto *table = find<QTableWidget>(&window, "tableWidget");
    auto *ascanWindow = find<QWidget>(&window, "ascanWindowGUI");
    int row = table->rowCount() - 1;
    // The fifth cell of a row with an A-scan carries the A-scan mark.
    while (row >= 0 && (table->item(row, 4) == nullptr || table->item(row, 4)->icon().isNull()))
        --row;
    if (row < 0) {
        *error = QStringLiteral("no row of the download has an A-scan");
        return false;
    }
    table->clearSelection();
    table->setCurrentCell(row, 0);
    find<QToolButton>(&window, "ascanButton")->click();
    if (!ascanWindow->isVisible()) {
        *error = QStringLiteral("the Ascan button did not open the A-scan window");
        return false;
    }
    save(ascanWindow, QStringLiteral("ascan_window.png"));
    const QPixmap both = overlay(window.grab(), ascanWindow->grab(), QPoint(window.width() + 8, 0));
    save(both, QStringLiteral("results_with_ascan.png"));
    ascanWindow->hide();
    return true;
}

void CScreenshotSession::takeSecondaryWindows(MainWindow &window)
{
    find<QToolButton>(&window, "aboutButton")->click();
    auto *about = find<QWidget>(&window, "AboutWindowGUI");
    save(about, QStringLiteral("about_window.png"));
    about->hide();
    find<QToolButton>(&window, "helpButton")->click();
    auto *help = find<QWidget>(&window, "HelpWindowGUI");
    save(help, QStringLiteral("help_window.png"));
    help->hide();
    // The archive with the download just made, and the history of the row selected.
    find<QToolButton>(&window, "archiveButton")->click();
    auto *archive = find<QWidget>(&window, "ArchiveWindowGUI");
    waitUntil([] { return false; }, 200); // the plot is laid out on the event loop
    save(archive, QStringLiteral("archive_window.png"));
    archive->hide();
    find<QToolButton>(&window, "evaluationButton")->click();
    auto *evaluation = find<QWidget>(&window, "EvaluationWindowGUI");
    waitUntil([] { return false; }, 200);
    save(evaluation, QStringLiteral("evaluation_window.png"));
    evaluation->hide();
    // What falls due in the archive, once its thread has read the list.
    find<QToolButton>(&window, "dueButton")->click();
    auto *due = find<QWidget>(&window, "DueWindowGUI");
    auto *exports = find<QWidget>(due, "exportBox");
    waitUntil([exports] { return exports->isEnabled(); }, 10000);
    save(due, QStringLiteral("due_window.png"));
    due->hide();
}

bool CScreenshotSession::save(QWidget *widget, const QString &name) const
{
    QCoreApplication::processEvents();
    return save(widget->grab(), name);
}

bool CScreenshotSession::save(const QPixmap &picture, const QString &name) const
{
    return picture.save(output.filePath(name), "PNG");
}

bool CScreenshotSession::waitUntil(const std::function<bool()> &condition, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

template <typename T> T *CScreenshotSession::find(const QWidget *root, const char *name)
{
    return root->findChild<T *>(QLatin1String(name)); // present: takeAll checked the names
}
