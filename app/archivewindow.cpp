// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/archivewindow.h"

#include "app/downloadopener.h"
#include "app/historychart.h"

#include "archive/archiveset.h"
#include "data/collatrix.h"
#include "evaluation/pointname.h"
#include "services/archiveservice.h"
#include "services/archivesettings.h"
#include "services/keptfolder.h"
#include "services/pointnames.h"
#include "services/readingsimport.h"

#include "ui_archivewindow.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QPointer>

#include <algorithm>

namespace
{

enum Column { TimeColumn, TesterColumn, ObjectsColumn, RowsColumn, AScansColumn, OutcomeColumn };

QTableWidgetItem *item(const QString &text)
{
    auto *cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return cell;
}

QString timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

} // namespace

ArchiveWindow::ArchiveWindow(CCollatrix *controller, QWidget *parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::ArchiveWindowGUI>()),
      controller(controller)
{
    ui->setupUi(this);
    ui->downloadsTable->horizontalHeader()->setStretchLastSection(true);
    ui->historyTable->horizontalHeader()->setStretchLastSection(true);
    connect(ui->filterEdit, &QLineEdit::textChanged, this, &ArchiveWindow::fillDownloads);
    connect(ui->fromDate, &QDateEdit::dateChanged, this, &ArchiveWindow::fillDownloads);
    connect(ui->toDate, &QDateEdit::dateChanged, this, &ArchiveWindow::fillDownloads);
    connect(ui->downloadsTable, &QTableWidget::cellDoubleClicked, this,
            &ArchiveWindow::openSelected);
    connect(ui->openButton, &QPushButton::clicked, this, &ArchiveWindow::openSelected);
    connect(ui->nameButton, &QPushButton::clicked, this, &ArchiveWindow::nameGroup);
    connect(ui->pointNameButton, &QPushButton::clicked, this, &ArchiveWindow::namePoint);
    connect(ui->importButton, &QPushButton::clicked, this, &ArchiveWindow::importReadings);
    connect(ui->syncButton, &QPushButton::clicked, this, &ArchiveWindow::sync);
    connect(ui->connectButton, &QPushButton::clicked, this, &ArchiveWindow::connectShared);
    connect(ui->helpButton, &QPushButton::clicked, this, &ArchiveWindow::helpRequested);
    connect(ui->closeButton, &QPushButton::clicked, this, &QWidget::close);
    CArchiveService *archive = controller->archive.get();
    opener = new CDownloadOpener(archive, this);
    connect(opener, &CDownloadOpener::opened, this, &ArchiveWindow::openRequested);
    connect(opener, &CDownloadOpener::failed, this, &ArchiveWindow::tell);
    connect(archive, &CArchiveService::recorded, this, [this] {
        if (isVisible())
            refresh();
    });
    connect(archive, &CArchiveService::stateChanged, this, &ArchiveWindow::showState);
    countdown.setInterval(1000);
    connect(&countdown, &QTimer::timeout, this, &ArchiveWindow::showState);
    connect(archive, &CArchiveService::synced, this, &ArchiveWindow::tellSynced);
    connect(archive, &CArchiveService::passwordChecked, this, &ArchiveWindow::askPassword);
}

ArchiveWindow::~ArchiveWindow() = default;

// The password question comes when the window is opened, never by itself.
void ArchiveWindow::showEvent(QShowEvent *event)
{
    passwordMayBeAsked = true;
    controller->archive->checkPassword();
    refresh();
    QWidget::showEvent(event);
}

void ArchiveWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Everything the window shows comes from the archive's thread; the window answers meanwhile.
void ArchiveWindow::refresh()
{
    ui->sharedEdit->setText(CArchiveSettings::sharedUrl());
    auto listing = std::make_shared<Listing>();
    controller->archive->query(
        [listing](CArchiveSet &set) {
            CArchive &from = set.reached();
            listing->read = true;
            listing->downloads = from.downloads(false, &listing->problem);
            listing->names = from.objectNames(&listing->problem);
        },
        this, [this, listing] { showListing(*listing); });
    showPoint(pointGroup, pointCell);
    showState();
}

void ArchiveWindow::showListing(const Listing &listing)
{
    tell(listing.read ? listing.problem : controller->archive->state().problem);
    downloads = listing.downloads;
    names = listing.names;
    const QSignalBlocker fromBlocker(ui->fromDate);
    const QSignalBlocker toBlocker(ui->toDate);
    const QDate today = QDate::currentDate();
    ui->fromDate->setDate(downloads.isEmpty() ? today : downloads.last().time.date());
    ui->toDate->setDate(downloads.isEmpty() ? today
                                            : std::max(today, downloads.first().time.date()));
    fillDownloads();
}

