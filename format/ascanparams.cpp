// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/ascanparams.h"

namespace
{

double hundredths24(const std::uint8_t *p)
{
    const std::uint32_t v =
        std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
    return v * 0.01;
}

} // namespace

AScanParams parseAScanParams(const std::uint8_t *area)
{
    AScanParams p;
    p.mark1Position = area[0];
    p.mark1Level = area[1];
    p.mark2Position = area[2];
    p.mark2Level = area[3];
    p.mark1Shown = area[4] == 0;
    p.mark2Shown = area[5] == 0;
    p.gateStart = area[6];
    p.gateEnd = area[7];
    p.gateLevel = area[8];
    p.rangeStart = hundredths24(area + 9);
    p.rangeEnd = hundredths24(area + 12);
    return p;
}

bool parseAScanReply(const std::uint8_t *reply, int size, signed short *trace, AScanParams *params)
{
    if (reply == nullptr || size < kAScanReplySize)
        return false;
    if (trace != nullptr) {
        for (int i = 0; i < kAScanTraceLength; ++i)
            trace[i] = static_cast<signed short>(reply[i]);
    }
    if (params != nullptr)
        *params = parseAScanParams(reply + kAScanSampleBytes);
    return true;
}
