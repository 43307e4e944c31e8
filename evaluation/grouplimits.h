// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// The limits of one object (group), in the unit of its thickness readings. A warning margin of
// 0 means none: a reading is then either below its minimum or ok. Who set them and when goes on
// the report beside them; the fields are initialised so that a brace list may leave them out.
struct GroupLimits {
    double nominal = 0.0;
    double minimum = 0.0;
    double warning = 0.0;
    QString setBy{};
    QDateTime setAt{};
};
