#include "mainwindow.h"

#ifndef Q_OS_WIN
#include "devicewatcher.h"
#endif
#include "ui_aboutwindowgui.h"
#include "ui_helpwindowgui.h"
#include "ui_mainwindowgui.h"
#include "ui_progresswindowgui.h"

#include "data/collatrix.h"
#include "device/comport.h"
#include "device/kvtustester.h"

#include "ascan/vectordrawframe.h"

#include <QAction>
#include <QBitmap>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

MainWindow::MainWindow(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), ui(new Ui::MainWindowGUI), aboutUi(new Ui::AboutWindowGUI),
      helpUi(new Ui::HelpWindowGUI), progressUi(new Ui::ProgressWindowGUI)
{
    Q_INIT_RESOURCE(resources); // the pictures live in the static library
    ui->setupUi(this);
    connect(ui->trnsfrDataButton, &QToolButton::clicked, this, &MainWindow::TransferData);
    connect(ui->saveAsButton, &QToolButton::clicked, this, &MainWindow::save);
    transferTimerId = 0;
    setButtonIcon(ui->trnsfrDataButton, QStringLiteral(":/Button/data_transf.bmp"),
                  QStringLiteral(":/Button/data_transf_mask.bmp"));
    setButtonIcon(ui->saveAsButton, QStringLiteral(":/Button/save_file.bmp"),
                  QStringLiteral(":/Button/save_file_mask.bmp"));
    setButtonIcon(ui->ascanButton, QStringLiteral(":/Button/ascan.bmp"),
                  QStringLiteral(":/Button/ascan_mask.bmp"));
    setButtonIcon(ui->helpButton, QStringLiteral(":/Button/help.bmp"),
                  QStringLiteral(":/Button/help_mask.bmp"));
    setButtonIcon(ui->aboutButton, QStringLiteral(":/Button/about.bmp"),
                  QStringLiteral(":/Button/about_mask.bmp"));
    createAscanWindow();
    controller = new CCollatrix;
    // A child in the object tree like the windows it serves; the window still deletes it first.
    controller->setParent(this);
    setAscanLabels();
    controller->findDevice();
    setWindowTitle(controller->programTitle);
    createAboutWindow();
    createHelpWindow();
    createProgressWindow();
    setupTable();
    applyIdleView();
    createActions();
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setAcceptDrops(true);
#ifndef Q_OS_WIN
    // Windows tells the window itself (nativeEvent); elsewhere udev and the ports folder do.
    auto *watcher = new CDeviceWatcher(CCOMPort::portsFolder(), this);
    connect(watcher, &CDeviceWatcher::devicesChanged, this, &MainWindow::onDeviceChange);
#endif
}

MainWindow::~MainWindow()
{
    delete controller;
    controller = nullptr;
}

void MainWindow::setButtonIcon(QToolButton *button, const QString &bitmap, const QString &mask)
{
    // The mask becomes the alpha channel: white opaque, black transparent.
    QImage image = QPixmap(bitmap).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage alpha = QBitmap(mask).toImage().convertToFormat(QImage::Format_Grayscale8);
    if (!image.isNull() && alpha.size() == image.size())
        image.setAlphaChannel(alpha);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal, QIcon::Off);
    button->setIcon(icon);
}

