// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/measurementrecord.h"

#include <QDateTime>

// One earlier reading of a test point: when it was downloaded, and what it was.
struct ArchiveReading {
    QDateTime time;
    qint64 downloadId = 0;
    MeasurementRecord record;
};
