// SPDX-License-Identifier: GPL-3.0-or-later
#include "iconkit.h"

#include <QLinearGradient>
#include <QPainter>

namespace iconkit
{

Material blue()
{
    return {QColor(108, 170, 240), QColor(26, 84, 170), QColor(14, 46, 100)};
}

Material grey()
{
    return {QColor(240, 242, 245), QColor(150, 158, 168), QColor(58, 64, 74)};
}

Material red()
{
    return {QColor(246, 96, 76), QColor(196, 36, 24), QColor(104, 20, 12)};
}

Material paper()
{
    return {QColor(255, 255, 255), QColor(218, 226, 236), QColor(58, 64, 74)};
}

Material screen()
{
    return {QColor(40, 58, 48), QColor(10, 20, 14), QColor(30, 34, 40)};
}

void paintBody(QPainter &p, const QPainterPath &shape, const Material &m, qreal outlineWidth)
{
    const QRectF box = shape.boundingRect();
    // Light falls from the top left: the gradient runs mostly downwards, a little to the right.
    QLinearGradient fill(box.topLeft(), QPointF(box.left() + box.width() * 0.35, box.bottom()));
    fill.setColorAt(0, m.light);
    fill.setColorAt(1, m.shade);
    p.save();
    p.setPen(QPen(m.outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(shape);
    p.restore();
}

void paintGloss(QPainter &p, const QPainterPath &shape)
{
    const QRectF box = shape.boundingRect();
    const QRectF glow(box.left() - box.width() * 0.1, box.top() - box.height() * 0.45,
                      box.width() * 1.2, box.height() * 0.95);
    QLinearGradient fade(glow.topLeft(), glow.bottomLeft());
    fade.setColorAt(0.45, QColor(255, 255, 255, 130));
    fade.setColorAt(1, QColor(255, 255, 255, 0));
    QPainterPath highlight;
    highlight.addEllipse(glow);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(fade);
    p.setClipPath(shape);
    p.drawPath(highlight);
    p.restore();
}

void paintCable(QPainter &p, const QPainterPath &line, const Material &m, qreal width)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(m.outline, width + 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(line);
    p.setPen(QPen(m.shade, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(line);
    p.setPen(QPen(m.light, width * 0.35, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.translate(-width * 0.2, -width * 0.2);
    p.drawPath(line);
    p.restore();
}

} // namespace iconkit
