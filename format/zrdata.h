// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/measurementrecord.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// The decoded results of one tester. Group numbers and positions are 1-based, rows 0-based.
// Decoders append to what is there; callers clear() before a new decode.
class CZRData
{
public:
    static constexpr int kMaxGroups = 256;
    static constexpr int kHeaderSize = 11;

    virtual ~CZRData() = default;

    QString deviceType;
    int groupCount = 0;
    std::array<std::vector<MeasurementRecord>, kMaxGroups> groups;
    bool hasAScans = false;

    void clear();
    int cellCount(int group) const;
    bool record(int group, int position, MeasurementRecord *out) const;
    bool recordAt(int row, MeasurementRecord *out) const;
    int totalCount() const;
    void append(const MeasurementRecord &record);

    // A received dump: layout 3 from a device that speaks the extended protocol, otherwise the
    // layout its header names.
    bool decodeDump(const std::uint8_t *data, int size, bool extended);
    bool decodeHeaderedDump(const std::uint8_t *data, int size);
    bool decodeZR2604Dump(const std::uint8_t *data, int size);
    bool decodeM47Dump(const std::uint8_t *data, int size);
    bool decodeM47ExtendedDump(const std::uint8_t *data, int size);

    // Header tests used by decodeHeaderedDump; they need at least kHeaderSize bytes.
    static bool isZR2604Header(const std::uint8_t *data, int size);
    static bool isM47Header(const std::uint8_t *data, int size);
    // The bytes (however few) can still be the start of either header.
    static bool isHeaderStart(const std::uint8_t *data, int size);

private:
    template <typename ReadRecord>
    bool walkBlocks(const std::uint8_t *data, int size, int blockCount, int blockSize,
                    ReadRecord readRecord);
    bool finishDecode(bool hasContent, const char *type, bool withAScans);
};