void ArchiveWindow::fillDownloads()
{
    QTableWidget *table = ui->downloadsTable;
    table->setRowCount(0);
    shown.clear();
    for (int i = 0; i < downloads.size(); ++i) {
        if (matchesFilter(downloads.at(i)))
            shown << i;
    }
    table->setRowCount(int(shown.size()));
    for (int row = 0; row < shown.size(); ++row) {
        const ArchiveDownload &d = downloads.at(shown.at(row));
        const QString outcome = d.waiting ? tr("%1, not yet shared").arg(d.outcome) : d.outcome;
        table->setItem(row, TimeColumn, item(timeText(d.time)));
        // The model from the dump's header; what the tester said of itself when asked.
        QTableWidgetItem *tester = item(d.tester);
        tester->setToolTip(d.identification);
        table->setItem(row, TesterColumn, tester);
        table->setItem(row, ObjectsColumn, item(names.value(d.id).join(QStringLiteral(", "))));
        table->setItem(row, RowsColumn, item(QString::number(d.results)));
        table->setItem(row, AScansColumn, item(QString::number(d.aScans)));
        table->setItem(row, OutcomeColumn, item(outcome));
    }
    table->resizeColumnsToContents();
}

bool ArchiveWindow::matchesFilter(const ArchiveDownload &d) const
{
    const QDate day = d.time.date();
    if (day < ui->fromDate->date() || day > ui->toDate->date())
        return false;
    const QString text = ui->filterEdit->text().trimmed();
    const QStringList fields{timeText(d.time), d.tester, names.value(d.id).join(QLatin1Char(' ')),
                             d.outcome, d.file};
    return text.isEmpty() || fields.join(QLatin1Char('\n')).contains(text, Qt::CaseInsensitive);
}

void ArchiveWindow::openSelected()
{
    const int row = ui->downloadsTable->currentRow();
    if (row < 0 || row >= shown.size())
        return;
    const ArchiveDownload &d = downloads.at(shown.at(row));
    opener->open(d.file, d.sha256);
}

void ArchiveWindow::showPoint(int group, int cell)
{
    pointGroup = group;
    pointCell = cell;
    showPointName({group, cell, QString()});
    if (group > 0)
        ui->groupSpin->setValue(group);
    auto readings = std::make_shared<QList<ArchiveReading>>();
    auto point = std::make_shared<ArchivePointName>(ArchivePointName{group, cell, QString()});
    auto problem = std::make_shared<QString>();
    if (group <= 0) {
        fillHistory(*readings);
        plotHistory(*readings);
        return;
    }
    controller->archive->query(
        [group, cell, readings, point, problem](CArchiveSet &set) {
            *readings = set.reached().history(group, cell, problem.get());
            if (problem->isEmpty())
                *point =
                    set.reached().pointNames(group, problem.get()).value({group, cell}, *point);
        },
        this,
        [this, group, cell, readings, point, problem] {
            // A later choice of point has its own answer coming.
            if (group != pointGroup || cell != pointCell)
                return;
            if (!problem->isEmpty())
                tell(*problem);
            showPointName(*point);
            fillHistory(*readings);
            plotHistory(*readings);
        });
}

void ArchiveWindow::fillHistory(const QList<ArchiveReading> &readings)
{
    QTableWidget *table = ui->historyTable;
    table->setRowCount(int(readings.size()));
    for (int row = 0; row < readings.size(); ++row) {
        const MeasurementRecord &r = readings.at(row).record;
        table->setItem(row, 0, item(timeText(readings.at(row).time)));
        table->setItem(row, 1, item(formatResult(r)));
        table->setItem(
            row, 2,
            item(r.unit >= 0 && r.unit < kUnitCount ? controller->unitTexts[r.unit] : QString()));
    }
    table->resizeColumnsToContents();
}

void ArchiveWindow::plotHistory(const QList<ArchiveReading> &readings)
{
    const int unit = readings.isEmpty() ? -1 : readings.last().record.unit;
    ui->historyChart->plot(readings, unit >= 0 && unit < kUnitCount ? controller->unitTexts[unit]
                                                                    : QString());
}

// From the selected download onward; with none selected, from now on.
void ArchiveWindow::nameGroup()
{
    const QString name = ui->nameEdit->text().trimmed();
    const int row = ui->downloadsTable->currentRow();
    if (name.isEmpty())
        return;
    const QDateTime from = row >= 0 && row < shown.size() ? downloads.at(shown.at(row)).time
                                                          : QDateTime::currentDateTime();
    const int group = ui->groupSpin->value();
    auto problem = std::make_shared<QString>();
    controller->archive->query(
        [group, name, from, problem](CArchiveSet &set) {
            set.reached().nameGroup(group, name, from, problem.get());
        },
        this,
        [this, problem] {
            if (problem->isEmpty())
                refresh();
            else
                tell(*problem);
        });
}

void ArchiveWindow::showPointName(const ArchivePointName &point)
{
    const bool shown = point.group > 0;
    const QString cell = PointName{point.name, point.location}.labelOf(point.cell);
    QString title = shown ? tr("History of group %1, cell %2").arg(point.group).arg(cell)
                          : tr("History of the row selected in the main window");
    if (!point.location.isEmpty())
        title += QStringLiteral(" – ") + point.location;
    ui->historyBox->setTitle(title);
    ui->pointNameEdit->setText(point.name);
    ui->pointLocationEdit->setText(point.location);
    for (QWidget *w :
         {static_cast<QWidget *>(ui->pointNameEdit), static_cast<QWidget *>(ui->pointLocationEdit),
          static_cast<QWidget *>(ui->pointNameButton)})
        w->setEnabled(shown);
}

