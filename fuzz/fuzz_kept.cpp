// SPDX-License-Identifier: GPL-3.0-or-later
// The kept-download reader on any bytes: a file it accepts must decode into a table it can walk,
// and writing it again must give a file that reads back the same.
#include "format/keptdownload.h"
#include "format/zrdata.h"

#include <cstdlib>

namespace
{

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void readAndRewrite(const QByteArray &bytes, bool bareExtended)
{
    CKeptDownload kept;
    QString problem;
    const bool read = kept.fromBytes(bytes, bareExtended, &problem);
    check(read == problem.isEmpty());
    if (!read)
        return;
    CZRData data;
    QMap<int, AScanEntry> aScans;
    const bool decoded = kept.decode(&data, &aScans, &problem);
    check(!decoded || data.totalCount() > 0);
    for (auto entry = aScans.cbegin(); entry != aScans.cend(); ++entry)
        check(entry.key() < data.totalCount() && entry->trace.size() == kAScanTraceLength);
    if (kept.bareDump)
        return;
    CKeptDownload again;
    check(again.fromBytes(kept.toBytes(), bareExtended, &problem));
    check(again.dump == kept.dump && again.aScans.size() == kept.aScans.size() &&
          again.extended == kept.extended && again.port == kept.port);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t length)
{
    const QByteArray input(reinterpret_cast<const char *>(bytes), qsizetype(length));
    readAndRewrite(input, false);
    readAndRewrite(input, true);
    return 0;
}
