// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/reportsource.h"

#include <QList>
#include <QObject>

class AScanWindow;
class CCollatrix;
class QWidget;

// Report... in the table's context menu and Ctrl+P: asks for the file and writes the inspection
// report of the given rows, with the A-scan window's labels and the particulars the archive
// remembers for the objects; a failure is named in a message.
class CReportAction : public QObject
{
    Q_OBJECT

public:
    CReportAction(CCollatrix *controller, const AScanWindow *ascanWindow, QWidget *window);

    bool run(const QList<int> &rows);
    // The report of all rows with the evaluation's pages and the particulars on page one.
    bool runEvaluated(const CEvaluation &evaluation, const QMap<QString, QString> &particulars,
                      const QMap<int, int> &mapWidths);

private:
    ReportSource sourceOf(const QList<int> &rows) const;
    bool write(const ReportSource &source);

    CCollatrix *controller;
    const AScanWindow *ascanWindow;
    QWidget *window;
};