// From now on; the heading says the new name once the archive has it.
void ArchiveWindow::namePoint()
{
    const ArchivePointName point{pointGroup, pointCell, ui->pointNameEdit->text().trimmed(),
                                 ui->pointLocationEdit->text().trimmed()};
    if (point.group <= 0 || point.name.isEmpty())
        return;
    auto problem = std::make_shared<QString>();
    controller->archive->query(
        [point, problem](CArchiveSet &set) {
            CPointNames::name(set.reached(), point, problem.get());
        },
        this,
        [this, point, problem] {
            if (!problem->isEmpty())
                tell(*problem);
            else if (point.group == pointGroup && point.cell == pointCell)
                showPointName(point);
        });
}

// Read and recorded on the archive's thread: the window answers meanwhile and shows how far the
// import got, as the service's own steps do.
void ArchiveWindow::importReadings()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Import readings"), QString(),
                                                      tr("Readings (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    ui->importButton->setEnabled(false);
    tell(tr("Importing %1...").arg(QDir::toNativeSeparators(path)));
    auto lines = std::make_shared<QStringList>();
    const QPointer<ArchiveWindow> guard(this);
    CArchiveService *service = controller->archive.get();
    const auto progress = [guard, service](int done, int total) {
        QMetaObject::invokeMethod(
            service,
            [guard, done, total] {
                if (guard)
                    guard->tell(tr("Importing readings: %1 of %2 downloads").arg(done).arg(total));
            },
            Qt::QueuedConnection);
    };
    service->query(
        [path, lines, progress](CArchiveSet &set) {
            CReadingsImport::importFile(path, set, CKeptFolder(), lines.get(), progress);
        },
        this,
        [this, lines] {
            ui->importButton->setEnabled(true);
            refresh();
            // After the listing, which tells its own problem: the service keeps the order asked.
            controller->archive->query([](CArchiveSet &) {}, this,
                                       [this, lines] {
                                           tell(lines->isEmpty()
                                                    ? controller->archive->state().problem
                                                    : lines->join(QLatin1Char('\n')));
                                       });
        });
}

void ArchiveWindow::sync()
{
    syncAsked = true;
    tell(tr("Bringing the waiting downloads into the shared archive..."));
    controller->archive->sync();
}

// The service syncs by itself too, now and then; only a sync asked for here is told.
void ArchiveWindow::tellSynced(int brought, const QString &problem)
{
    if (!syncAsked)
        return;
    syncAsked = false;
    tell(problem.isEmpty() ? tr("%n download(s) brought into the shared archive.", "", brought)
                           : problem);
    if (isVisible())
        refresh();
}

// The URL is kept in the settings; a password the server asks for is asked here and held
// only for the session.
void ArchiveWindow::connectShared()
{
    const QString url = ui->sharedEdit->text().trimmed();
    CArchiveLocation location;
    QString problem;
    if ((!url.isEmpty() && !location.parse(url, &problem)) ||
        !CArchiveSettings::setSharedUrl(url, &problem)) {
        tell(problem);
        return;
    }
    tell(QString());
    passwordMayBeAsked = true;
    controller->archive->reopen(QString(), password);
    controller->archive->checkPassword();
    refresh();
}

// Asked once for each opening of the window or press of Connect, when the server wants it.
void ArchiveWindow::askPassword(bool wanted)
{
    if (!wanted || !passwordMayBeAsked)
        return;
    passwordMayBeAsked = false;
    bool ok = false;
    const QString typed = QInputDialog::getText(
        this, tr("Shared archive"),
        tr("The server asks for a password for %1:").arg(ui->sharedEdit->text()),
        QLineEdit::Password, QString(), &ok);
    if (!ok)
        return;
    password = typed;
    controller->archive->reopen(QString(), password);
    refresh();
}

// A line on the archive's state, and the Sync button for what waits.
void ArchiveWindow::showState()
{
    const CArchiveService::State state = controller->archive->state();
    const bool shared = state.reach == CArchiveService::Reach::Shared ||
                        state.reach == CArchiveService::Reach::Away;
    ui->waitingLabel->setText(
        state.reach == CArchiveService::Reach::Shared
            ? tr("%n download(s) waiting for the shared archive", "", state.waiting)
            : CArchiveService::describe(state));
    ui->syncButton->setEnabled(shared && state.waiting > 0);
    // The next try counts down as in the main window's status area.
    if (state.reach == CArchiveService::Reach::Away && isVisible())
        countdown.start();
    else
        countdown.stop();
}

void ArchiveWindow::tell(const QString &problem)
{
    ui->messageLabel->setText(problem);
}
