// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// Thickness to colour: red at the minimum (and below), through yellow halfway, to green at the
// nominal (and above).
class CThicknessScale
{
public:
    static const QColor kLow;
    static const QColor kMiddle;
    static const QColor kHigh;

    CThicknessScale(double low, double high);

    double low() const { return from; }
    double high() const { return to; }
    QColor colourOf(double value) const;

private:
    double from;
    double to;
};
