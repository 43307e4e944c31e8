// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/dueline.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui
{
class DueWindowGUI;
}
class CCollatrix;
class CDownloadOpener;
class QShowEvent;

// What falls due across every object with limits, the soonest first: narrowed to the objects due
// within so many days or to those with points of one status, exported as CSV, as a calendar or
// as a PDF. A double click opens an object's newest download with its evaluation. The list comes
// from the archive's thread, so the window answers meanwhile.
class DueWindow : public QWidget
{
    Q_OBJECT

public:
    DueWindow(CCollatrix *controller, QWidget *parent = nullptr);
    ~DueWindow() override;

    // Reads the list again.
    void refresh();

signals:
    // An object's newest download, to open as its kept file is opened.
    void openRequested(const QString &path);
    void helpRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // What one reading of the list brought from the archive's thread.
    struct Listing {
        bool ran = false;
        bool built = false;
        QList<DueLine> lines;
        QString archive;
        QString calendarKey;
        QString problem;
    };
    // Writes the file at the path chosen; false with the reason in *problem.
    using Writer = std::function<bool(const QString &path, QString *problem)>;

    void showListing(const Listing &listing);
    QList<DueLine> filtered() const;
    void fillTable();
    void openRow(int row);
    // The lines shown, written where the user chooses; the outcome is told in the window.
    void exportShown(const QString &caption, const QString &suffix, const QString &filter,
                     const Writer &write);
    void exportCsv();
    void exportCalendar();
    void printPdf();
    // What the list is narrowed to, a line each, as the PDF says it.
    QStringList narrowing() const;
    void tell(const QString &text);

    std::unique_ptr<Ui::DueWindowGUI> ui;
    CCollatrix *controller;
    CDownloadOpener *opener = nullptr;
    QList<DueLine> lines;
    QList<DueLine> shown;
    // Where the list was read, as the PDF names it.
    QString archive;
    // The archive chosen, the team's even while it is away, as the command line keys the
    // calendar's events: an export keeps their UIDs whichever copy the list came from.
    QString calendarKey;
};
