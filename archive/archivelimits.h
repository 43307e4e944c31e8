// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// The limits of one object (group) as set at a time, in the unit of its thickness readings.
struct ArchiveLimits {
    int group = 0;
    double nominal = 0.0;
    double minimum = 0.0;
    double warning = 0.0;
    QDateTime from;
};
