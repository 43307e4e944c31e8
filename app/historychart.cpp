// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/historychart.h"

#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

CHistoryChart::CHistoryChart(QWidget *parent) : QChartView(new QChart, parent)
{
    chart()->legend()->hide();
    setRenderHint(QPainter::Antialiasing);
}

void CHistoryChart::clear()
{
    chart()->removeAllSeries();
    // The chart gives up its axes when they are removed; they are ours to delete.
    for (QAbstractAxis *axis : chart()->axes()) {
        chart()->removeAxis(axis);
        delete axis;
    }
}

void CHistoryChart::plot(const QList<ArchiveReading> &readings, const QString &valueTitle)
{
    clear();
    if (readings.isEmpty())
        return;
    auto *series = new QLineSeries;
    series->setPointsVisible(true);
    for (const ArchiveReading &r : readings)
        series->append(double(r.time.toMSecsSinceEpoch()), resultValue(r.record));
    chart()->addSeries(series);
    auto *time = new QDateTimeAxis;
    time->setFormat(QStringLiteral("yyyy-MM-dd"));
    auto *value = new QValueAxis;
    value->setTitleText(valueTitle);
    chart()->addAxis(time, Qt::AlignBottom);
    chart()->addAxis(value, Qt::AlignLeft);
    series->attachAxis(time);
    series->attachAxis(value);
    // A day and a tenth of the spread around the readings, so that one reading shows too.
    time->setRange(readings.first().time.addDays(-1), readings.last().time.addDays(1));
    const QList<QPointF> points = series->points();
    const auto [low, high] =
        std::minmax_element(points.cbegin(), points.cend(),
                            [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
    const double margin = std::max((high->y() - low->y()) / 10, std::abs(high->y()) / 100 + 0.01);
    value->setRange(low->y() - margin, high->y() + margin);
}
