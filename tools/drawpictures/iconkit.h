// SPDX-License-Identifier: GPL-3.0-or-later
// Shared palette and painting steps, so every picture has the same light, outline and colours.
#pragma once

#include <QColor>
#include <QPainterPath>

class QPainter;

namespace iconkit
{

// A material: the lit colour at the top left, the shaded colour at the bottom right and the
// outline drawn around it.
struct Material {
    QColor light;
    QColor shade;
    QColor outline;
};

Material blue();
Material grey();
Material red();
Material paper();
Material screen();

// Fills a shape with its material lit from the top left and draws its outline.
void paintBody(QPainter &p, const QPainterPath &shape, const Material &m, qreal outlineWidth);

// A soft highlight over the upper part of a shape, as if it were slightly domed.
void paintGloss(QPainter &p, const QPainterPath &shape);

// A stroke drawn over a darker, wider one so that lines read on any ground.
void paintCable(QPainter &p, const QPainterPath &line, const Material &m, qreal width);

} // namespace iconkit
