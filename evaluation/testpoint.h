// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHashFunctions>

// A place on the object that is measured survey after survey: the tester's group and cell.
struct TestPoint {
    int group = 0;
    int cell = 0;
};

inline bool operator==(const TestPoint &a, const TestPoint &b)
{
    return a.group == b.group && a.cell == b.cell;
}

inline size_t qHash(const TestPoint &point, size_t seed = 0)
{
    return qHashMulti(seed, point.group, point.cell);
}
