// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/importeddump.h"

#include "format/zrdata.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

// As long as a tester's header, so every header test reads the same number of bytes.
const QByteArray CImportedDump::kSignature = QByteArrayLiteral("CLXREADINGS");

namespace
{

constexpr int kRecordSize = 10;
constexpr int kDivisors[CImportedDump::kMaxDecimals + 1] = {1, 10, 100, 1000, 10000};

template <typename T> void putLe(QByteArray *out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out->append(bytes, sizeof(T));
}

} // namespace

QByteArray CImportedDump::encode(const QString &source, const QList<MeasurementRecord> &records)
{
    const QByteArray name = source.toUtf8().left(0xffff);
    QByteArray out = kSignature;
    out.reserve(kSignature.size() + 2 + name.size() + records.size() * kRecordSize);
    putLe(&out, quint16(name.size()));
    out += name;
    for (const MeasurementRecord &r : records) {
        putLe(&out, quint16(r.group));
        putLe(&out, quint16(r.cell));
        putLe(&out, qint32(r.rawValue));
        putLe(&out, quint8(resultDecimals(r)));
        putLe(&out, quint8(r.unit));
    }
    return out;
}

bool CImportedDump::isHeader(const std::uint8_t *data, int size)
{
    return size >= kSignature.size() &&
           std::memcmp(data, kSignature.constData(), std::size_t(kSignature.size())) == 0;
}

bool CImportedDump::decode(const std::uint8_t *data, int size, CZRData *into)
{
    const int nameAt = int(kSignature.size()) + 2;
    if (!isHeader(data, size) || size < nameAt)
        return false;
    const int nameSize = int(qFromLittleEndian<quint16>(data + kSignature.size()));
    const int first = nameAt + nameSize;
    if (size < first + kRecordSize || (size - first) % kRecordSize != 0)
        return false;
    for (const std::uint8_t *p = data + first; p < data + size; p += kRecordSize) {
        MeasurementRecord r;
        r.group = int(qFromLittleEndian<quint16>(p));
        r.cell = int(qFromLittleEndian<quint16>(p + 2));
        r.rawValue = qFromLittleEndian<qint32>(p + 4);
        r.divisor = kDivisors[std::min<int>(p[8], kMaxDecimals)];
        r.unit = std::min<int>(p[9], kUnitCount - 1);
        // A zero is no reading, as in a tester's own memory.
        if (r.group >= 1 && r.group <= CZRData::kMaxGroups && r.cell >= 1 && r.rawValue != 0)
            into->append(r);
    }
    into->deviceType = QString::fromUtf8(reinterpret_cast<const char *>(data + nameAt), nameSize);
    into->hasAScans = false;
    return into->totalCount() > 0;
}
