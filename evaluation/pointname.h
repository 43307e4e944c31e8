// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the plant calls a test point ("CML-07") and where it is on the object.
struct PointName {
    QString name;
    QString location;

    // The cell as the windows and the report show it: its number, then the name if it has one
    // ("7 CML-07").
    QString labelOf(int cell) const
    {
        return name.isEmpty() ? QString::number(cell) : QStringLiteral("%1 %2").arg(cell).arg(name);
    }
};
