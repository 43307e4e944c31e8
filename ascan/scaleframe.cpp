#include "scaleframe.h"

#include <QPainter>

QScaleFrame::QScaleFrame(QWidget *parent) : QFrame(parent)
{
    position = ScaleLeft;
    setRange(0.0, 100.0);
    setTicks(0.0, 20.0, 10.0, QStringLiteral("mm"));
    if (width() * height() > 0)
        drawRect = rect();
}

void QScaleFrame::draw(QPainter *painter)
{
    painter->setFont(QAbstractScale::font);
    if (position == ScaleTop || position == ScaleBottom)
        drawHorizontal(painter);
    else
        drawVertical(painter);
}

void QScaleFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    draw(&painter);
}

void QScaleFrame::resizeEvent(QResizeEvent *)
{
    drawRect = rect();
}
