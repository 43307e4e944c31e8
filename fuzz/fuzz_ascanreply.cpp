// SPDX-License-Identifier: GPL-3.0-or-later
// An A-scan reply of any length and content.
#include "format/ascanparams.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t length)
{
    const int size = static_cast<int>(std::min<std::size_t>(length, 1 << 16));
    signed short trace[kAScanTraceLength];
    AScanParams params;
    const bool ok = parseAScanReply(bytes, size, trace, &params);
    if (ok != (size >= kAScanReplySize))
        std::abort();
    if (!ok)
        return 0;
    for (int i = 0; i < kAScanTraceLength; ++i) {
        if (trace[i] != bytes[i])
            std::abort();
    }
    if (params.rangeStart < 0 || params.rangeEnd < 0 || params.gateLevel > 255)
        std::abort();
    return 0;
}
