// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/zrdata.h"

#include "format/importeddump.h"

#include <algorithm>
#include <cstring>

namespace
{

constexpr int kRecordsPerBlock = 32;
constexpr int kShortRecordSize = 8;
constexpr int kLongRecordSize = 32;
constexpr int kZR2604BlockSize = 257;
constexpr int kM47BlockSize = 256;

int le16(const std::uint8_t *p)
{
    return p[0] | p[1] << 8;
}

bool isEmptySlot(const MeasurementRecord &r)
{
    return r.group == 0 || r.cell == 0 || r.rawValue == 0;
}

// Layout 1 record: kind byte and tenths flag decide divisor, mode and unit.
MeasurementRecord readZR2604Record(const std::uint8_t *p)
{
    MeasurementRecord r;
    r.group = p[0];
    r.cell = p[1];
    r.rawValue = (p[3] & 0x7F) * 256 + p[2];
    const bool tenths = (p[3] & 0x80) != 0;
    if (p[5] == 0) {
        r.divisor = 10;
        r.mode = 2;
        r.unit = UnitMicroseconds;
    } else {
        r.divisor = tenths ? 10 : 1;
        r.mode = tenths ? 1 : 0;
        r.unit = tenths ? UnitMicroseconds : UnitMetresPerSecond;
    }
    return r;
}

// Layouts 2 and 3 share the first 8 bytes of a record: group, cell, value, fine and inch flags.
MeasurementRecord readM47Record(const std::uint8_t *p)
{
    MeasurementRecord r;
    r.group = le16(p);
    r.cell = le16(p + 2);
    r.rawValue = le16(p + 4);
    const bool fine = p[6] != 0;
    const bool inches = p[7] != 0;
    r.unit = inches ? UnitInches : UnitMillimetres;
    r.divisor = (inches ? 100 : 10) * (fine ? 10 : 1);
    r.mode = 3;
    return r;
}

} // namespace

void CZRData::clear()
{
    for (auto &g : groups)
        g.clear(); // keeps the capacity for the next decode
    groupCount = 0;
}

int CZRData::cellCount(int group) const
{
    if (group < 1 || group > groupCount)
        return 0;
    return int(groups[group - 1].size());
}

bool CZRData::record(int group, int position, MeasurementRecord *out) const
{
    if (position < 1 || position > cellCount(group))
        return false;
    if (out != nullptr)
        *out = groups[group - 1][position - 1];
    return true;
}

bool CZRData::recordAt(int row, MeasurementRecord *out) const
{
    if (row < 0)
        return false;
    for (int g = 1; g <= groupCount; ++g) {
        const int n = cellCount(g);
        if (row < n)
            return record(g, row + 1, out);
        row -= n;
    }
    return false;
}

int CZRData::totalCount() const
{
    int total = 0;
    for (int g = 1; g <= groupCount; ++g)
        total += cellCount(g);
    return total;
}

void CZRData::append(const MeasurementRecord &record)
{
    groups[record.group - 1].push_back(record);
    if (record.group > groupCount)
        groupCount = record.group;
}

namespace
{

const std::uint8_t kZR2604Signature[] = {'O', 'R', 'B', 'E', 'X', 0x02, 0x06, 0x00, 0x04, 0x01};
const std::uint8_t kM47Signature[] = {'O', 'R', 'B', 'E', 'X', 'M', '4', '7', 'T'};

// The bytes agree with the signature as far as both go.
template <std::size_t N>
bool agreesWith(const std::uint8_t (&signature)[N], const std::uint8_t *data, int size)
{
    return std::memcmp(data, signature, std::min<std::size_t>(N, std::size_t(size))) == 0;
}

} // namespace

bool CZRData::isZR2604Header(const std::uint8_t *data, int size)
{
    return size >= kHeaderSize && agreesWith(kZR2604Signature, data, size);
}

bool CZRData::isM47Header(const std::uint8_t *data, int size)
{
    return size >= kHeaderSize && agreesWith(kM47Signature, data, size);
}

bool CZRData::isHeaderStart(const std::uint8_t *data, int size)
{
    return size > 0 &&
           (agreesWith(kZR2604Signature, data, size) || agreesWith(kM47Signature, data, size));
}

bool CZRData::decodeDump(const std::uint8_t *data, int size, bool extended)
{
    return extended ? decodeM47ExtendedDump(data, size) : decodeHeaderedDump(data, size);
}

bool CZRData::decodeHeaderedDump(const std::uint8_t *data, int size)
{
    if (data == nullptr || size < kHeaderSize)
        return false;
    if (isZR2604Header(data, size))
        return decodeZR2604Dump(data, size);
    if (isM47Header(data, size))
        return decodeM47Dump(data, size);
    if (CImportedDump::isHeader(data, size))
        return CImportedDump::decode(data, size, this);
    return false;
}

template <typename ReadRecord>
bool CZRData::walkBlocks(const std::uint8_t *data, int size, int blockCount, int blockSize,
                         ReadRecord readRecord)
{
    bool hasContent = false;
    for (int b = 0; b < blockCount; ++b) {
        const long long blockStart = kHeaderSize + static_cast<long long>(blockSize) * b;
        if (blockStart + kShortRecordSize > size)
            break; // neither this block nor a later one holds a whole record
        // Whole records only: a truncated dump keeps what arrived complete.
        for (int i = 0; i < kRecordsPerBlock; ++i) {
            const long long offset = blockStart + kShortRecordSize * i;
            if (offset + kShortRecordSize > size)
                break;
            const MeasurementRecord r = readRecord(data + offset);
            if (isEmptySlot(r))
                continue;
            hasContent = true;
            if (r.group <= kMaxGroups)
                append(r);
        }
    }
    return hasContent;
}

bool CZRData::finishDecode(bool hasContent, const char *type, bool withAScans)
{
    if (!hasContent)
        return false;
    deviceType = QString::fromLatin1(type);
    hasAScans = withAScans;
    return true;
}

bool CZRData::decodeZR2604Dump(const std::uint8_t *data, int size)
{
    if (data == nullptr || size < kHeaderSize)
        return false;
    const int blockCount = static_cast<std::int8_t>(data[10]);
    const bool content = walkBlocks(data, size, blockCount, kZR2604BlockSize, readZR2604Record);
    return finishDecode(content, "ZR2604", false);
}

bool CZRData::decodeM47Dump(const std::uint8_t *data, int size)
{
    if (data == nullptr || size < kHeaderSize)
        return false;
    const int blockCount = data[9] << 8 | data[10];
    const bool content = walkBlocks(data, size, blockCount, kM47BlockSize, readM47Record);
    return finishDecode(content, "M47xx", false);
}

bool CZRData::decodeM47ExtendedDump(const std::uint8_t *data, int size)
{
    if (data == nullptr || size < kHeaderSize + kLongRecordSize)
        return false;
    const int count = (size - kHeaderSize) / kLongRecordSize;
    bool hasContent = false;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t *p = data + kHeaderSize + kLongRecordSize * i;
        MeasurementRecord r = readM47Record(p);
        if (isEmptySlot(r))
            continue;
        hasContent = true;
        r.hasAScan = p[15] != 0;
        if (r.group <= kMaxGroups)
            append(r);
    }
    return finishDecode(hasContent, "M47xx", true);
}
