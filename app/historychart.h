// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archivereading.h"

#include <QChartView>
#include <QList>

// A test point's readings over time as a line with its points, the archive window's and the
// review window's alike.
class CHistoryChart : public QChartView
{
    Q_OBJECT

public:
    explicit CHistoryChart(QWidget *parent = nullptr);

    // Plots the readings, oldest first; none leaves the chart empty. valueTitle names the axis
    // of the values, their unit.
    void plot(const QList<ArchiveReading> &readings, const QString &valueTitle);

private:
    void clear();
};
