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
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QToolButton>

namespace
{

// This year's survey with A-scans (layout 3), slow enough on the line that the progress bar is
// caught half way. The seed keeps every picture the same from run to run.
const QStringList kTesterOptions{"--layout", "3", "--seed", "7", "--rate", "60"};
const QString kThisYear = QStringLiteral("surveys/readings-5.txt");
constexpr int kHiddenPorts = 128;
// Every widget the session looks up by name; checked once before the first picture.
const char *const kWidgetNames[] = {
    "trnsfrDataButton", "ascanButton",       "aboutButton",      "helpButton",
    "tableWidget",      "ProgressWindowGUI", "progressBar",      "messageLabel",
    "ascanWindowGUI",   "AboutWindowGUI",    "HelpWindowGUI",    "dueButton",
    "DueWindowGUI",     "exportBox",         "evaluationButton", "archiveButton"};

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

CScreenshotSession::CScreenshotSession(const QString &outputFolder, const QString &demoFolder,
                                       const QString &testerProgram)
    : output(outputFolder), demo(demoFolder), tester(testerProgram)
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
    // The download goes into a scratch archive, never the user's nor the demonstration's.
    for (const char *name :
         {"COLLATRIX_ARCHIVE", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "COLLATRIX_SETTINGS_FOLDER"})
        qputenv(name, scratch.filePath(QLatin1String(name)).toUtf8());
    {
        MainWindow window;
        window.show();
        if (!takeAll(window, error))
            return false;
    }
    if (!useDemo(error))
        return false;
    MainWindow window;
    window.show();
    return takeDemoWindows(window, error);
}

// The variables demo.env exports, as export NAME='VALUE' lines.
bool CScreenshotSession::useDemo(QString *error)
{
    QFile env(demo.filePath(QStringLiteral("demo.env")));
    if (!env.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(env.fileName(), env.errorString());
        return false;
    }
    const QRegularExpression line(QStringLiteral("^export (\\w+)='([^']*)'$"));
    for (const QString &text : QString::fromUtf8(env.readAll()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = line.match(text);
        if (m.hasMatch())
            qputenv(m.captured(1).toUtf8().constData(), m.captured(2).toUtf8());
    }
    return true;
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
}

// The demonstration archive's newest survey on screen: its points' history, its evaluation
// against the four surveys before, what falls due and the reading to review beside its echo.
bool CScreenshotSession::takeDemoWindows(MainWindow &window, QString *error)
{
    const QDir folder(qEnvironmentVariable("XDG_DATA_HOME") +
                      QStringLiteral("/collatrix/downloads"));
    const QStringList kept = folder.entryList({QStringLiteral("*.clxd")}, QDir::Files, QDir::Name);
    // Kept files are named by their time: the last is the newest.
    if (kept.isEmpty() || !window.openDownload(folder.filePath(kept.last()))) {
        *error = QStringLiteral("the demonstration archive's newest survey cannot be opened");
        return false;
    }
    // The tank's point below its minimum, whose history the archive window plots.
    find<QTableWidget>(&window, "tableWidget")->setCurrentCell(2, 0);
    takeWindow(window, "archiveButton", "ArchiveWindowGUI", "archive_window.png");
    auto *evaluation =
        takeWindow(window, "evaluationButton", "EvaluationWindowGUI", "evaluation_window.png");
    auto *due = takeWindow(window, "dueButton", "DueWindowGUI", "due_window.png");
    due->hide();
    find<QPushButton>(evaluation, "reviewButton")->click();
    evaluation->hide();
    auto *review = find<QWidget>(&window, "ReviewWindowGUI");
    auto *readings = find<QTableWidget>(review, "readingsTable");
    if (!waitUntil([readings] { return readings->rowCount() > 0; }, 10000)) {
        *error = QStringLiteral("the review window lists no reading of the demonstration survey");
        return false;
    }
    readings->selectRow(0);
    waitUntil([] { return false; }, 500); // the earlier echo comes from the archive's thread
    save(review, QStringLiteral("review_window.png"));
    review->hide();
    return true;
}

// Opens a window by its button and saves it once the archive's thread has filled it.
QWidget *CScreenshotSession::takeWindow(MainWindow &window, const char *button, const char *name,
                                        const char *picture)
{
    find<QToolButton>(&window, button)->click();
    auto *shown = find<QWidget>(&window, name);
    waitUntil([] { return false; }, 500);
    save(shown, QLatin1String(picture));
    shown->hide();
    return shown;
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
