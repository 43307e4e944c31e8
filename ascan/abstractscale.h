// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include <functional>

class QPainter;

// A ruler beside a plot: minor and major ticks, a number at each major tick and a unit text at one
// end. Holds the numbers and draws with a painter it is handed; it knows nothing of widgets.
// Nothing at all is drawn while the span, the pixel extent or a step is not positive.
class QAbstractScale
{
public:
    enum Position { ScaleLeft = 0, ScaleTop = 1, ScaleRight = 2, ScaleBottom = 3 };

    QAbstractScale();
    virtual ~QAbstractScale();

    // Does nothing here; a widget decides which routine suits its side.
    virtual void draw(QPainter *painter);
    virtual void setTextLayout(int labelAlignment, int unitPosition);
    // For ScaleLeft and ScaleRight.
    virtual void drawVertical(QPainter *painter);
    // For ScaleTop and ScaleBottom.
    virtual void drawHorizontal(QPainter *painter);
    virtual int valueToPixel(double value, int origin, double pixelsPerUnit) const;
    virtual double pixelToValue(double pixel, int origin, double pixelsPerUnit) const;

    void setRange(double minValue, double span);
    void setTicks(double anchor, double majorStep, double minorStep, const QString &unitText);

    double minValue = 0.0;
    double span = 0.0;
    // Ticks lie on tickAnchor + k * step for whole k.
    double tickAnchor = 0.0;
    double majorStep = 0.0;
    double minorStep = 0.0;
    QRect drawRect{0, 0, 100, 25};
    int position = ScaleBottom;
    // 1: values grow from the left or top edge, -1: from the right or bottom edge.
    int direction = 1;
    QFont font;
    // Minor ticks are two thirds as long.
    int tickLength = 4;
    // Pixels between tick end and label row on horizontal scales.
    int labelGap = 2;
    // Vertical scales: 0 label above its tick, 1 beside it, 2 below it.
    int labelAlignment = 1;
    // 1: right end (horizontal) or bottom end (vertical, direction 1); otherwise the other end.
    int unitPosition = 1;
    QString unitText;

private:
    // One scale's pixel geometry along its axis; first and last are the edge pixels (inclusive).
    struct Axis {
        bool horizontal;
        int first;
        int last;
        int origin;
        double pixelsPerUnit;
        int baseline;
        int sign;
    };
    using LabelDrawer = std::function<void(const QString &text, int pixel)>;

    bool makeAxis(bool horizontal, Axis *axis) const;
    template <typename Tick> void walkTicks(const Axis &axis, double step, Tick tick) const;
    void drawTick(QPainter *painter, const Axis &axis, int pixel, int length) const;
    void drawMinorTicks(QPainter *painter, const Axis &axis) const;
    void drawMajorTicks(QPainter *painter, const Axis &axis, const LabelDrawer &label) const;
    int verticalLabelOffset(int fontHeight) const;
};
