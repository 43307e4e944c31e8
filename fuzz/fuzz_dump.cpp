// SPDX-License-Identifier: GPL-3.0-or-later
// Every dump decoder on the same bytes, then the table walk and the CSV export of the result.
#include "format/csvwriter.h"
#include "format/zrdata.h"

#include <QBuffer>

#include <algorithm>
#include <cstdlib>

namespace
{

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// What a decoder returned must be a table the rest of the program can walk.
void checkDecoded(const CZRData &data, bool ok)
{
    check(data.groupCount >= 0 && data.groupCount <= CZRData::kMaxGroups);
    int rows = 0;
    for (MeasurementRecord r; data.recordAt(rows, &r); ++rows)
        check(r.group >= 1 && r.group <= data.groupCount && r.cell != 0 && r.rawValue != 0);
    check(rows == data.totalCount());
    check(ok || rows == 0);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    CCsvWriter().write(out, data, CCsvWriter::allRows(data));
    check(out.data().count("\r\n") == rows + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t length)
{
    const int size = static_cast<int>(std::min<std::size_t>(length, 1 << 24));
    CZRData data;
    checkDecoded(data, data.decodeZR2604Dump(bytes, size));
    data.clear();
    checkDecoded(data, data.decodeM47Dump(bytes, size));
    data.clear();
    checkDecoded(data, data.decodeM47ExtendedDump(bytes, size));
    for (const bool extended : {false, true}) {
        data.clear();
        checkDecoded(data, data.decodeDump(bytes, size, extended));
    }
    return 0;
}
