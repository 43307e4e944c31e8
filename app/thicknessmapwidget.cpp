// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/thicknessmapwidget.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

CThicknessMapWidget::CThicknessMapWidget(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(240, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
}

void CThicknessMapWidget::setMap(const std::optional<CThicknessMap> &newMap,
                                 const QMap<int, QString> &newTips)
{
    map = newMap;
    tips = newTips;
    update();
}

QRectF CThicknessMapWidget::area() const
{
    return QRectF(rect()).adjusted(2, 2, -2, -2);
}

int CThicknessMapWidget::cellAt(const QPoint &point) const
{
    if (!map)
        return 0;
    const int cell = map->layoutIn(area()).cellAt(point);
    return tips.contains(cell) ? cell : 0;
}

QRect CThicknessMapWidget::cellRect(int cell) const
{
    return map ? map->layoutIn(area()).rectOf(cell).toAlignedRect() : QRect();
}

void CThicknessMapWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (map)
        map->paint(painter, area());
}

void CThicknessMapWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const int cell = cellAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell != 0)
        emit cellClicked(cell);
    QWidget::mouseReleaseEvent(event);
}

bool CThicknessMapWidget::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const int cell = cellAt(help->pos());
    if (cell == 0)
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tips.value(cell), this, cellRect(cell));
    return true;
}
