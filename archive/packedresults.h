// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/ascanentry.h"
#include "format/measurementrecord.h"

#include <QByteArray>
#include <QMap>

#include <vector>

class CZRData;

// A download's results in one value, as the archive keeps them beside their rows: reading the
// millions of an archive row by row costs a microsecond a row through the database driver, one
// value a download costs next to nothing. Each result, in row order, is three little-endian
// 32-bit integers: group × 65536 + cell, the raw value, and divisor × 16 + unit × 2 + whether it
// has an A-scan.
class CPackedResults
{
public:
    static constexpr int kBytesPerResult = 12;

    static QByteArray pack(const CZRData &data, const QMap<int, AScanEntry> &aScans);
    static QByteArray pack(const std::vector<MeasurementRecord> &records);
    // False when the bytes are not whole results.
    static bool unpack(const QByteArray &bytes, std::vector<MeasurementRecord> *records);
    // The record of the three values, as a row of the results gives them too.
    static MeasurementRecord recordOf(qint64 point, qint64 raw, qint64 kind);
};
