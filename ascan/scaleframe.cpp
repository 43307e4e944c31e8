// SPDX-License-Identifier: GPL-3.0-or-later
#include "ascan/scaleframe.h"

#include <cmath>

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

double QScaleFrame::depthStep(double span, bool mm)
{
    static const double coarseSteps[] = {0.1, 0.5, 1, 5, 10, 25, 50, 100};
    static const double fineSteps[] = {0.01, 0.05, 0.1, 0.5, 1, 5, 10, 25, 50};
    const auto pick = [span](const auto &steps) {
        for (double s : steps) {
            if (std::trunc(span / s) <= 7)
                return s;
        }
        return std::end(steps)[-1]; // none gives few enough labels: the coarsest
    };
    return mm ? pick(fineSteps) : pick(coarseSteps);
}
