// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/measurementrecord.h"

#include <QDateTime>

// What an engineer decided about a reading after looking at it.
enum class ReadingDecision : char { None, Verified, Rejected };

// One reading of a test point and the time of the download that holds it. Held by the million
// for an evaluation against years of surveys, so it keeps only what the figures need: the value
// as the tester gave it, its unit, and the decision on it.
struct PointReading {
    PointReading() = default;
    PointReading(const MeasurementRecord &record, const QDateTime &time,
                 ReadingDecision decision = ReadingDecision::None)
        : time(time), rawValue(record.rawValue), divisor(qint16(record.divisor)),
          unit(qint8(record.unit)), decision(decision)
    {
    }

    QDateTime time;
    qint32 rawValue = 0;
    qint16 divisor = 1;
    qint8 unit = UnitMillimetres;
    ReadingDecision decision = ReadingDecision::None;

    double value() const { return resultValue(record()); }
    // The reading as a record of the given point.
    MeasurementRecord record(int group = 0, int cell = 0) const
    {
        MeasurementRecord r;
        r.group = group;
        r.cell = cell;
        r.rawValue = rawValue;
        r.divisor = divisor;
        r.unit = unit;
        return r;
    }
};
