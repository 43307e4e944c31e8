// SPDX-License-Identifier: GPL-3.0-or-later
#include "ascan/abstractscale.h"

#include "ascan/pixelmath.h"

#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QPointF>

namespace
{

// Height of a digit as a share of the font height.
constexpr double kDigitHeight = 0.6;

QString labelText(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

QAbstractScale::QAbstractScale() : font(QStringLiteral("Arial"), 7, QFont::Normal, false) {}

QAbstractScale::~QAbstractScale() = default;

void QAbstractScale::draw(QPainter *) {}

void QAbstractScale::setTextLayout(int labelAlignment, int unitPosition)
{
    this->labelAlignment = labelAlignment;
    this->unitPosition = unitPosition;
}

int QAbstractScale::valueToPixel(double value, int origin, double pixelsPerUnit) const
{
    return int(roundHalfAway((value - minValue) * pixelsPerUnit + origin));
}

double QAbstractScale::pixelToValue(double pixel, int origin, double pixelsPerUnit) const
{
    if (pixelsPerUnit == 0.0)
        return 0.0;
    return (pixel - origin) / pixelsPerUnit + minValue;
}

void QAbstractScale::setRange(double minValue, double span)
{
    this->minValue = minValue;
    this->span = span;
}

void QAbstractScale::setTicks(double anchor, double majorStep, double minorStep,
                              const QString &unitText)
{
    tickAnchor = anchor;
    this->majorStep = majorStep;
    this->minorStep = minorStep;
    this->unitText = unitText;
}

bool QAbstractScale::makeAxis(bool horizontal, Axis *axis) const
{
    const int first = horizontal ? drawRect.left() : drawRect.top();
    const int last = horizontal ? drawRect.right() : drawRect.bottom();
    if (!(span > 0.0) || last < first || !(minorStep > 0.0) || !(majorStep > 0.0))
        return false;
    // The extent counts both edge pixels, so the end of the range lies one pixel beyond the far
    // edge.
    const double pixelsPerUnit = (last - first + 1) * direction / span;
    if (pixelsPerUnit == 0.0)
        return false;
    // Ticks grow away from the plot: from the edge that faces it.
    const bool facesFarEdge = position == (horizontal ? ScaleTop : ScaleLeft);
    const int farEdge = horizontal ? drawRect.bottom() : drawRect.right();
    const int nearEdge = horizontal ? drawRect.top() : drawRect.left();
    *axis = {horizontal,
             first,
             last,
             direction == 1 ? first : last,
             pixelsPerUnit,
             facesFarEdge ? farEdge : nearEdge,
             facesFarEdge ? -1 : 1};
    return true;
}

// Visits the ticks inside the range, first rising from the anchor, then falling below it; values
// are accumulated step by step. Whether a tick lies inside is decided by its pixel: a sum of
// steps can miss an end of the range by a rounding error and must not lose that tick.
// tick(value, rising) returns false to end its pass.
template <typename Tick>
void QAbstractScale::walkTicks(const Axis &axis, double step, Tick tick) const
{
    const double end = minValue + span;
    const auto pixel = [&](double v) { return valueToPixel(v, axis.origin, axis.pixelsPerUnit); };
    const auto beforeStart = [&](double v) { return v < minValue && pixel(v) != pixel(minValue); };
    const auto afterEnd = [&](double v) { return v > end && pixel(v) != pixel(end); };
    for (double v = tickAnchor; !afterEnd(v); v += step)
        if (!beforeStart(v) && !tick(v, true))
            break;
    for (double v = tickAnchor - step; !beforeStart(v); v -= step)
        if (!afterEnd(v) && !tick(v, false))
            break;
}

void QAbstractScale::drawTick(QPainter *painter, const Axis &axis, int pixel, int length) const
{
    const int end = axis.baseline + length;
    const QLine line = axis.horizontal ? QLine(pixel, axis.baseline, pixel, end)
                                       : QLine(axis.baseline, pixel, end, pixel);
    painter->drawLines(&line, 1);
}

void QAbstractScale::drawMinorTicks(QPainter *painter, const Axis &axis) const
{
    const int length = 2 * tickLength * axis.sign / 3;
    walkTicks(axis, minorStep, [&](double v, bool rising) {
        const int p = valueToPixel(v, axis.origin, axis.pixelsPerUnit);
        if (rising ? p > axis.last : p < axis.first)
            return false;
        drawTick(painter, axis, p, length);
        return true;
    });
}

void QAbstractScale::drawMajorTicks(QPainter *painter, const Axis &axis,
                                    const LabelDrawer &label) const
{
    walkTicks(axis, majorStep, [&](double v, bool) {
        const int p = valueToPixel(v, axis.origin, axis.pixelsPerUnit);
        drawTick(painter, axis, p, tickLength * axis.sign);
        label(labelText(v), p);
        return true;
    });
}

void QAbstractScale::drawHorizontal(QPainter *painter)
{
    Axis axis;
    if (!makeAxis(true, &axis))
        return;
    const QFontMetrics metrics = painter->fontMetrics();
    const int unitWidth = metrics.horizontalAdvance(unitText);
    const bool unitRight = unitPosition == 1;
    const int unitX = unitRight ? drawRect.right() - unitWidth - 3 : drawRect.left() + 3;
    const int lo = unitRight ? drawRect.left() : drawRect.left() + unitWidth + 6;
    const int hi = unitRight ? drawRect.right() - unitWidth - 6 : drawRect.right();
    drawMinorTicks(painter, axis);
    int y = (labelGap + tickLength + 1) * axis.sign + axis.baseline;
    if (axis.sign > 0)
        y = int(kDigitHeight * metrics.height() + y);
    // A label is centred on its tick unless that crosses a limit; then it ends or starts there.
    // A label wider than the room can be drawn both ways.
    drawMajorTicks(painter, axis, [&](const QString &text, int p) {
        const int h = metrics.horizontalAdvance(text) / 2;
        if (p + h <= hi && p - h >= lo)
            painter->drawText(QPointF(p - h, y), text);
        if (p + h > hi && p <= hi)
            painter->drawText(QPointF(p - 2 * h, y), text);
        if (p - h < lo && p >= lo)
            painter->drawText(QPointF(p, y), text);
    });
    painter->drawText(QPointF(unitX, y), unitText);
}

int QAbstractScale::verticalLabelOffset(int fontHeight) const
{
    switch (labelAlignment) {
    case 0:
        return -2;
    case 1:
        return int(fontHeight * kDigitHeight * 0.5);
    case 2:
        return int(fontHeight * kDigitHeight + 2.0);
    default:
        return 0;
    }
}

void QAbstractScale::drawVertical(QPainter *painter)
{
    Axis axis;
    if (!makeAxis(false, &axis))
        return;
    const QFontMetrics metrics = painter->fontMetrics();
    const int h6 = int(kDigitHeight * metrics.height());
    const bool unitBottom = direction == 1 && unitPosition == 1;
    const int top = drawRect.top();
    const int bottom = drawRect.bottom();
    const int unitY = unitBottom ? bottom - 3 : top + h6 + 3;
    // lo bounds the top of a label, hi its baseline.
    const int lo = unitBottom ? top : top + h6 + 6;
    const int hi = unitBottom ? bottom - h6 - 6 : bottom;
    drawMinorTicks(painter, axis);
    const int d = verticalLabelOffset(metrics.height());
    drawMajorTicks(painter, axis, [&](const QString &text, int p) {
        int x = axis.sign > 0 ? axis.baseline : axis.baseline - metrics.horizontalAdvance(text) - 2;
        if (labelAlignment == 1)
            x += tickLength * axis.sign + 2;
        if (p + d <= hi && p - h6 + d >= lo)
            painter->drawText(QPointF(x, p + d), text);
        if (p + d > hi && p - h6 / 2 + d <= hi)
            painter->drawText(QPointF(x, p - h6 / 2 + d), text);
        if (p - h6 + d < lo && p - h6 / 2 + d >= lo)
            painter->drawText(QPointF(x, p + h6 / 2 + d), text);
    });
    const int unitX = drawRect.right() - tickLength - metrics.horizontalAdvance(unitText) - 2;
    painter->drawText(QPointF(unitX, unitY), unitText);
}
