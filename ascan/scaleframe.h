// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ascan/abstractscale.h"

#include <QFrame>

// A frame that is also a scale: the scale fills the frame and is drawn on every paint. The
// frame's own border is never drawn. Its meta-object answers casts to "QScaleFrame" and, with
// the scale part, to "QAbstractScale" (moc adds the second base to qt_metacast).
class QScaleFrame : public QFrame, public QAbstractScale
{
    Q_OBJECT

public:
    explicit QScaleFrame(QWidget *parent = nullptr);

    void draw(QPainter *painter) override;

    // The step between labelled ticks of a depth scale spanning span mm (mm true) or inches:
    // the finest usual step that gives at most seven labels.
    static double depthStep(double span, bool mm);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};
