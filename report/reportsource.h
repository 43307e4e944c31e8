// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/ascanentry.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

#include <functional>

class CEvaluation;
class CZRData;

// What the report is about. Time, port and outcome are unknown for a bare dump. With an
// evaluation the report adds its summary, a thickness map per group, in rows of the group's
// map width (a square-ish map when none is given), and the points that need action. The
// particulars of the test (see CReportParticulars) go on page one.
struct ReportSource {
    const CZRData *data = nullptr;
    QList<int> rows;
    std::function<const AScanEntry *(int row)> aScanOf;
    QDateTime time;
    QString port;
    QString outcome;
    const CEvaluation *evaluation = nullptr;
    QMap<int, int> mapWidths;
    QMap<QString, QString> particulars;
};
