// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/ascanentry.h"

#include <QChar>
#include <QMap>
#include <QStringList>

class CZRData;

// collatrix-cli export FILE -o RESULTS.csv [--decimal-separator C] [--extended]
int runExportCommand(const QStringList &args);
// collatrix-cli report FILE -o REPORT.pdf [--extended] [--decimal-separator C]
//     [--field KEY=VALUE]... [--archive URL]
int runReportCommand(const QStringList &args);
// collatrix-cli kept [--downloads-dir DIR]
int runKeptCommand(const QStringList &args);

// The CSV as Save As writes it and, for results with A-scans, the pictures in the folder
// named after it, drawn by the A-scan window offscreen.
bool exportResults(const QString &path, const CZRData &data, const QMap<int, AScanEntry> &aScans,
                   QChar decimalSeparator);
