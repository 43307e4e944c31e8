// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluationview/thicknessmap.h"

#include <QMap>
#include <QString>
#include <QWidget>

#include <optional>

// A group's thickness map on screen: hovering a cell shows its figures, clicking it reports
// the cell.
class CThicknessMapWidget : public QWidget
{
    Q_OBJECT

public:
    explicit CThicknessMapWidget(QWidget *parent = nullptr);

    // The map and the tooltip text of each of its cells; nullopt shows nothing.
    void setMap(const std::optional<CThicknessMap> &map, const QMap<int, QString> &tips);
    // The cell under a point of the widget, or 0.
    int cellAt(const QPoint &point) const;
    // Where a cell is drawn, for tests and the tooltip.
    QRect cellRect(int cell) const;

signals:
    void cellClicked(int cell);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    QRectF area() const;

    std::optional<CThicknessMap> map;
    QMap<int, QString> tips;
};
