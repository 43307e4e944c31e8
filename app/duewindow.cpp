// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/duewindow.h"

#include "app/downloadopener.h"
#include "archive/archiveset.h"
#include "data/collatrix.h"
#include "format/atomicfile.h"
#include "report/duereport.h"
#include "services/duelist.h"
#include "services/evaluationsettings.h"

#include "ui_duewindow.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>

namespace
{

// The last of the list's columns.
constexpr int kNextInspectionColumn = 8;

// The count an entry of the status list wants above 0, in the list's order; none for all.
int DueLine::*const kStatusCounts[] = {nullptr, &DueLine::belowMinimum, &DueLine::overdue,
                                       &DueLine::warning, &DueLine::suspect};

} // namespace

DueWindow::DueWindow(CCollatrix *controller, QWidget *parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::DueWindowGUI>()), controller(controller)
{
    ui->setupUi(this);
    QTableWidget *table = ui->dueTable;
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setColumnCount(int(CDueReport::headers().size()));
    table->setHorizontalHeaderLabels(CDueReport::headers());
    ui->daysSpin->setEnabled(false);
    connect(ui->withinCheck, &QCheckBox::toggled, ui->daysSpin, &QWidget::setEnabled);
    connect(ui->withinCheck, &QCheckBox::toggled, this, &DueWindow::fillTable);
    connect(ui->daysSpin, &QSpinBox::valueChanged, this, &DueWindow::fillTable);
    connect(ui->statusCombo, &QComboBox::currentIndexChanged, this, &DueWindow::fillTable);
    connect(table, &QTableWidget::cellDoubleClicked, this, &DueWindow::openRow);
    connect(ui->csvButton, &QPushButton::clicked, this, &DueWindow::exportCsv);
    connect(ui->calendarButton, &QPushButton::clicked, this, &DueWindow::exportCalendar);
    connect(ui->pdfButton, &QPushButton::clicked, this, &DueWindow::printPdf);
    connect(ui->helpButton, &QPushButton::clicked, this, &DueWindow::helpRequested);
    connect(ui->closeButton, &QPushButton::clicked, this, &QWidget::close);
    CArchiveService *service = controller->archive.get();
    opener = new CDownloadOpener(service, this);
    connect(opener, &CDownloadOpener::opened, this, &DueWindow::openRequested);
    connect(opener, &CDownloadOpener::failed, this, &DueWindow::tell);
    // A new download may bring an object's next inspection forward.
    connect(service, &CArchiveService::recorded, this, [this] {
        if (isVisible())
            refresh();
    });
}

DueWindow::~DueWindow() = default;

void DueWindow::showEvent(QShowEvent *event)
{
    refresh();
    QWidget::showEvent(event);
}

void DueWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

void DueWindow::refresh()
{
    tell(tr("Reading the archive..."));
    ui->exportBox->setEnabled(false);
    auto listing = std::make_shared<Listing>();
    controller->archive->query(
        [listing](CArchiveSet &set) {
            CArchive &from = set.reached();
            listing->ran = true;
            listing->archive = from.location().text();
            listing->calendarKey = set.chosen().location().text();
            listing->built = CDueList::build(from, &listing->lines, &listing->problem);
        },
        this, [this, listing] { showListing(*listing); });
}

void DueWindow::showListing(const Listing &listing)
{
    lines = listing.lines;
    archive = listing.archive;
    calendarKey = listing.calendarKey;
    if (!listing.ran)
        tell(controller->archive->state().problem);
    else if (!listing.built)
        tell(tr("The list cannot be read from the archive: %1").arg(listing.problem));
    else
        tell(lines.isEmpty() ? tr("No object in the archive has limits, so nothing falls due.")
                             : QString());
    ui->exportBox->setEnabled(listing.built);
    fillTable();
}

QList<DueLine> DueWindow::filtered() const
{
    QList<DueLine> kept =
        ui->withinCheck->isChecked()
            ? CDueList::within(lines, ui->daysSpin->value(), CEvaluationSettings::today())
            : lines;
    const int DueLine::*count = kStatusCounts[ui->statusCombo->currentIndex()];
    if (count != nullptr)
        kept.removeIf([count](const DueLine &line) { return line.*count == 0; });
    return kept;
}

void DueWindow::fillTable()
{
    shown = filtered();
    const QDate today = CEvaluationSettings::today();
    QTableWidget *table = ui->dueTable;
    table->setRowCount(int(shown.size()));
    for (int row = 0; row < shown.size(); ++row) {
        const QStringList cells = CDueReport::cells(shown.at(row));
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
        const QDate next = shown.at(row).nextInspection;
        if (next.isValid() && next < today)
            table->item(row, kNextInspectionColumn)->setForeground(Qt::red);
    }
    table->resizeColumnsToContents();
}

// The Evaluation window follows once the main window shows the download.
void DueWindow::openRow(int row)
{
    if (row >= 0 && row < shown.size())
        opener->open(shown.at(row).lastFile, shown.at(row).lastSha256);
}

void DueWindow::exportShown(const QString &caption, const QString &suffix, const QString &filter,
                            const Writer &write)
{
    controller->normaliseDataPath();
    const QString name =
        CCollatrix::uniqueFileName(controller->dataPath, QStringLiteral("due"), suffix);
    const QString path =
        QFileDialog::getSaveFileName(this, caption, controller->dataPath + name, filter);
    if (path.isEmpty())
        return;
    const QString native = QDir::toNativeSeparators(path);
    QString problem;
    tell(write(path, &problem) ? tr("The list is written to %1.").arg(native)
                               : tr("The list cannot be written to %1: %2.").arg(native, problem));
}

void DueWindow::exportCsv()
{
    exportShown(tr("Export the list as CSV"), QStringLiteral(".csv"), tr("CSV files (*.csv)"),
                [this](const QString &path, QString *problem) {
                    return CAtomicFile::write(path, CDueList::csv(shown), problem);
                });
}

void DueWindow::exportCalendar()
{
    exportShown(tr("Export the list as a calendar"), QStringLiteral(".ics"),
                tr("Calendar files (*.ics)"), [this](const QString &path, QString *problem) {
                    return CAtomicFile::write(
                        path,
                        CDueList::calendar(shown, calendarKey, QDateTime::currentDateTimeUtc()),
                        problem);
                });
}

void DueWindow::printPdf()
{
    exportShown(
        tr("Print the list to PDF"), QStringLiteral(".pdf"), tr("PDF files (*.pdf)"),
        [this](const QString &path, QString *problem) {
            const CDueReport::Heading heading{CEvaluationSettings::today(), archive, narrowing()};
            return CDueReport::write(path, shown, heading, controller->version, problem);
        });
}

QStringList DueWindow::narrowing() const
{
    QStringList narrowed;
    if (ui->withinCheck->isChecked())
        narrowed << tr("Due within: %n day(s)", "", ui->daysSpin->value());
    if (ui->statusCombo->currentIndex() > 0)
        narrowed << tr("Status: %1").arg(ui->statusCombo->currentText());
    return narrowed;
}

void DueWindow::tell(const QString &text)
{
    ui->messageLabel->setText(text);
    ui->messageLabel->setVisible(!text.isEmpty());
}
