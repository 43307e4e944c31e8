// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/packedresults.h"

#include "format/zrdata.h"

#include <QtEndian>

QByteArray CPackedResults::pack(const CZRData &data, const QMap<int, AScanEntry> &aScans)
{
    std::vector<MeasurementRecord> records(size_t(data.totalCount()));
    for (size_t row = 0; row < records.size(); ++row) {
        data.recordAt(int(row), &records[row]);
        records[row].hasAScan = aScans.contains(int(row));
    }
    return pack(records);
}

QByteArray CPackedResults::pack(const std::vector<MeasurementRecord> &records)
{
    QByteArray bytes(qsizetype(records.size()) * kBytesPerResult, Qt::Uninitialized);
    char *out = bytes.data();
    for (const MeasurementRecord &r : records) {
        const qint32 kind = r.divisor * 16 + r.unit * 2 + int(r.hasAScan);
        for (const qint32 value : {qint32(r.group * 65536 + r.cell), qint32(r.rawValue), kind}) {
            qToLittleEndian(value, out);
            out += sizeof value;
        }
    }
    return bytes;
}

bool CPackedResults::unpack(const QByteArray &bytes, std::vector<MeasurementRecord> *records)
{
    if (bytes.size() % kBytesPerResult != 0)
        return false;
    records->clear();
    records->reserve(size_t(bytes.size() / kBytesPerResult));
    for (const char *in = bytes.constData(); in != bytes.constEnd(); in += kBytesPerResult)
        records->push_back(recordOf(qFromLittleEndian<qint32>(in),
                                    qFromLittleEndian<qint32>(in + 4),
                                    qFromLittleEndian<qint32>(in + 8)));
    return true;
}

MeasurementRecord CPackedResults::recordOf(qint64 point, qint64 raw, qint64 kind)
{
    MeasurementRecord r;
    r.group = int(point >> 16);
    r.cell = int(point & 0xffff);
    r.rawValue = int(raw);
    r.divisor = int(kind >> 4);
    r.unit = int((kind >> 1) & 7);
    r.hasAScan = (kind & 1) != 0;
    return r;
}
