// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>

class AScanWindow;
class CCollatrix;
class QWidget;

// Report... in the table's context menu and Ctrl+P: asks for the file and writes the inspection
// report of the given rows, with the A-scan window's labels; a failure is named in a message.
class CReportAction : public QObject
{
    Q_OBJECT

public:
    CReportAction(CCollatrix *controller, const AScanWindow *ascanWindow, QWidget *window);

    bool run(const QList<int> &rows);

private:
    CCollatrix *controller;
    const AScanWindow *ascanWindow;
    QWidget *window;
};
