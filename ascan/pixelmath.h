// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

// Rounds half away from zero (2.5 -> 3, -2.5 -> -3), the rounding used for scale ticks and grid
// lines; qRound would take -2.5 to -2.
inline double roundHalfAway(double x)
{
    return x >= 0.0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5);
}
