// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QRectF>

// Cells 1, 2, 3, ... laid out in rows of a given width from the top left, as square as the
// area allows.
class CCellLayout
{
public:
    CCellLayout(int width, int cellCount, const QRectF &area);

    // A width that makes a roughly square map when the survey gives none.
    static int squareWidth(int cellCount);

    int rows() const;
    double cellSize() const { return size; }
    QRectF rectOf(int cell) const;
    // The cell under a point, or 0.
    int cellAt(const QPointF &point) const;

private:
    int width;
    int count;
    QRectF area;
    double size;
};
