// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluationview/thicknessscale.h"

#include <algorithm>
#include <cmath>

namespace
{

QColor between(const QColor &a, const QColor &b, double f)
{
    const auto mix = [f](int x, int y) { return int(std::lround(x + (y - x) * f)); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

} // namespace

const QColor CThicknessScale::kLow(215, 48, 39);
const QColor CThicknessScale::kMiddle(254, 224, 139);
const QColor CThicknessScale::kHigh(26, 152, 80);

CThicknessScale::CThicknessScale(double low, double high) : from(low), to(high) {}

QColor CThicknessScale::colourOf(double value) const
{
    // A scale without a span (all readings equal, no limits) shows everything as sound.
    const double f = to > from ? std::clamp((value - from) / (to - from), 0.0, 1.0) : 1.0;
    return f < 0.5 ? between(kLow, kMiddle, 2 * f) : between(kMiddle, kHigh, 2 * f - 1);
}
