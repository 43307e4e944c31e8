// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluationview/thicknessmap.h"

#include "evaluation/evaluation.h"
#include "format/csvwriter.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace
{

// Text smaller than this many pixels is not worth writing.
constexpr double kSmallestText = 5.0;

CThicknessScale scaleOf(const CEvaluation &evaluation, int group, const QList<MapCell> &cells)
{
    if (const GroupLimits *limits = evaluation.limitsOf(group))
        return CThicknessScale(limits->minimum, limits->nominal);
    const auto [low, high] =
        std::minmax_element(cells.cbegin(), cells.cend(),
                            [](const MapCell &a, const MapCell &b) { return a.value < b.value; });
    return cells.isEmpty() ? CThicknessScale(0, 0) : CThicknessScale(low->value, high->value);
}

} // namespace

CThicknessMap::CThicknessMap(const QList<MapCell> &cells, const CThicknessScale &scale, int width)
    : cells(cells), colours(scale), width(width)
{
    double thinnestValue = 0.0;
    for (const MapCell &c : cells) {
        highestCell = std::max(highestCell, c.cell);
        if (thinnest == 0 || c.value < thinnestValue) {
            thinnest = c.cell;
            thinnestValue = c.value;
        }
    }
    if (this->width <= 0)
        this->width = CCellLayout::squareWidth(highestCell);
}

CThicknessMap CThicknessMap::ofGroup(const CEvaluation &evaluation, int group, int width,
                                     const CCsvWriter &format)
{
    QList<MapCell> cells;
    for (const PointEvaluation &p : evaluation.points()) {
        if (p.record.group == group && p.record.unit == evaluation.unitOf(group))
            cells.append(
                MapCell{p.record.cell, resultValue(p.record), format.resultText(p.record)});
    }
    return CThicknessMap(cells, scaleOf(evaluation, group, cells), width);
}

CCellLayout CThicknessMap::layoutIn(const QRectF &area) const
{
    return CCellLayout(width, highestCell, area);
}

void CThicknessMap::paint(QPainter &painter, const QRectF &area) const
{
    const CCellLayout layout = layoutIn(area);
    const double size = layout.cellSize();
    // A hairline of background between cells when they are large enough to show it.
    const double gap = size >= 6 ? 1.0 : 0.0;
    QFont font = painter.font();
    const bool writeValues = size * 0.3 >= kSmallestText;
    if (writeValues)
        font.setPixelSize(int(size * 0.3));
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, painter.device());
    for (const MapCell &c : cells) {
        const QRectF r = layout.rectOf(c.cell).adjusted(0, 0, -gap, -gap);
        painter.fillRect(r, colours.colourOf(c.value));
        if (writeValues && metrics.horizontalAdvance(c.text) <= r.width() * 0.9)
            painter.drawText(r, Qt::AlignCenter, c.text);
    }
    if (thinnest != 0) {
        const double frame = std::max(1.0, size / 12);
        const QRectF r = layout.rectOf(thinnest).adjusted(0, 0, -gap, -gap);
        painter.setPen(QPen(Qt::black, frame, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(frame / 2, frame / 2, -frame / 2, -frame / 2));
    }
    painter.restore();
}
