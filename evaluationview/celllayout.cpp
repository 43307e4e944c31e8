// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluationview/celllayout.h"

#include <algorithm>
#include <cmath>

CCellLayout::CCellLayout(int width, int cellCount, const QRectF &area)
    : width(std::max(width, 1)), count(std::max(cellCount, 0)), area(area)
{
    size = rows() == 0 ? 0.0 : std::min(area.width() / this->width, area.height() / rows());
}

int CCellLayout::squareWidth(int cellCount)
{
    return std::max(1, int(std::ceil(std::sqrt(double(cellCount)))));
}

int CCellLayout::rows() const
{
    return (count + width - 1) / width;
}

QRectF CCellLayout::rectOf(int cell) const
{
    const int index = cell - 1;
    return QRectF(area.left() + (index % width) * size, area.top() + (index / width) * size, size,
                  size);
}

int CCellLayout::cellAt(const QPointF &point) const
{
    if (size <= 0 || point.x() < area.left() || point.y() < area.top())
        return 0;
    const int column = int((point.x() - area.left()) / size);
    const int row = int((point.y() - area.top()) / size);
    const int cell = row * width + column + 1;
    return column < width && cell <= count ? cell : 0;
}