void MainWindow::createAboutWindow()
{
    aboutWindow =
        new QWidget(this, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    aboutUi->setupUi(aboutWindow);
    connect(ui->aboutButton, &QToolButton::clicked, aboutWindow, &QWidget::show);
    aboutWindow->setWindowTitle(tr("About") + QLatin1Char(' ') + controller->programTitle);
    QString page = aboutUi->aboutTBrowser->toHtml();
    page.replace(QStringLiteral("Program name and version"),
                 controller->programTitle + QLatin1Char(' ') + controller->version);
    aboutUi->aboutTBrowser->setHtml(page);
}

void MainWindow::createHelpWindow()
{
    helpWindow = new QWidget(this, Qt::Window);
    helpUi->setupUi(helpWindow);
    const QString helpFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/Help");
    helpUi->helpTBrowser->setSearchPaths({helpFolder, helpFolder + QStringLiteral("//Images")});
    helpUi->helpTBrowser->setSource(QUrl(tr("index.html")));
    helpWindow->setWindowTitle(tr("Collatrix M47T Help"));
    connect(ui->helpButton, &QToolButton::clicked, helpWindow, &QWidget::show);
}

void MainWindow::createProgressWindow()
{
    progressWindow = new QWidget(this, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowTitleHint |
                                           Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint);
    progressUi->setupUi(progressWindow);
    progressUi->messageLabel->hide();
    connect(this, &MainWindow::ProgressChanged, progressUi->progressBar, &QProgressBar::setValue);
}

void MainWindow::setupTable()
{
    QTableWidget *table = ui->tableWidget;
    table->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(table, &QTableWidget::cellClicked, this, &MainWindow::onTableClicked);
}

void MainWindow::createActions()
{
    toClipboardAction = new QAction(tr("To clipboard"), this);
    saveAllAction = new QAction(tr("Save all data"), this);
    saveSelectedAction = new QAction(tr("Save selected rows"), this);
    toClipboardAction->setObjectName(QStringLiteral("toClipboardAction"));
    saveAllAction->setObjectName(QStringLiteral("saveAllAction"));
    saveSelectedAction->setObjectName(QStringLiteral("saveSelectedAction"));
    connect(toClipboardAction, &QAction::triggered, this, &MainWindow::dataToClipboard);
    connect(saveAllAction, &QAction::triggered, this, &MainWindow::saveAll);
    connect(saveSelectedAction, &QAction::triggered, this, &MainWindow::saveSelected);
    openAction = new QAction(tr("Open a kept download..."), this);
    openAction->setObjectName(QStringLiteral("openAction"));
    openAction->setShortcut(QKeySequence::Open);
    connect(openAction, &QAction::triggered, this, &MainWindow::openDownloadDialog);
    addAction(openAction);
    reportAction = new QAction(tr("Report..."), this);
    reportAction->setObjectName(QStringLiteral("reportAction"));
    reportAction->setShortcut(QKeySequence::Print);
    connect(reportAction, &QAction::triggered, this, &MainWindow::saveReport);
    addAction(reportAction);
}

void MainWindow::onDeviceChange()
{
    // A search is refused while a reception runs; it is made up for when the reception ends.
    deviceChangeDuringTransfer = transferTimerId != 0;
    ui->trnsfrDataButton->setEnabled(controller->findDevice());
}

bool MainWindow::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
    Q_UNUSED(eventType)
    Q_UNUSED(result)
#ifdef Q_OS_WIN
    if (static_cast<MSG *>(message)->message == WM_DEVICECHANGE)
        onDeviceChange();
#else
    Q_UNUSED(message)
#endif
    return false; // the toolkit handles every message as usual
}

bool MainWindow::deviceFound() const
{
    return controller->tester != nullptr && controller->tester->deviceFound;
}

void MainWindow::applyIdleView()
{
    ui->trnsfrDataButton->setEnabled(deviceFound());
    ui->tableWidget->hide();
    ui->saveAsButton->setEnabled(false);
    progressWindow->hide();
    ui->bckgroundLabel->show();
    ui->ascanButton->setEnabled(false);
}

void MainWindow::applyResultsView()
{
    ui->trnsfrDataButton->setEnabled(deviceFound());
    fillTable();
    ui->bckgroundLabel->hide();
    progressWindow->hide();
    ui->tableWidget->show();
    ui->saveAsButton->setEnabled(true);
    ui->ascanButton->setEnabled(controller->measurements.hasAScans);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    closing = confirmDiscardUnsaved();
    if (!closing)
        event->ignore();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat()) {
        if (event->key() == Qt::Key_C && event->modifiers().testFlag(Qt::ControlModifier))
            toClipboardAction->activate(QAction::Trigger);
        else if (event->key() == Qt::Key_F1)
            helpWindow->show();
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::moveEvent(QMoveEvent *)
{
    // Keep the progress window centred over this one, visible or not.
    const QRect frame = frameGeometry();
    const QRect progress = progressWindow->frameGeometry();
    progressWindow->move(x() + (frame.width() - progress.width()) / 2,
                         y() + (frame.height() - progress.height()) / 2);
}

void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    // A hidden table keeps its rows; a menu over the background would act on them unseen.
    const QTableWidget *table = ui->tableWidget;
    if (table->isHidden() || table->rowCount() == 0 || !table->geometry().contains(event->pos()))
        return;
    QMenu menu(this);
    menu.addAction(toClipboardAction);
    menu.addAction(saveAllAction);
    menu.addAction(saveSelectedAction);
    menu.addAction(reportAction);
    menu.exec(event->globalPos());
}
