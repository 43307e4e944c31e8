// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/measurementrecord.h"

#include <QDateTime>

// What an engineer decided about a reading after looking at it.
enum class ReadingDecision : char { None, Verified, Rejected };

// One reading of a test point and the time of the download that holds it.
struct PointReading {
    MeasurementRecord record;
    QDateTime time;
    ReadingDecision decision = ReadingDecision::None;
};
