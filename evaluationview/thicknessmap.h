// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluationview/celllayout.h"
#include "evaluationview/thicknessscale.h"

#include <QList>
#include <QString>

class CCsvWriter;
class CEvaluation;
class QPainter;

// One reading on the map: its cell, its value and the text written into it.
struct MapCell {
    int cell = 0;
    double value = 0.0;
    QString text;
};

// The thickness map of one group: each cell with a reading filled with its colour on the scale
// and its value written in when it fits, the thinnest cell framed, cells without a reading left
// blank. It paints on any device, so a window and the report draw the same map.
class CThicknessMap
{
public:
    // A width of 0 lays the cells out as a roughly square map.
    CThicknessMap(const QList<MapCell> &cells, const CThicknessScale &scale, int width);

    // The group's readings in its thickness unit, on the scale from its minimum to its nominal,
    // or from its thinnest to its thickest reading when it has no limits.
    static CThicknessMap ofGroup(const CEvaluation &evaluation, int group, int width,
                                 const CCsvWriter &format);

    bool isEmpty() const { return cells.isEmpty(); }
    int thinnestCell() const { return thinnest; }
    int rowWidth() const { return width; }
    const CThicknessScale &scale() const { return colours; }
    CCellLayout layoutIn(const QRectF &area) const;
    void paint(QPainter &painter, const QRectF &area) const;

private:
    QList<MapCell> cells;
    CThicknessScale colours;
    int width;
    int highestCell = 0;
    int thinnest = 0;
};
