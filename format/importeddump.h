// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/measurementrecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

class CZRData;

// Readings taken from a spreadsheet, held as a dump of a layout of their own so that a kept file
// carries them like a tester's: the signature, the name of their source (16-bit length, UTF-8),
// which stands for the tester, then 10 bytes a reading: group and cell (16 bits each), the raw
// value (32 bits, signed), its decimals and its unit code. Little-endian throughout.
class CImportedDump
{
public:
    static const QByteArray kSignature;
    static constexpr int kMaxDecimals = 4;

    static QByteArray encode(const QString &source, const QList<MeasurementRecord> &records);
    // The bytes start with the signature; size must be at least CZRData::kHeaderSize.
    static bool isHeader(const std::uint8_t *data, int size);
    // Appends the readings to data and names the tester after the source; false when the dump
    // is cut or holds none.
    static bool decode(const std::uint8_t *data, int size, CZRData *into);
};
